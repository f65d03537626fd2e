// Sampling a picture at a fractional point: the bilinear sampler with a chosen colour for
// neighbours outside the picture, the wrap-around sampler, and the alpha samplers of the extra
// plane. All take the point in single precision; callers convert their coordinates first.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/picture/picture.h"

namespace ombrix::kit {

namespace detail {

// Points this far away have no neighbour inside any picture; treating them so also keeps the
// floor inside the int range (and NaN out of it).
inline constexpr float kFarAway = 1.0e9f;

// The neighbour at the true floor of a point and the point's fractions beyond it.
struct Corners {
  int xa, ya;
  float fx, fy;
  bool far;
};

// The true floor of a value below kFarAway in magnitude: truncation toward zero, one less for a
// negative value with a fraction. Both the integer and its float are exact there (a value with a
// fraction is below 2^23), so this equals std::floor without the library call.
inline int FloorToInt(float u) {
  const int i = int(u);
  return float(i) > u ? i - 1 : i;
}

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

inline float Lerp(float a, float b, float t) { return a + (b - a) * t; }

// The mean of both interpolation orders, truncated to a byte.
inline uint8_t Blend(float c00, float c10, float c01, float c11, float fx, float fy) {
  const float by_rows = Lerp(Lerp(c00, c01, fy), Lerp(c10, c11, fy), fx);
  const float by_columns = Lerp(Lerp(c00, c10, fx), Lerp(c01, c11, fx), fy);
  return uint8_t(int(0.5f * (by_rows + by_columns)));
}

#if defined(__SSE2__)
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

inline void BlendPixel(const uint8_t* p00, const uint8_t* p10, const uint8_t* p01, const uint8_t* p11, float fx,
                       float fy, uint8_t out[3]) {
  BlendLanes(LoadPixel(p00), LoadPixel(p10), LoadPixel(p01), LoadPixel(p11), fx, fy, out);
}

// Four bytes at p, read without alignment.
inline __m128i LoadFour(const uint8_t* p) {
  int32_t bits;
  std::memcpy(&bits, p, 4);
  return _mm_cvtsi32_si128(bits);
}

// BlendPixel for two horizontal neighbours inside the picture in each of two rows: `a` and `b`
// point at the left pixel of each pair. The six bytes of a pair are read as two overlapping
// four-byte words (the second shifted down by a byte), so nothing beyond the pair is read.
inline void BlendPairs(const uint8_t* a, const uint8_t* b, float fx, float fy, uint8_t out[3]) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i row_a = _mm_unpacklo_epi32(LoadFour(a), _mm_srli_epi32(LoadFour(a + 2), 8));
  const __m128i row_b = _mm_unpacklo_epi32(LoadFour(b), _mm_srli_epi32(LoadFour(b + 2), 8));
  const __m128i words_a = _mm_unpacklo_epi8(row_a, zero), words_b = _mm_unpacklo_epi8(row_b, zero);
  BlendLanes(_mm_cvtepi32_ps(_mm_unpacklo_epi16(words_a, zero)), _mm_cvtepi32_ps(_mm_unpackhi_epi16(words_a, zero)),
             _mm_cvtepi32_ps(_mm_unpacklo_epi16(words_b, zero)), _mm_cvtepi32_ps(_mm_unpackhi_epi16(words_b, zero)), fx,
             fy, out);
}
#else
inline void BlendPixel(const uint8_t* p00, const uint8_t* p10, const uint8_t* p01, const uint8_t* p11, float fx,
                       float fy, uint8_t out[3]) {
  for (int ch = 0; ch < 3; ++ch) out[ch] = Blend(p00[ch], p10[ch], p01[ch], p11[ch], fx, fy);
}
inline void BlendPairs(const uint8_t* a, const uint8_t* b, float fx, float fy, uint8_t out[3]) {
  BlendPixel(a, a + 3, b, b + 3, fx, fy, out);
}
#endif

}  // namespace detail

// The bilinear sampler over one picture. It holds the picture's size and row table itself, so a
// pixel loop that stores bytes between samples does not reload them through the picture.
class BilinearSampler {
 public:
  explicit BilinearSampler(const Picture& picture)
      : rows_(picture.rows), width_(picture.Width()), height_(picture.Height()) {}

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
      const size_t offset = 3 * size_t(c.xa);
      detail::BlendPairs(rows_[c.ya] + offset, rows_[c.ya + 1] + offset, c.fx, c.fy, out);
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
    detail::BlendPixel(p00, p10, p01, p11, c.fx, c.fy, out);
  }

 private:
  const uint8_t* const* rows_;
  int width_, height_;
};

inline void SampleBilinear(const Picture& picture, float u, float v, const uint8_t outside[3], uint8_t out[3]) {
  BilinearSampler(picture).Sample(u, v, outside, out);
}
// The same sample computed channel by channel with std::floor, the reference for the parity
// tests of the faster path above.
void SampleBilinearPlain(const Picture& picture, float u, float v, const uint8_t outside[3], uint8_t out[3]);
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
