// Pictures on the screen: a picture buffer as a toolkit image or bitmap.
#pragma once

#include <wx/bitmap.h>
#include <wx/image.h>

#include "core/picture/picture.h"

namespace ombrix::gui {

// The picture's pixels as an image of the same size; an invalid image for an empty picture.
wxImage PictureImage(const Picture& picture);
// The same as a bitmap; an invalid bitmap for an empty picture.
wxBitmap PictureBitmap(const Picture& picture);

}  // namespace ombrix::gui
