// The generated pictures the benchmark measures on, and the files made from them.
#pragma once

#include <cstdint>
#include <string>

#include "core/picture/picture.h"

namespace ombrix::bench {

// A picture with smooth gradients in all three channels, a checker pattern and (with noise) a
// little noise from a fixed generator, so that every channel takes many values and
// colour-dependent branches vary. Frames written as PNG leave the noise out, as rendered frames
// are mostly smooth and noise would make the encoder's time swamp the rest.
// False when the picture cannot be created.
bool MakeBenchPicture(Picture& picture, int width, int height, uint32_t seed, bool noise = true);

// A binary PPM (P6) file of the picture, red first, for the peer tools.
bool WritePpmFile(const Picture& picture, const std::string& path);

}  // namespace ombrix::bench
