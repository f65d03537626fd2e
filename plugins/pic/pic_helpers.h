// Helpers the picture filters share: the host's pictures, background modes, zone fill, mixing
// and overlay, the ellipse span mask, angle factors, random draws, picture resizing and scaling,
// and the smoothing of a disc's edge.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "core/kit/random.h"
#include "core/kit/samplers.h"
#include "core/picture/picture.h"

namespace ombrix::pic {

using kit::Zone;

// The two pictures of the apply call in progress, with their row tables. width and height are
// the INPUT picture's own (16-bit) size, which edge tests use.
struct HostPictures {
  Picture* input = nullptr;
  Picture* work = nullptr;
  uint8_t* const* in = nullptr;
  uint8_t* const* out = nullptr;
  int32_t width = 0;
  int32_t height = 0;

  bool InsideInput(int64_t x, int64_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};
// nullopt when the host gives no INPUT or WORK picture, or they are smaller than the host's
// picture size (zones are clipped against that size).
std::optional<HostPictures> Pictures();

// The apply routine of a picture filter: `Body` runs with the clipped zone and the two pictures;
// a call without a zone or without the pictures returns 1 without it. Both go by value, as in
// ApplyInZone.
template <int32_t (*Body)(const ApplyContext& context, Zone zone, HostPictures pictures)>
int32_t ApplyWithPictures(ApplyContext* context) {
  const std::optional<Zone> zone = kit::ZoneOf(context);
  if (!zone) return 1;
  const std::optional<HostPictures> pictures = Pictures();
  if (!pictures) return 1;
  return Body(*context, *zone, *pictures);
}

inline uint8_t* PixelAt(uint8_t* const* rows, int64_t x, int64_t y) { return rows[y] + 3 * size_t(x); }
inline void CopyPixel(uint8_t* to, const uint8_t* from) {
  to[0] = from[0];
  to[1] = from[1];
  to[2] = from[2];
}
inline void SwapPixels(uint8_t* a, uint8_t* b) {
  // All six bytes are loaded before any store, so that no store has to be assumed to change them.
  const uint8_t a0 = a[0], a1 = a[1], a2 = a[2], b0 = b[0], b1 = b[1], b2 = b[2];
  a[0] = b0, a[1] = b1, a[2] = b2;
  b[0] = a0, b[1] = a1, b[2] = a2;
}

// Exchanges the n bytes at a and b (not overlapping), 16 at a time.
inline void SwapBytes(uint8_t* a, uint8_t* b, size_t n) {
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    uint8_t ta[16], tb[16];
    std::memcpy(ta, a + i, 16);
    std::memcpy(tb, b + i, 16);
    std::memcpy(a + i, tb, 16);
    std::memcpy(b + i, ta, 16);
  }
  for (; i < n; ++i) {
    const uint8_t t = a[i];
    a[i] = b[i];
    b[i] = t;
  }
}

// A colour parameter as a blue-green-red pixel; black when it cannot be read.
struct Bgr {
  uint8_t c[3] = {0, 0, 0};
  const uint8_t* data() const { return c; }
};
Bgr ColourParameter(const ApplyContext& context, int32_t slot);

// Zeroed scratch storage for one apply call, never empty. Memory that cannot be had ends the
// call at the module's entry, which then reports the filter as failed.
template <typename T>
std::unique_ptr<T[]> Scratch(size_t count) {
  return std::make_unique<T[]>(count == 0 ? 1 : count);
}

// Sets the info line of the host's progress display.
void SetInfoText(const char* text);
// Progress start and step, as the row walk reports them.
inline void StartProgress(int32_t first, int32_t last) { kit::detail::StartProgress(first, last); }
inline bool Continue(int32_t n) { return kit::detail::ContinueAtRow(n); }

// A walk over the columns i = first, first + step, ... < last that reports progress with i at
// every multiple of 10, done in bands of columns so that each band can go row by row. A band's
// progress steps are made before its pixels; when one asks to stop, the columns before it are
// still done and the walk gives 0, so the pictures end as a column-by-column walk would leave
// them. band(from, to) handles the columns of the walk from `from` up to `to` (excluded).
template <typename BandFunction>
int32_t WalkColumnBands(int64_t first, int64_t last, int64_t step, BandFunction&& band) {
  constexpr int64_t kColumns = 256;
  const int64_t span = step >= kColumns ? step : kColumns / step * step;
  for (int64_t start = first; start < last;) {
    const int64_t end = std::min(last, start + span);
    for (int64_t i = start; i < end; i += step)
      if (i % 10 == 0 && !Continue(int32_t(i))) {
        band(start, i);
        return 0;
      }
    band(start, end);
    start = end;
  }
  return 1;
}

// ---- Background modes ------------------------------------------------------------------------

// What a sample takes where its neighbours lie outside the picture.
enum class Background { kClear, kKeep, kRepeat, kDrawEdges };

// The colour at (u, v) of `picture`: wrapped under Repeat, else bilinear with `outside` for the
// neighbours outside the picture (the Clear Color, the pixel itself, ...).
inline void SampleWithBackground(const Picture& picture, float u, float v, Background mode, const uint8_t* outside,
                                 uint8_t out[3]) {
  if (mode == Background::kRepeat)
    kit::SampleWrapped(picture, u, v, out);
  else
    kit::SampleBilinear(picture, u, v, outside, out);
}

// ---- Fill, mix, overlay ------------------------------------------------------------------------

// Fills the zone of `rows` with one colour: the first row pixel by pixel, then copies of it.
void FillZone(uint8_t* const* rows, const Zone& zone, const uint8_t bgr[3]);

// c moved toward s by k / 256: (c * 256 + k * (s - c)) >> 8, arithmetic shift, kept as a byte.
inline uint8_t MixChannel(int32_t c, int32_t s, int32_t k) { return uint8_t((c * 256 + k * (s - c)) >> 8); }
inline void MixPixel(uint8_t* c, const uint8_t* s, int32_t k) {
  c[0] = MixChannel(c[0], s[0], k);
  c[1] = MixChannel(c[1], s[1], k);
  c[2] = MixChannel(c[2], s[2], k);
}
// The mixing level of a percentage: truncate(level * 0.01 * 255).
int32_t LevelFromPercent(float percent);

// The overlay of a source colour s on a picture colour c with factor f: for f < 0,
// c + truncate(-f * (s - c) * 0.003921569), else s + truncate(f * (c - s) * 0.003921569).
uint8_t OverlayChannel(int32_t c, int32_t s, float f);
// The same for one factor as a table over the difference of the two colours: f times a
// difference is exact in extended precision, so the truncated change depends on the difference
// alone. Kept modulo 256, as the sum is kept as a byte.
struct OverlayRamp {
  uint8_t change[511];  // [difference + 255]
  bool toward_source;   // f < 0: c + change[s - c]; else s + change[c - s]
  bool copies;          // every change is 0 and the source is taken as it is
  void Fill(float factor);
  uint8_t Apply(int32_t c, int32_t s) const {
    return toward_source ? uint8_t(c + change[s - c + 255]) : uint8_t(s + change[c - s + 255]);
  }
};
// The same as a table over (c, s) for one factor, so pixel loops do look-ups only.
struct OverlayTable {
  uint8_t value[256][256];  // [c][s]
  void Fill(float factor);
  void Apply(uint8_t* c, const uint8_t* s) const {
    c[0] = value[c[0]][s[0]];
    c[1] = value[c[1]][s[1]];
    c[2] = value[c[2]][s[2]];
  }
};

// ---- Span mask of an ellipse -------------------------------------------------------------------

// Per row the leftmost and rightmost covered column of a closed outline, and the covered rows.
class SpanMask {
 public:
  // A table for rows 0 .. rows (inclusive); false when it cannot be allocated.
  bool Reset(int32_t rows);
  // Marks the points of the integer line from (xa, ya) to (xb, yb): one point per row when the
  // line is steeper than 45 degrees, else one per column, both ends included.
  void AddLine(int32_t xa, int32_t ya, int32_t xb, int32_t yb);
  // The ellipse of centre (ex, ey) and radii r1, r2 traced as 360 vertices.
  void AddEllipse(int32_t ex, int32_t ey, int32_t r1, int32_t r2);
  bool Inside(int64_t x, int64_t y) const;

