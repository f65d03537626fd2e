// Sampling a picture at a fractional point: the bilinear sampler over a picture view, with a
// chosen colour for neighbours outside the picture or with every neighbour wrapped into it (the
// wrap-around sampler), and the alpha samplers of the extra plane. All take the point in single
// precision; callers convert their coordinates first.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/kit/simd.h"
#include "core/picture/picture.h"

#if OMBRIX_SIMD_X86
#include <emmintrin.h>
#endif

namespace ombrix::kit {

// Brings v into 0..size-1 by adding or subtracting size; 0 for an empty size.
inline int WrapInto(int v, int size) {
  if (v >= 0 && v < size) return v;  // the common case, without a division
  if (size <= 0) return 0;
  const int r = v % size;
  return r < 0 ? r + size : r;
}

// A picture's row table, size and extra plane, copied out of the picture so that a loop storing
// bytes does not reload them after every store.
struct PictureView {
  const uint8_t* const* rows = nullptr;  // row 0 the top row
  int32_t width = 0;
  int32_t height = 0;
  const uint8_t* plane = nullptr;  // width bytes a row, top row first, or null

  PictureView() = default;
  explicit PictureView(const Picture& p) : rows(p.rows), width(p.Width()), height(p.Height()), plane(p.ExtraPlane()) {}
};

// The sampler's arithmetic, also for samplers that walk a picture a row at a time.

// Points this far away have no neighbour inside any picture; treating them so also keeps the
// floor inside the int range (and NaN out of it).
inline constexpr float kFarAway = 1.0e9f;

// The true floor of a value below kFarAway in magnitude: truncation toward zero, one less for a
// negative value with a fraction. Both the integer and its float are exact there (a value with a
// fraction is below 2^23), so this equals std::floor without the library call.
inline int FloorToInt(float u) {
  const int i = int(u);
  return float(i) > u ? i - 1 : i;
}

namespace detail {
inline float Lerp(float a, float b, float t) { return a + (b - a) * t; }
}  // namespace detail

// The mean of both interpolation orders of the values c00 (column xa, row ya), c10, c01 and c11
// at the fractions fx, fy, in single precision, truncated to a byte.
inline uint8_t Blend(float c00, float c10, float c01, float c11, float fx, float fy) {
  using detail::Lerp;
  const float by_rows = Lerp(Lerp(c00, c01, fy), Lerp(c10, c11, fy), fx);
  const float by_columns = Lerp(Lerp(c00, c10, fx), Lerp(c01, c11, fx), fy);
  return uint8_t(int(0.5f * (by_rows + by_columns)));
}

namespace detail {

// The neighbour at the true floor of a point and the point's fractions beyond it.
struct Corners {
  int xa, ya;
  float fx, fy;
  bool far;
};

inline Corners Locate(float u, float v) {
  Corners c{};
  if (!(std::fabs(u) < kFarAway && std::fabs(v) < kFarAway)) {
    c.far = true;
    return c;
  }
  c.xa = FloorToInt(u);
  c.ya = FloorToInt(v);
  c.fx = u - float(c.xa);
  c.fy = v - float(c.ya);
  return c;
}

inline void BlendPixelPlain(const uint8_t* p00, const uint8_t* p10, const uint8_t* p01, const uint8_t* p11, float fx,
                            float fy, uint8_t out[3]) {
  uint8_t result[3];
  for (int ch = 0; ch < 3; ++ch) result[ch] = Blend(p00[ch], p10[ch], p01[ch], p11[ch], fx, fy);
  out[0] = result[0], out[1] = result[1], out[2] = result[2];
}

#if OMBRIX_SIMD_X86
// One pixel's three channels as floats in the low lanes (the fourth lane 0). Reads exactly three
// bytes, so a pixel at the very end of a picture block or a three-byte colour is safe.
inline __m128 LoadPixel(const uint8_t* p) {
  const __m128i zero = _mm_setzero_si128();
  const int bits = int(p[0]) | int(p[1]) << 8 | int(p[2]) << 16;
  const __m128i words = _mm_unpacklo_epi8(_mm_cvtsi32_si128(bits), zero);
  return _mm_cvtepi32_ps(_mm_unpacklo_epi16(words, zero));
}

inline __m128 LerpLanes(__m128 a, __m128 b, __m128 t) { return _mm_add_ps(a, _mm_mul_ps(_mm_sub_ps(b, a), t)); }

// Blend for the three channels at once: the same single-precision operations in the same order
// per lane, so every lane is bit for bit the scalar result; the byte is the low byte of the
// truncated integer, as the scalar cast takes it. The fourth lane is never stored.
inline void BlendLanes(__m128 c00, __m128 c10, __m128 c01, __m128 c11, float fx, float fy, uint8_t out[3]) {
  const __m128 tx = _mm_set1_ps(fx), ty = _mm_set1_ps(fy);
  const __m128 by_rows = LerpLanes(LerpLanes(c00, c01, ty), LerpLanes(c10, c11, ty), tx);
  const __m128 by_columns = LerpLanes(LerpLanes(c00, c10, tx), LerpLanes(c01, c11, tx), ty);
  __m128i n = _mm_cvttps_epi32(_mm_mul_ps(_mm_set1_ps(0.5f), _mm_add_ps(by_rows, by_columns)));
  n = _mm_and_si128(n, _mm_set1_epi32(0xFF));
  n = _mm_packus_epi16(_mm_packs_epi32(n, n), n);
  const int bits = _mm_cvtsi128_si32(n);
  out[0] = uint8_t(bits);
  out[1] = uint8_t(bits >> 8);
  out[2] = uint8_t(bits >> 16);
}

// Four bytes at p, read without alignment.
inline __m128i LoadFour(const uint8_t* p) {
  int32_t bits;
  std::memcpy(&bits, p, 4);
  return _mm_cvtsi32_si128(bits);
}

// The blend of two horizontal neighbours in each of two rows: `a` and `b` point at the left pixel
// of each pair. The six bytes of a pair are read as two overlapping four-byte words (the second
// shifted down by a byte), so nothing beyond the pair is read.
inline void BlendPairs(const uint8_t* a, const uint8_t* b, float fx, float fy, uint8_t out[3]) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i row_a = _mm_unpacklo_epi32(LoadFour(a), _mm_srli_epi32(LoadFour(a + 2), 8));
  const __m128i row_b = _mm_unpacklo_epi32(LoadFour(b), _mm_srli_epi32(LoadFour(b + 2), 8));
  const __m128i words_a = _mm_unpacklo_epi8(row_a, zero), words_b = _mm_unpacklo_epi8(row_b, zero);
  BlendLanes(_mm_cvtepi32_ps(_mm_unpacklo_epi16(words_a, zero)), _mm_cvtepi32_ps(_mm_unpackhi_epi16(words_a, zero)),
             _mm_cvtepi32_ps(_mm_unpacklo_epi16(words_b, zero)), _mm_cvtepi32_ps(_mm_unpackhi_epi16(words_b, zero)), fx,
             fy, out);
}
#endif

}  // namespace detail

