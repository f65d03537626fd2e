// Pictures on the screen: a picture buffer as a toolkit bitmap.
#pragma once

#include <wx/bitmap.h>

#include "core/picture/picture.h"

namespace ombrix::gui {

// The picture's pixels as a bitmap of the same size; an invalid bitmap for an empty picture.
wxBitmap PictureBitmap(const Picture& picture);

}  // namespace ombrix::gui
