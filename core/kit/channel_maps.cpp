// Finding the shape of a channel table, and the row loops for each shape.
#include "core/kit/channel_maps.h"

#include <algorithm>
#include <cstring>

#include "core/kit/simd.h"

#if OMBRIX_SIMD_X86
#include <emmintrin.h>
#endif

namespace ombrix::kit {
namespace {

using Shape = ChannelMaps::Shape;

// The shape's value at c; for kScale, k is the exponent of the factor's denominator 2^(16 - k).
int Apply(Shape shape, int a, int k, int c) {
  switch (shape) {
    case Shape::kScale:
      return std::min(255, (c * a) >> (16 - k));
    case Shape::kSubtract:
      return std::max(0, a - c);
    case Shape::kWrapSubtract:
      return (a - c) & 255;
    case Shape::kDistance:
      return a > c ? a - c : c - a;
    case Shape::kWrapAdd:
      return (c + a) & 255;
    case Shape::kTable:
      break;
  }
  return -1;
}

bool Matches(const uint8_t (&table)[256], Shape shape, int a, int k) {
  for (int c = 0; c < 256; ++c)
    if (Apply(shape, a, k, c) != table[c]) return false;
  return true;
}

// The constant a (and for kScale the exponent k) of the shape that reproduces the table
// exactly; false when there is none.
bool ConstantFor(const uint8_t (&table)[256], Shape shape, int& a, int& k) {
  k = 0;
  if (shape != Shape::kScale) {
    a = table[0];
    return Matches(table, shape, a, k);
  }
  if (table[0] != 0) return false;
  // For each denominator 2^(16 - k), the smallest a within 0..65535 with
  // min(255, (c * a) >> (16 - k)) == table[c] for all c: entries below 255 bound a from both
  // sides, entries of 255 from below.
  for (k = 0; k <= 8; ++k) {
    const long denominator = 1L << (16 - k);
    long low = 0, high = 65535;
    for (long c = 1; c < 256 && low <= high; ++c) {
      const long t = table[c];
      low = std::max(low, (t * denominator + c - 1) / c);
      if (t < 255) high = std::min(high, ((t + 1) * denominator - 1) / c);
    }
    a = int(low);
    if (low <= high && Matches(table, shape, a, k)) return true;
  }
  return false;
}

#if OMBRIX_SIMD_X86
// The constants of one 16-byte step as 8 + 8 words: byte k of a step starting `phase` bytes into
// a pixel belongs to channel (phase + k) mod 3.
struct StepConstants {
  __m128i bytes;
  __m128i low_words, high_words;    // a
  __m128i low_powers, high_powers;  // 2^k
};

StepConstants ConstantsAt(const uint16_t (&constants)[3], const uint16_t (&powers)[3], int phase) {
  alignas(16) uint8_t b[16];
  alignas(16) uint16_t w[16];
  alignas(16) uint16_t p[16];
  for (int i = 0; i < 16; ++i) {
    const int ch = (phase + i) % 3;
    b[i] = uint8_t(constants[ch]);
    w[i] = constants[ch];
    p[i] = powers[ch];
  }
  auto load = [](const void* at) { return _mm_load_si128(static_cast<const __m128i*>(at)); };
  return {load(b), load(w), load(w + 8), load(p), load(p + 8)};
}

inline __m128i ScaleHalf(__m128i c16, __m128i a, __m128i power) {
  // (c * a) >> (16 - k) as the high word of (c * 2^k) * a, then limited to 255.
  const __m128i r = _mm_mulhi_epu16(_mm_mullo_epi16(c16, power), a);
  return _mm_sub_epi16(r, _mm_subs_epu16(r, _mm_set1_epi16(255)));
}

inline __m128i MapStep(Shape shape, __m128i c, const StepConstants& k) {
  switch (shape) {
    case Shape::kScale: {
      const __m128i zero = _mm_setzero_si128();
      return _mm_packus_epi16(ScaleHalf(_mm_unpacklo_epi8(c, zero), k.low_words, k.low_powers),
                              ScaleHalf(_mm_unpackhi_epi8(c, zero), k.high_words, k.high_powers));
    }
    case Shape::kSubtract:
      return _mm_subs_epu8(k.bytes, c);
    case Shape::kWrapSubtract:
      return _mm_sub_epi8(k.bytes, c);
    case Shape::kDistance:
      return _mm_or_si128(_mm_subs_epu8(k.bytes, c), _mm_subs_epu8(c, k.bytes));
    case Shape::kWrapAdd:
      return _mm_add_epi8(c, k.bytes);
    case Shape::kTable:
      break;
  }
  return c;
}

// 48 bytes (16 pixels) a step, so each of the three 16-byte pieces keeps its channel phase.
size_t RowSse2(Shape shape, const uint16_t (&constants)[3], const uint16_t (&powers)[3], uint8_t* p, size_t bytes) {
  const StepConstants k[3] = {ConstantsAt(constants, powers, 0), ConstantsAt(constants, powers, 1),
                              ConstantsAt(constants, powers, 2)};
  size_t i = 0;
  for (; i + 48 <= bytes; i += 48) {
    for (int part = 0; part < 3; ++part) {
      __m128i* at = reinterpret_cast<__m128i*>(p + i + 16 * size_t(part));
      _mm_storeu_si128(at, MapStep(shape, _mm_loadu_si128(at), k[part]));
    }
  }
  return i;
}
#endif

}  // namespace

ChannelMaps::ChannelMaps(const uint8_t (&tables)[3][256]) {
  std::memcpy(tables_, tables, sizeof tables_);
  for (Shape shape : {Shape::kScale, Shape::kSubtract, Shape::kWrapSubtract, Shape::kDistance, Shape::kWrapAdd}) {
    bool all = true;
    for (int ch = 0; ch < 3 && all; ++ch) {
      int a = 0, k = 0;
      all = ConstantFor(tables_[ch], shape, a, k);
      constants_[ch] = uint16_t(a);
      powers_[ch] = uint16_t(1 << k);
    }
    if (all) {
      shape_ = shape;
      return;
    }
  }
}

void ChannelMaps::Row(uint8_t* p, size_t bytes) const {
  size_t i = 0;
#if OMBRIX_SIMD_X86
  if (shape_ != Shape::kTable && simd::Uses(simd::Level::kSse2)) i = RowSse2(shape_, constants_, powers_, p, bytes);
#endif
  // i is a multiple of 3, so byte i is a blue byte again.
  for (; i + 3 <= bytes; i += 3) {
    p[i] = tables_[0][p[i]];
    p[i + 1] = tables_[1][p[i + 1]];
    p[i + 2] = tables_[2][p[i + 2]];
  }
  for (int ch = 0; i < bytes; ++i, ++ch) p[i] = tables_[ch][p[i]];
}

}  // namespace ombrix::kit
