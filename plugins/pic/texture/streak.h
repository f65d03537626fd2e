// Streaks (Wind, Range Wind, Light Wind): a line of pixels ending at a seed pixel fades from the
// picture into the seed's colour. A plain path in extended precision and a fast one that gives
// the same bytes from integer arithmetic and a short list of exceptions per streak length.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>

#include "core/kit/pixel_math.h"

namespace ombrix::pic {

enum class StreakDirection { kHorizontal, kVertical, kDiagonalRight, kDiagonalLeft };

// The change of one channel at step t (0 at the far end) of a streak of `steps` pixels, the
// seed's channel being d above the pixel's: truncate(d / steps * t), in extended precision.
inline int32_t StreakChange(int32_t d, int64_t steps, int64_t t) {
  return kit::TruncateToInt(static_cast<long double>(d) / steps * t);
}

// StreakChange for one streak length s (2 .. 65535) without extended arithmetic.
//
// For a = |d| the exact quotient a * t / s lies at least 1 / s from a whole number unless s
// divides a * t, while the two roundings of the extended computation move it by less than
// 2^-54; so truncation gives floor(a * t / s) everywhere except at some multiples, where the
// rounded quotient a / s lies below the true one and the product rounds to just under the whole
// number: the result is then one less. Those (t, a) are found once per length and listed by row
// t as 256-bit sets of a. A negative d mirrors a positive one exactly (round to nearest is
// symmetric), so the change is sign(d) * that magnitude.
class StreakRamp {
 public:
  struct ShortRow {
    int32_t t;
    uint8_t hit[511];  // [d + 255]: 1 where the magnitude for |d| is floor(|d| * t / s) - 1
    bool Hits(int32_t d) const { return hit[d + 255] != 0; }
  };

  // False when memory for the list cannot be had. `scratch` holds at least s - 1 numbers.
  bool Build(int32_t s, int32_t* scratch);

  int32_t steps() const { return s_; }
  // For s <= 256, per byte b of a horizontal streak (channel b % 3 of the pixel at t = b / 3)
  // w = ceil(t * 2^16 / s), and 0 beyond the streak up to a whole group of eight and one more
  // group: (a * w) >> 16 is floor(a * t / s) for every a <= 255, since the excess
  // a * (w - t * 2^16 / s) / 2^16 stays below 255 / 2^16 < 1 / s. Null for longer streaks.
  const uint16_t* byte_weights() const { return weights_.get(); }
  // floor(n / s) for n below 2^24: the rounded-up reciprocal gives the quotient or one more.
  int32_t Quotient(uint32_t n) const {
    uint32_t q = uint32_t((uint64_t(n) * reciprocal_) >> 32);
    q -= uint32_t(q * uint32_t(s_) > n);
    return int32_t(q);
  }
  // The change at step t for difference d, exceptions included.
  int32_t Change(int32_t d, int32_t t) const;
  // floor(a * t / s) signed like d, without the exceptions (the fast loops mend those apart).
  int32_t FloorChange(int32_t d, int32_t t) const {
    const int32_t sign = d >> 31;
    const int32_t q = Quotient(uint32_t(((d ^ sign) - sign) * t));
    return (q ^ sign) - sign;
  }
  const ShortRow* short_rows() const { return rows_.get(); }
  int32_t short_row_count() const { return row_count_; }

 private:
  int32_t s_ = 0;
  uint64_t reciprocal_ = 0;  // ceil(2^32 / s)
  std::unique_ptr<uint16_t[]> weights_;
  std::unique_ptr<ShortRow[]> rows_;
  int32_t row_count_ = 0;
};

// A loop that draws a horizontal streak of ramp.steps() pixels from `first` up to the seed, with
// `room` bytes of the row from the seed on, for a ramp with byte weights. The seed is read
// before anything is stored.
using HorizontalStreakKernel = void (*)(const StreakRamp& ramp, uint8_t* first, const uint8_t* seed, size_t room);
// The loop for the level in force (core/kit/simd.h): sixteen channels at a time at AVX2, eight
// at SSE2, one at the plain level. All give the same bytes.
HorizontalStreakKernel HorizontalKernel();

// The ramps of one apply call, built as the streak lengths first occur.
class StreakRamps {
 public:
  // Room for lengths up to `longest` (capped at 65535), and the loop for horizontal streaks at
  // the level in force. False when memory cannot be had.
  bool Reset(int64_t longest);
  // The loop for horizontal streaks with byte weights.
  HorizontalStreakKernel horizontal_kernel() const { return kernel_; }
  // The ramp for `steps` (2 .. longest); null when it cannot be built.
  const StreakRamp* For(int64_t steps) {
    if (steps < 2 || steps > longest_) return nullptr;
    const StreakRamp* ramp = ramps_[steps].get();
    return ramp != nullptr ? ramp : Build(steps);
  }

