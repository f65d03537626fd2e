// Mask pictures through the picture import.
#include "filter/mask_loader.h"

#include "core/import/picture_import.h"

namespace ombrix::engine {

Picture* LoadMaskPicture(const char* path) { return LoadPicturePixels(path).release(); }

void ReleaseMask(MaskState& mask) {
  delete mask.picture;
  mask = MaskState();
}

}  // namespace ombrix::engine