 private:
  void Mark(int64_t x, int64_t y);
  std::unique_ptr<int32_t[]> left_;
  std::unique_ptr<int32_t[]> right_;
  int32_t rows_ = 0;
  int32_t top_ = 0;
  int32_t bottom_ = -1;
};

// ---- Angles ------------------------------------------------------------------------------------

// Degrees to radians with pi taken as 3.1415, in double and in single precision; the ellipse
// outline takes pi as 3.14.
inline constexpr double kRadiansPerDegree = 0.01745277777777778;
inline constexpr float kRadiansPerDegreeSingle = 0.017452778f;
inline constexpr double kOutlineRadiansPerDegree = 0.017444444444444446;

// ---- Random draws ------------------------------------------------------------------------------

// A signed offset below m drawn magnitude first: rand() mod m (no draw when m < 1, giving 0),
// then one draw whose odd value negates it.
inline int32_t OffsetMagnitudeFirst(int32_t m) {
  int32_t magnitude = m >= 1 ? kit::Random() % m : 0;
  if (kit::Random() % 2 != 0) magnitude = -magnitude;
  return magnitude;
}
// A signed offset below m drawn sign first: one draw, even meaning negative; then rand() mod m
// when m >= 1.
inline int32_t OffsetSignFirst(int32_t m) {
  const bool negative = kit::Random() % 2 == 0;
  const int32_t magnitude = m >= 1 ? kit::Random() % m : 0;
  return negative ? -magnitude : magnitude;
}
// One chance in n: always when n < 1, else when rand() mod |n| is 0.
inline bool OneChanceIn(int32_t n) {
  if (n < 1) return true;
  return kit::Random() % n == 0;
}

// The same draws for a bound fixed over a whole apply call, with the remainder taken without a
// division (kit::DrawModulus).
class ChanceIn {
 public:
  explicit ChanceIn(int32_t n) : always_(n < 1), modulus_(n) {}
  bool Draw() const { return always_ || modulus_.Of(kit::Random()) == 0; }

