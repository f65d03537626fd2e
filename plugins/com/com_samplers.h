// The composition filters' own bilinear samplers: the kit's colour and wrap-around samplers
// (same neighbours, same single-precision arithmetic, same truncation), inline and reading a
// picture through its row table held in locals, so a pixel loop keeps them free of calls; with
// SSE2 the three channels are interpolated side by side.
// kit::SampleBilinear and kit::SampleWrapped remain the plain path; the tests compare both.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

// The channel-parallel blend needs SSE2 and 64-bit registers; elsewhere the channels are blended
// one after the other.
#if defined(__SSE2__) && defined(__x86_64__)
#define OMBRIX_COM_SSE2 1
#include <emmintrin.h>
#else
#define OMBRIX_COM_SSE2 0
#endif

#include "core/kit/samplers.h"
#include "core/picture/picture.h"

namespace ombrix::com {

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

// The neighbour cell of a point: columns xa, xa + 1 and rows ya, ya + 1 around the true floor,
// and the fractions of the point inside it.
struct Cell {
  int32_t xa = 0;
  int32_t ya = 0;
  float fx = 0.0f;
  float fy = 0.0f;
};

// Points this far away have no neighbour inside any picture (the kit samplers treat them so).
inline constexpr float kFarAway = 1.0e9f;

// False for a point at or beyond kFarAway on either axis, or NaN. Otherwise the floor is taken
// as the truncation, one less when that lies above the point: exact below 2^31, and the same
// value std::floor gives.
inline bool LocateCell(float u, float v, Cell& c) {
  if (!(std::fabs(u) < kFarAway && std::fabs(v) < kFarAway)) return false;
  int32_t xa = int32_t(u), ya = int32_t(v);
  xa -= float(xa) > u ? 1 : 0;
  ya -= float(ya) > v ? 1 : 0;
  c.xa = xa;
  c.ya = ya;
  c.fx = u - float(xa);
  c.fy = v - float(ya);
  return true;
}

inline float Lerp(float a, float b, float t) { return a + (b - a) * t; }

#if OMBRIX_COM_SSE2
// The three channels of a pixel (blue, green, red in the low 24 bits) as floats, the fourth
// lane 0. Lane-wise single-precision arithmetic rounds exactly as the scalar arithmetic does, so
// the interpolation below works on the channels side by side.
inline __m128 ChannelFloats(uint32_t bgr) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i bytes = _mm_cvtsi32_si128(int32_t(bgr));
  return _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero));
}

inline uint32_t PixelBits(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16; }

// Two neighbouring pixels of a row as two channel vectors, from one 8-byte load that takes two
// bytes beyond the pair: only where the row holds them (the pair is not the row's last two
// pixels). The fourth lanes carry a neighbouring byte, which the result never reads.
inline void WidePairFloats(const uint8_t* p, __m128& left, __m128& right) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i words = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), zero);
  left = _mm_cvtepi32_ps(_mm_unpacklo_epi16(words, zero));
  right = _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_srli_si128(words, 6), zero));
}

// Two neighbouring pixels of a row (six bytes, nothing beyond) as two channel vectors.
inline void PairFloats(const uint8_t* p, __m128& left, __m128& right) {
  uint32_t low;
  uint16_t high;
  std::memcpy(&low, p, 4);
  std::memcpy(&high, p + 4, 2);
  // b0 g0 r0 0 b1 g1 r1 0
  const uint64_t spread = uint64_t(low & 0xFFFFFF) | uint64_t(low >> 24 | uint32_t(high) << 8) << 32;
  const __m128i zero = _mm_setzero_si128();
  const __m128i words = _mm_unpacklo_epi8(_mm_cvtsi64_si128(int64_t(spread)), zero);
  left = _mm_cvtepi32_ps(_mm_unpacklo_epi16(words, zero));
  right = _mm_cvtepi32_ps(_mm_unpackhi_epi16(words, zero));
}

inline __m128 LerpLanes(__m128 a, __m128 b, __m128 t) { return _mm_add_ps(a, _mm_mul_ps(_mm_sub_ps(b, a), t)); }

inline void BlendChannels(__m128 c00, __m128 c10, __m128 c01, __m128 c11, float fx, float fy, uint8_t* out) {
  const __m128 tx = _mm_set1_ps(fx), ty = _mm_set1_ps(fy);
  const __m128 by_rows = LerpLanes(LerpLanes(c00, c01, ty), LerpLanes(c10, c11, ty), tx);
  const __m128 by_columns = LerpLanes(LerpLanes(c00, c10, tx), LerpLanes(c01, c11, tx), ty);
  const __m128i whole = _mm_cvttps_epi32(_mm_mul_ps(_mm_set1_ps(0.5f), _mm_add_ps(by_rows, by_columns)));
  // The low byte of each integer, as the conversion to uint8_t keeps it.
  const __m128i low = _mm_and_si128(whole, _mm_set1_epi32(0xFF));
  const uint32_t bytes = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(low, low), low)));
  out[0] = uint8_t(bytes), out[1] = uint8_t(bytes >> 8), out[2] = uint8_t(bytes >> 16);
}
#endif

