// Asking for a replacement of a missing file.
#include "editor/model/missing_file.h"

#include <cstdio>

#include "editor/model/dialog_folders.h"

namespace ombrix::editor {

int ReplaceMissingFile(char* text, const std::string& content_directory, gui::Dialogs& dialogs) {
  if (text == nullptr) return 0;
  char question[kScriptPathBytes + 128];
  std::snprintf(question, sizeof question, "Cannot find file\n\"%s\".\nDo you want to replace it with a new file.",
                text);
  if (dialogs.ShowMessage({question, "Ombrix - Warning", true}) != 1) return 0;
  gui::FileDialogRequest request;
  request.title = "Select A New File";
  request.filter = "All Files (*.*)|*.*||";
  request.start_path = DialogStartPath(kErrorFolderValue, content_directory, text);
  const auto chosen = dialogs.ChooseFile(request);
  // A path that does not fit the script's text field would be cut into another file's name; the
  // missing name stays instead.
  if (!chosen || chosen->size() >= kScriptPathBytes) return 0;
  std::snprintf(text, kScriptPathBytes, "%s", chosen->c_str());
  RememberDialogFolder(kErrorFolderValue, *chosen);
  return 1;
}

MissingFileHandler MissingFileAsker(const std::string& content_directory, gui::Dialogs& dialogs) {
  return [content_directory, &dialogs](char* text) { return ReplaceMissingFile(text, content_directory, dialogs); };
}

}  // namespace ombrix::editor
