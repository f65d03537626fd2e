// Reading and remembering dialog folders.
#include "editor/model/dialog_folders.h"

#include "core/platform/paths.h"
#include "core/settings/settings.h"

namespace ombrix::editor {

std::string DialogFolder(const char* value_name, const std::string& content_directory) {
  return ReadSetting(nullptr, value_name, content_directory.c_str());
}

std::string DialogStartPath(const char* value_name, const std::string& content_directory,
                            const std::string& initial_name) {
  const std::string folder = DialogFolder(value_name, content_directory);
  if (initial_name.empty()) return folder;
  if (platform::IsAbsolutePath(initial_name.c_str())) return initial_name;
  return platform::JoinPath(folder, initial_name);
}

void RememberDialogFolder(const char* value_name, const std::string& chosen_path) {
  WriteSettingText(nullptr, value_name, platform::DirectoryPart(chosen_path).c_str());
}

}  // namespace ombrix::editor
