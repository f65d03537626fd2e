// The preview's Save.
#include "editor/model/picture_save.h"

#include "core/import/picture_writers.h"
#include "editor/model/dialog_folders.h"

namespace ombrix::editor {

gui::FileDialogRequest SavePictureRequest(const std::string& content_directory) {
  gui::FileDialogRequest request;
  request.mode = gui::FileDialogRequest::Mode::kSave;
  request.title = "Save Picture";
  request.default_extension = "BMP";
  request.filter = "BMP - Windows Bitmap (*.Bmp)|*.Bmp||";
  request.start_path = DialogFolder(kPictureSaveFolder, content_directory);
  request.must_exist = false;
  request.confirm_overwrite = true;
  return request;
}

bool SavePictureAs(Picture& picture, const std::string& path) {
  RememberDialogFolder(kPictureSaveFolder, path);
  if (!WriteBitmapFile(picture, path.c_str())) return false;
  picture.SetSourceText(path.c_str());
  return true;
}

}  // namespace ombrix::editor
