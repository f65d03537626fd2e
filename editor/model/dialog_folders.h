// The folders the editor's file dialogs remember, each in a value of its own directly under the
// product key ("PluginOpenDir", "ScriptOpenDir", "ErrorOpenDir", ...).
#pragma once

#include <string>

namespace ombrix::editor {

// The folder a dialog opens in: its value, or the content directory when the value is missing.
std::string DialogFolder(const char* value_name, const std::string& content_directory);
// Where a dialog opens: its folder joined with the initial file name, or the initial name
// alone when it is an absolute path; the folder alone when there is no initial name.
std::string DialogStartPath(const char* value_name, const std::string& content_directory,
                            const std::string& initial_name);
// Stores the folder part of a chosen path in the dialog's value.
void RememberDialogFolder(const char* value_name, const std::string& chosen_path);

}  // namespace ombrix::editor
