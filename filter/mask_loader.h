// Reading an entry's X-Alpha picture for the render engine.
#pragma once

#include "core/picture/picture.h"
#include "filter/mask_merge.h"

namespace ombrix::engine {

// The picture at path (Targa first, else through the converter), or null. The caller owns it.
Picture* LoadMaskPicture(const char* path);
// Frees the mask picture; the scales go back to tiling.
void ReleaseMask(MaskState& mask);

}  // namespace ombrix::engine
