// The negative of a picture, for the mask buttons that turn a mask around.
#pragma once

#include "core/picture/picture.h"

namespace ombrix::editor {

// Every colour byte of every pixel becomes 255 minus its value, in place; the row padding and
// the extra plane stay. An empty picture is not changed.
void InvertPicture(Picture& picture);

}  // namespace ombrix::editor
