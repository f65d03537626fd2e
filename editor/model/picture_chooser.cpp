// The picture-open dialog's chooser.
#include "editor/model/picture_chooser.h"

#include "core/platform/paths.h"
#include "gui/dialogs.h"

namespace ombrix::editor {

FileOpenChooser PictureChooser(std::string initial_name) {
  return [initial_name = std::move(initial_name)](const FileOpenRequest& request) {
    gui::FileDialogRequest file;
    file.title = request.title;
    file.filter = request.filter;
    file.start_path = request.initial_directory;
    if (!initial_name.empty())
      file.start_path = platform::IsAbsolutePath(initial_name.c_str())
                            ? initial_name
                            : platform::JoinPath(request.initial_directory, initial_name);
    return gui::CurrentDialogs().ChooseFile(file);
  };
}

}  // namespace ombrix::editor