// Per channel the mean of both interpolation orders of the four neighbours, truncated to a byte;
// with `lanes` (the SSE2 level) the three channels side by side, which gives the same bytes. The
// twelve bytes are read before `out` is written, so out may be any pixel, even one of the four.
inline void BlendCell(const uint8_t* p00, const uint8_t* p10, const uint8_t* p01, const uint8_t* p11, float fx,
                      float fy, uint8_t out[3], bool lanes) {
#if OMBRIX_SIMD_X86
  if (lanes) {
    detail::BlendLanes(detail::LoadPixel(p00), detail::LoadPixel(p10), detail::LoadPixel(p01), detail::LoadPixel(p11),
                       fx, fy, out);
    return;
  }
#endif
  detail::BlendPixelPlain(p00, p10, p01, p11, fx, fy, out);
}

// The bilinear sampler over one picture. It holds the picture's view itself, so a pixel loop
// that stores bytes between samples does not reload it through the picture; and whether the
// level in force lets it blend the channels in vector lanes, read once when it is made.
class BilinearSampler {
 public:
  explicit BilinearSampler(const PictureView& view)
      : rows_(view.rows), width_(view.width), height_(view.height), lanes_(simd::Uses(simd::Level::kSse2)) {}
  explicit BilinearSampler(const Picture& picture) : BilinearSampler(PictureView(picture)) {}

