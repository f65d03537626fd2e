// Row kernels of the picture filters that work on whole rows of bytes: the 3 x 3 blur, the mix
// of a row toward a line of colours (Lazer) and the overlay of one row on another (Motion Blur).
// Each has a plain per-byte form, which states the arithmetic, and a fast form that on x86-64
// does the bulk of a row 16 bytes at a time with SSE2, as far as the level in force
// (core/kit/simd.h) allows, and gives the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/kit/pixel_math.h"

namespace ombrix::pic {

// ---- Blur ------------------------------------------------------------------------------------------

// One row of a 3 x 3 box blur over a picture `width` pixels wide: every pixel of `out` becomes
// the truncated mean of its neighbours in the rows above, middle and below (above or below null
// at the picture's top or bottom edge), over the neighbours inside the picture. `sums` holds
// 3 * width + 16 scratch words. `out` may be `middle` itself.
void BlurRow(const uint8_t* above, const uint8_t* middle, const uint8_t* below, int32_t width, uint16_t* sums,
             uint8_t* out);
// The same, neighbour by neighbour.
void BlurRowPlain(const uint8_t* above, const uint8_t* middle, const uint8_t* below, int32_t width, uint8_t* out);

// ---- Mix toward a line -------------------------------------------------------------------------------

// Every byte c of `p` moved toward the byte l of `line` at the same place:
// (c * 256 + k * (l - c)) >> 8 (arithmetic shift), kept as a byte.
void MixRowToward(uint8_t* p, const uint8_t* line, size_t n, int32_t k);
void MixRowTowardPlain(uint8_t* p, const uint8_t* line, size_t n, int32_t k);

// ---- Gradient along a line -------------------------------------------------------------------------

// truncate(slope * t + a) with slope = (b - a) / span, all in extended precision (Lazer Morph).
inline int32_t GradientValuePlain(long double slope, int32_t a, int32_t t) { return kit::TruncateToInt(slope * t + a); }
// The same from `near` = double(slope) where it decides: for |slope * t| <= 256 and |a| <= 255
// the double value lies within 1e-12 of the extended one, so where it is farther than 1e-6 from
// every integer both truncate alike; near an integer the extended value decides.
inline int32_t GradientValue(long double slope, double near, int32_t a, int32_t t) {
  const double v = near * t + a;
  const int64_t truncated = int64_t(v);
  const double rest = v - double(truncated);  // in (-1, 1), with the sign of v
  const double distance = rest < 0 ? -rest : rest;
  if (distance > 1e-6 && distance < 1 - 1e-6) return int32_t(truncated);
  return GradientValuePlain(slope, a, t);
}

// ---- Mirrored exchange ---------------------------------------------------------------------------

// Exchanges `count` pixels going right from `a` with as many going left from `b` (a's i-th pixel
// with the pixel 3 * i bytes before b), the exchange of a horizontal flip. The two runs must not
// overlap. The fast form reverses 16 pixels at a time with byte shuffles where the processor has
// SSSE3.
void SwapMirroredPixels(uint8_t* a, uint8_t* b, int64_t count);
void SwapMirroredPixelsPlain(uint8_t* a, uint8_t* b, int64_t count);

// ---- Overlay ------------------------------------------------------------------------------------------

// The overlay of one factor (see OverlayChannel) for whole rows. Its value for (c, s) always has
// the form base + T(d): s + T(c - s) for a factor >= 0, c + T(s - c) below 0, T being a truncated
// product. The rows are computed from T; when one integer multiplier m gives
// |T(d)| = (|d| * m) >> 16 for every |d| (checked entry by entry), from m 16 bytes at a time.
class OverlayRows {
 public:
  explicit OverlayRows(float factor);
  // Overlays the n bytes of `source` on those of `target`.
  void Row(uint8_t* target, const uint8_t* source, size_t n) const;
  // The value for one byte pair, from T.
  uint8_t Channel(uint8_t c, uint8_t s) const;
  bool HasMultiplier() const { return has_multiplier_; }

 private:
  bool source_based_ = true;  // factor >= 0: the base is the source byte
  int16_t step_[511] = {};    // T(d) at d + 255, as the low byte's signed value
  bool has_multiplier_ = false;
  uint16_t multiplier_ = 0;
};

// Overlays the w x h rectangle of `source` rows whose top-left is (sx, sy) onto `target` rows at
// (tx, ty), wherever both positions lie inside their width x height pictures.
void OverlayRectangle(uint8_t* const* target, uint8_t* const* source, int32_t width, int32_t height, int64_t tx,
                      int64_t ty, int64_t sx, int64_t sy, int64_t w, int64_t h, const OverlayRows& overlay);

}  // namespace ombrix::pic
