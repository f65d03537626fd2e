// Inverting a picture's colours.
#include "editor/model/picture_invert.h"

namespace ombrix::editor {

void InvertPicture(Picture& picture) {
  if (picture.IsEmpty()) return;
  const int bytes = 3 * picture.Width();
  for (int y = 0; y < picture.Height(); ++y) {
    uint8_t* row = picture.Row(y);
    for (int i = 0; i < bytes; ++i) row[i] = uint8_t(255 - row[i]);
  }
}

}  // namespace ombrix::editor
