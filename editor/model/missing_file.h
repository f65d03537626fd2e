// What the editor does for a file that a script names and that cannot be found: it asks whether
// to choose a replacement, and lets the user choose one.
#pragma once

#include <string>

#include "core/script/effect_script.h"
#include "gui/dialogs.h"

namespace ombrix::editor {

inline constexpr const char* kErrorFolderValue = "ErrorOpenDir";

// Asks "Cannot find file\n"<text>".\nDo you want to replace it with a new file." (caption
// "Ombrix - Warning"); on "Yes" opens "Select A New File" at the missing path (joined with the
// "ErrorOpenDir" folder when it is not absolute). A chosen file replaces the text (cut to the
// buffer) and its folder is remembered; the result is 1 then, else 0 with the text unchanged.
int ReplaceMissingFile(char* text, const std::string& content_directory, gui::Dialogs& dialogs);

// ReplaceMissingFile bound to a content directory and the dialogs, for the script reader.
MissingFileHandler MissingFileAsker(const std::string& content_directory, gui::Dialogs& dialogs);

}  // namespace ombrix::editor
