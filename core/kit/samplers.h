// Sampling a picture at a fractional point: the bilinear sampler with a chosen colour for
// neighbours outside the picture, the wrap-around sampler, and the alpha samplers of the extra
// plane. All take the point in single precision; callers convert their coordinates first.
#pragma once

#include <cstdint>

#include "core/picture/picture.h"

namespace ombrix::kit {

// Colour at (u, v): the four neighbours around the true floor of the point, each outside the
// picture (coordinates compared as unsigned 16-bit values) replaced by `outside`; per channel
// the mean of both interpolation orders in single precision, truncated to a byte.
void SampleBilinear(const Picture& picture, float u, float v, const uint8_t outside[3], uint8_t out[3]);
// The same with every neighbour wrapped into the picture, so none is ever outside.
void SampleWrapped(const Picture& picture, float u, float v, uint8_t out[3]);

// What an alpha sample takes for a neighbour outside the extra plane.
enum class AlphaOutside { kZero, kOpaque, kWrap };
// Alpha at (u, v) over the picture's extra plane (which must be present).
uint8_t SampleAlpha(const Picture& picture, float u, float v, AlphaOutside outside);

// Brings v into 0..size-1 by adding or subtracting size (size > 0).
inline int WrapInto(int v, int size) {
  if (v >= 0 && v < size) return v;  // the common case, without a division
  const int r = v % size;
  return r < 0 ? r + size : r;
}

}  // namespace ombrix::kit