// Per channel the mean of both interpolation orders, truncated to a byte. The twelve bytes are
// read before `out` is written, so out may be any pixel, even one of the four.
inline void BlendCell(const uint8_t* p00, const uint8_t* p10, const uint8_t* p01, const uint8_t* p11, float fx,
                      float fy, uint8_t* out) {
#if OMBRIX_COM_SSE2
  BlendChannels(ChannelFloats(PixelBits(p00)), ChannelFloats(PixelBits(p10)), ChannelFloats(PixelBits(p01)),
                ChannelFloats(PixelBits(p11)), fx, fy, out);
#else
  float c00[3], c10[3], c01[3], c11[3];
  for (int ch = 0; ch < 3; ++ch) c00[ch] = p00[ch], c10[ch] = p10[ch], c01[ch] = p01[ch], c11[ch] = p11[ch];
  uint8_t result[3];
  for (int ch = 0; ch < 3; ++ch) {
    const float by_rows = Lerp(Lerp(c00[ch], c01[ch], fy), Lerp(c10[ch], c11[ch], fy), fx);
    const float by_columns = Lerp(Lerp(c00[ch], c10[ch], fx), Lerp(c01[ch], c11[ch], fx), fy);
    result[ch] = uint8_t(int32_t(0.5f * (by_rows + by_columns)));
  }
  out[0] = result[0], out[1] = result[1], out[2] = result[2];
#endif
}

// kit::SampleBilinear: neighbours outside the picture (coordinates compared as unsigned 16-bit
// values) take `outside`.
inline void SampleBilinearAt(const PictureView& p, float u, float v, const uint8_t* outside, uint8_t* out) {
  Cell c;
  if (!LocateCell(u, v, c)) {
    out[0] = outside[0], out[1] = outside[1], out[2] = outside[2];
    return;
  }
  const uint16_t x0 = uint16_t(c.xa), x1 = uint16_t(c.xa + 1);
  const uint16_t y0 = uint16_t(c.ya), y1 = uint16_t(c.ya + 1);
  const bool in_x0 = x0 < p.width, in_x1 = x1 < p.width;
  const uint8_t* row0 = y0 < p.height ? p.rows[y0] : nullptr;
  const uint8_t* row1 = y1 < p.height ? p.rows[y1] : nullptr;
  const uint8_t* p00 = row0 != nullptr && in_x0 ? row0 + 3 * size_t(x0) : outside;
  const uint8_t* p10 = row0 != nullptr && in_x1 ? row0 + 3 * size_t(x1) : outside;
  const uint8_t* p01 = row1 != nullptr && in_x0 ? row1 + 3 * size_t(x0) : outside;
  const uint8_t* p11 = row1 != nullptr && in_x1 ? row1 + 3 * size_t(x1) : outside;
  BlendCell(p00, p10, p01, p11, c.fx, c.fy, out);
}

// kit::SampleWrapped: every neighbour wrapped into the picture; a far point samples at (0, 0).
[[gnu::always_inline]] inline void SampleWrappedAt(const PictureView& p, float u, float v, uint8_t* out) {
  Cell c;
  if (!LocateCell(u, v, c)) c = Cell{};
#if OMBRIX_COM_SSE2
  if (c.ya >= 0 && c.ya < p.height - 1 && c.xa >= 0 && c.xa < p.width - 1) {
    // Inside, no neighbour wraps, so each row's two neighbours lie side by side.
    __m128 c00, c10, c01, c11;
    const uint8_t* row0 = p.rows[c.ya] + 3 * size_t(c.xa);
    const uint8_t* row1 = p.rows[c.ya + 1] + 3 * size_t(c.xa);
    if (c.xa < p.width - 2) {
      WidePairFloats(row0, c00, c10);
      WidePairFloats(row1, c01, c11);
    } else {
      PairFloats(row0, c00, c10);
      PairFloats(row1, c01, c11);
    }
    BlendChannels(c00, c10, c01, c11, c.fx, c.fy, out);
    return;
  }
#endif
  const int32_t xa = kit::WrapInto(c.xa, p.width), xb = kit::WrapInto(c.xa + 1, p.width);
  const uint8_t* row0 = p.rows[kit::WrapInto(c.ya, p.height)];
  const uint8_t* row1 = p.rows[kit::WrapInto(c.ya + 1, p.height)];
  BlendCell(row0 + 3 * size_t(xa), row0 + 3 * size_t(xb), row1 + 3 * size_t(xa), row1 + 3 * size_t(xb), c.fx, c.fy,
            out);
}

}  // namespace ombrix::com
