// The X-Alpha mask of a chain entry and the merge of a filter's result (WORK) back into the
// chain's picture (INPUT): inside the zone only, through the mask, then by the alpha level.
#pragma once

#include <cstdint>

#include "core/picture/picture.h"
#include "core/records.h"

namespace ombrix::engine {

// The current entry's mask picture with its scale factors: mask size / picture size when the
// entry stretches its mask, -1 and -1 when it tiles it.
struct MaskState {
  Picture* picture = nullptr;
  float scale_x = -1.0f;
  float scale_y = -1.0f;
};

// Sets the scales for an entry whose mask is loaded; -1, -1 for a tiled mask.
void SetMaskScale(MaskState& mask, const XAlphaRecord& xalpha, const Picture& input);
// Grey level (blue + green + red) / 3 of the mask pixel covering (x, y); 0 without a mask.
uint8_t MaskGrey(const MaskState& mask, int x, int y);
// Inverts every byte of every pixel (the entry's negative flag).
void InvertMask(Picture& mask);

// Merges the zone of WORK into INPUT (mask stage when mask_present and type is 1 or 2, then
// the alpha stage), then refreshes WORK from INPUT for the next filter.
//
// Two paths give identical bytes: the plain one follows the steps as written (mask stage over
// the zone, alpha stage over the zone, then a full copy of INPUT into WORK) and runs at the plain
// level (core/kit/simd.h); the fast one works row by row with the vector kernels, writes the
// merged zone into both pictures and copies only what lies outside the zone. Tests compare them.
void Merge(Picture& input, Picture& work, const MaskState& mask, bool mask_present, int type, float alpha, int x0,
           int y0, int x1, int y1);

}  // namespace ombrix::engine