 private:
  bool always_;
  kit::DrawModulus modulus_;
};
class MagnitudeFirstOffset {
 public:
  explicit MagnitudeFirstOffset(int32_t m) : draws_(m >= 1), modulus_(m) {}
  int32_t Draw() const {
    int32_t magnitude = draws_ ? modulus_.Of(kit::Random()) : 0;
    if ((kit::Random() & 1) != 0) magnitude = -magnitude;
    return magnitude;
  }

 private:
  bool draws_;
  kit::DrawModulus modulus_;
};

// ---- Resizing and scaling ------------------------------------------------------------------------

// Resizes `picture` to width x height in two passes, the height first ("Computing
// extrapolations...") and then the width ("Resizing picture..."), each only when that size
// changes; narrowing averages, widening interpolates. A pass stopped through the progress
// callback, or short of memory, restores the picture as it was and gives false.
bool ResizePicture(Picture& picture, int32_t width, int32_t height);
// Scales `picture` to width x height taking the nearest source pixel ("Scaling picture...").
// False, the picture unchanged, when stopped or short of memory.
bool ScalePicture(Picture& picture, int32_t width, int32_t height);
// A new picture holding the zone of `rows`. False when it cannot be allocated.
bool CutOut(uint8_t* const* rows, const Zone& zone, Picture& out);

// Replaces every pixel whose squared distance e from (cx, cy) satisfies r*r*7/8 < e <= r*r + 2
// by the integer mean of its 3 x 3 neighbourhood (neighbours outside the picture left out),
// reading the picture as it is being smoothed, rows top to bottom, pixels left to right.
void SmoothDiscEdge(uint8_t* const* rows, int32_t width, int32_t height, int32_t cx, int32_t cy, int32_t r);

}  // namespace ombrix::pic