 private:
  const StreakRamp* Build(int64_t steps);
  std::unique_ptr<std::unique_ptr<StreakRamp>[]> ramps_;
  std::unique_ptr<int32_t[]> scratch_;
  int64_t longest_ = 0;
  HorizontalStreakKernel kernel_ = nullptr;
};

// The pixels a streak covers: with `length` pixels asked for a seed at (x, y), the number of
// steps after the limits of the picture (row 0, column 0, column width - 1); 0 draws nothing.
inline int64_t StreakSteps(int32_t width, int64_t x, int64_t y, int64_t length, StreakDirection direction) {
  if (length < 1) return 0;
  int64_t steps = 0;
  switch (direction) {
    case StreakDirection::kHorizontal:
      steps = std::min(length, x);
      break;
    case StreakDirection::kVertical:
      steps = std::min(length, y);
      break;
    case StreakDirection::kDiagonalRight:
      steps = std::min({length, y, width - 1 - x});
      break;
    case StreakDirection::kDiagonalLeft:
      steps = std::min({length, y, x});
      break;
  }
  return steps < 1 ? 0 : steps;
}

// Draws the streak of `length` pixels ending at the seed (x, y) of the picture `rows`, which is
// `width` pixels wide: the pixel at step t from the far end becomes c + StreakChange(seed - c,
// steps, t) per channel. Horizontal streaks cover columns x - steps .. x - 1 of row y, vertical
// ones rows y - steps .. y - 1 of column x, diagonal ones step one row up and one column right
// or left per pixel; the seed keeps its colour.
void DrawStreakPlain(uint8_t* const* rows, int32_t width, int64_t x, int64_t y, int64_t length,
                     StreakDirection direction);

// The streak of `steps` (2 or more) pixels through its ramp; horizontal streaks with byte
// weights through `horizontal`.
void DrawRampStreak(uint8_t* const* rows, int32_t width, int64_t x, int64_t y, int64_t steps, StreakDirection direction,
                    const StreakRamp& ramp, HorizontalStreakKernel horizontal);
// DrawStreak below for every streak but the horizontal ones with byte weights.
void DrawStreakThroughRamps(uint8_t* const* rows, int32_t width, int64_t x, int64_t y, int64_t length,
                            StreakDirection direction, StreakRamps& ramps);
// The same bytes as DrawStreakPlain through `ramps` (the plain path when a ramp cannot be had).
// Horizontal streaks, the most common, go straight to the loop the ramps chose.
inline void DrawStreak(uint8_t* const* rows, int32_t width, int64_t x, int64_t y, int64_t length,
                       StreakDirection direction, StreakRamps& ramps) {
  if (direction == StreakDirection::kHorizontal) {
    const int64_t steps = std::min(length, x);
    // One step is the far end alone, whose change is 0.
    if (steps < 2) return;
    const StreakRamp* ramp = ramps.For(steps);
    if (ramp != nullptr && ramp->byte_weights() != nullptr) {
      // The seed is the pixel after the streak; the row goes on for width - x pixels from it.
      uint8_t* const seed = rows[y] + 3 * size_t(x);
      ramps.horizontal_kernel()(*ramp, seed - 3 * size_t(steps), seed, 3 * size_t(width - x));
      return;
    }
  }
  DrawStreakThroughRamps(rows, width, x, y, length, direction, ramps);
}

}  // namespace ombrix::pic
