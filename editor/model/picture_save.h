// Saving the picture the preview shows as a bitmap file: the dialog it asks with and the file.
#pragma once

#include <string>

#include "core/picture/picture.h"
#include "gui/dialogs.h"

namespace ombrix::editor {

inline constexpr const char* kPictureSaveFolder = "PictureSaveDir";

// The save dialog: "Save Picture", extension "BMP", the bitmap filter, starting in the folder
// last saved to (the content directory before the first save).
gui::FileDialogRequest SavePictureRequest(const std::string& content_directory);
// Stores the chosen folder, writes the picture there as a 24-bit bitmap file (replacing a file
// there atomically) and names the picture after the path. False when the file could not be
// written; the picture's name then stays as it was.
bool SavePictureAs(Picture& picture, const std::string& path);

}  // namespace ombrix::editor