  // Colour at (u, v): the four neighbours around the true floor of the point, each outside the
  // picture (coordinates compared as unsigned 16-bit values) replaced by `outside`; per channel
  // the mean of both interpolation orders in single precision, truncated to a byte.
  [[gnu::always_inline]] void Sample(float u, float v, const uint8_t outside[3], uint8_t out[3]) const {
    const detail::Corners c = detail::Locate(u, v);
    if (c.far) {
      // All four neighbours are the outside colour; the interpolation of equal values keeps it.
      out[0] = outside[0], out[1] = outside[1], out[2] = outside[2];
      return;
    }
    if (c.xa >= 0 && c.xa < width_ - 1 && c.ya >= 0 && c.ya < height_ - 1) {
      // All four neighbours inside, the common case.
      InsideCell(c, out);
      return;
    }
    const uint16_t xa = uint16_t(c.xa), xb = uint16_t(c.xa + 1);
    const uint16_t ya = uint16_t(c.ya), yb = uint16_t(c.ya + 1);
    const bool in_xa = xa < width_, in_xb = xb < width_;
    const uint8_t* row_a = ya < height_ ? rows_[ya] : nullptr;
    const uint8_t* row_b = yb < height_ ? rows_[yb] : nullptr;
    const uint8_t* p00 = row_a && in_xa ? row_a + 3 * size_t(xa) : outside;
    const uint8_t* p10 = row_a && in_xb ? row_a + 3 * size_t(xb) : outside;
    const uint8_t* p01 = row_b && in_xa ? row_b + 3 * size_t(xa) : outside;
    const uint8_t* p11 = row_b && in_xb ? row_b + 3 * size_t(xb) : outside;
    BlendCell(p00, p10, p01, p11, c.fx, c.fy, out, lanes_);
  }

  // The wrap-around sampler: the same, but each neighbour index is first wrapped into the
  // picture, so none is ever outside; a far point samples at (0, 0).
  [[gnu::always_inline]] void SampleWrapped(float u, float v, uint8_t out[3]) const {
    detail::Corners c = detail::Locate(u, v);
    if (c.far) c = detail::Corners{0, 0, 0.0f, 0.0f, false};
    if (c.xa >= 0 && c.xa < width_ - 1 && c.ya >= 0 && c.ya < height_ - 1) {
      // Inside, no neighbour wraps.
      InsideCell(c, out);
      return;
    }
    const int32_t xa = WrapInto(c.xa, width_), xb = WrapInto(c.xa + 1, width_);
    const uint8_t* row_a = rows_[WrapInto(c.ya, height_)];
    const uint8_t* row_b = rows_[WrapInto(c.ya + 1, height_)];
    BlendCell(row_a + 3 * size_t(xa), row_a + 3 * size_t(xb), row_b + 3 * size_t(xa), row_b + 3 * size_t(xb), c.fx,
              c.fy, out, lanes_);
  }

 private:
  // A cell whose four neighbours lie inside: each row's two neighbours side by side.
  [[gnu::always_inline]] void InsideCell(const detail::Corners& c, uint8_t out[3]) const {
    const size_t offset = 3 * size_t(c.xa);
    const uint8_t* a = rows_[c.ya] + offset;
    const uint8_t* b = rows_[c.ya + 1] + offset;
#if OMBRIX_SIMD_X86
    if (lanes_) {
      detail::BlendPairs(a, b, c.fx, c.fy, out);
      return;
    }
#endif
    detail::BlendPixelPlain(a, a + 3, b, b + 3, c.fx, c.fy, out);
  }

  const uint8_t* const* rows_;
  int32_t width_, height_;
  bool lanes_;
};

inline void SampleBilinear(const Picture& picture, float u, float v, const uint8_t outside[3], uint8_t out[3]) {
  BilinearSampler(picture).Sample(u, v, outside, out);
}
inline void SampleWrapped(const Picture& picture, float u, float v, uint8_t out[3]) {
  BilinearSampler(picture).SampleWrapped(u, v, out);
}

// The same samples computed channel by channel with std::floor: the references the tests hold
// the sampler above to.
void SampleBilinearPlain(const Picture& picture, float u, float v, const uint8_t outside[3], uint8_t out[3]);
void SampleWrappedPlain(const Picture& picture, float u, float v, uint8_t out[3]);

// What an alpha sample takes for a neighbour outside the extra plane.
enum class AlphaOutside { kZero, kOpaque, kWrap };
// Alpha at (u, v) over the picture's extra plane (which must be present).
uint8_t SampleAlpha(const Picture& picture, float u, float v, AlphaOutside outside);

}  // namespace ombrix::kit
