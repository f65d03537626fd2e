// Converting blue-green-red rows into a toolkit image.
#include "gui/picture_bitmap.h"

namespace ombrix::gui {

wxImage PictureImage(const Picture& picture) {
  if (picture.IsEmpty() || picture.Width() <= 0 || picture.Height() <= 0) return wxImage();
  wxImage image(picture.Width(), picture.Height(), false);
  unsigned char* to = image.GetData();
  for (int y = 0; y < picture.Height(); ++y) {
    const uint8_t* from = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x, from += 3, to += 3) {
      to[0] = from[2];
      to[1] = from[1];
      to[2] = from[0];
    }
  }
  return image;
}

wxBitmap PictureBitmap(const Picture& picture) {
  const wxImage image = PictureImage(picture);
  return image.IsOk() ? wxBitmap(image) : wxBitmap();
}

}  // namespace ombrix::gui
