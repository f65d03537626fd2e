// The test picture's trip through the clipboard store: an editor started on an instance's
// script keeps its test picture there, in the registered format "OmbrixTemporaryClipboard"
// (a packed DIB), so the next start from the same instance finds it.
#pragma once

#include <memory>

#include "core/picture/picture.h"

namespace ombrix::editor {

inline constexpr const char* kClipboardPictureSource = "Test Picture";
inline constexpr const char* kClipboardPictureType = "Zorvex Memory File";

// The picture kept in the clipboard format, left there; null when there is none or it does not
// read as a bitmap. It is named "Test Picture" with the type "Zorvex Memory File".
std::unique_ptr<Picture> TakeClipboardTestPicture();
// Replaces the picture kept in the clipboard format. False when the clipboard cannot be opened
// or the picture is empty.
bool KeepTestPictureOnClipboard(const Picture& picture);
// Removes the kept picture; the clipboard's other formats stay.
void ForgetClipboardTestPicture();

}  // namespace ombrix::editor
