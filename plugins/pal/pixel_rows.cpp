// The plain per-pixel loops, and the 16-pixel steps: a step loads 48 bytes as three vectors,
// gathers them into one vector per channel (planes) where the rule needs whole pixels, and
// either computes the result in vectors or computes table indexes in vectors and reads the
// results from the filter's table into the row.
#include "plugins/pal/pixel_rows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <immintrin.h>
#include <tmmintrin.h>
#include <xmmintrin.h>
#define OMBRIX_PAL_SHUFFLES 1
#define OMBRIX_SSSE3 __attribute__((target("ssse3")))
#define OMBRIX_AVX2 __attribute__((target("avx2")))
#endif

namespace ombrix::pal {
namespace {

using kit::kBlue;
using kit::kGreen;
using kit::kRed;

// ---- Plain loops -------------------------------------------------------------------------

void PermutePlain(uint8_t* p, size_t count, const int (&from)[3]) {
  const int f0 = from[0], f1 = from[1], f2 = from[2];
  for (uint8_t* const end = p + 3 * count; p != end; p += 3) {
    const uint8_t v0 = p[f0], v1 = p[f1], v2 = p[f2];
    p[0] = v0;
    p[1] = v1;
    p[2] = v2;
  }
}

int32_t IndexOf(const uint8_t* p, ColourIndex index) {
  switch (index) {
    case ColourIndex::kSum:
      return int32_t(p[0]) + p[1] + p[2];
    case ColourIndex::kMean:
      return kit::Mean(p);
    case ColourIndex::kBlue:
      return p[kBlue];
    case ColourIndex::kGreen:
      return p[kGreen];
    case ColourIndex::kRed:
      return p[kRed];
  }
  return 0;
}

void ColourByIndexPlain(uint8_t* p, size_t count, ColourIndex index, const uint32_t* colours) {
  for (uint8_t* const end = p + 3 * count; p != end; p += 3) {
    const uint32_t c = colours[IndexOf(p, index)];
    p[0] = uint8_t(c);
    p[1] = uint8_t(c >> 8);
    p[2] = uint8_t(c >> 16);
  }
}

void MeanTablePlain(uint8_t* p, size_t count, const kit::MeanChannelTable& table) {
  for (uint8_t* const end = p + 3 * count; p != end; p += 3) table.Apply(p);
}

void CopyChannelPlain(uint8_t* p, const uint8_t* source, size_t count, int channel) {
  p += channel;
  if (source == nullptr) {
    for (size_t i = 0; i < count; ++i, p += 3) *p = 0;
    return;
  }
  source += channel;
  for (size_t i = 0; i < count; ++i, p += 3, source += 3) *p = *source;
}

void ReplacePlain(uint8_t* p, size_t count, const Replacement& r) {
  const int32_t new_mean = (int32_t(r.with[0]) + r.with[1] + r.with[2]) / 3;
  for (uint8_t* const end = p + 3 * count; p != end; p += 3) {
    bool match = true;
    for (int ch = 0; ch < 3 && match; ++ch) {
      const int32_t d = int32_t(p[ch]) - r.match[ch];
      match = (d < 0 ? -d : d) <= r.tolerance[ch];
    }
    if (!match) continue;
    if (r.solid) {
      for (int ch = 0; ch < 3; ++ch) p[ch] = r.with[ch];
      continue;
    }
    const int32_t d = new_mean - kit::Mean(p);
    for (int ch = 0; ch < 3; ++ch) p[ch] = kit::Clamp(int64_t(r.with[ch]) - d);
  }
}

// ---- Mean arithmetic ---------------------------------------------------------------------

// Contrast's factor k as a power of two, k = sign * 2^-shift with shift 0..14: then the rounding
// rule on x * k is (x + bias) >> shift in integers, bias being half of 2^shift for x >= 0 and
// 2^shift - 1 below (which makes the shift truncate toward zero).
bool ShiftOf(float k, int32_t& shift, bool& negative) {
  negative = k < 0;
  for (shift = 0; shift < 15; ++shift)
    if (std::fabs(k) == std::ldexp(1.0f, -shift)) return true;
  return false;
}

// The shifted rule as the word vectors take it: x = c * (mean - 128) (sign reversed for a
// negative k), the biased sum saturated to a word, shifted arithmetically.
int32_t ShiftedRound(int32_t x, int32_t shift) {
  const int32_t half = (1 << shift) >> 1;
  const int32_t sum = std::min(x + (x < 0 ? (1 << shift) - 1 : half), 32767);
  return sum >> shift;
}

struct Coefficients {
  float a = 1;
  float b = 0;
  int32_t shift = 0;  // kPushFromGreyShifted: k = +-2^-shift (valid when shifted is true)
  bool negative = false;
  bool shifted = false;
};

// a and b for a pixel of this mean. Limiting b (and Contrast's factor) to -1024..1024 changes no
// result, since every value beyond clamps alike, and keeps every value within the int32 range.
Coefficients CoefficientsOf(const MeanArithmetic& r, int32_t mean) {
  const float m = float(mean);
  switch (r.rule) {
    case MeanRule::kInvertIntensity:
      // A black pixel becomes white (ValueWith); otherwise q = (255 - mean) / mean scales it.
      return {mean == 0 ? 0.0f : (255.0f - m) / m, 0};
    case MeanRule::kAddMean:
    case MeanRule::kAddRoundedMean:
      if (r.parameter == 0) return {1, mean > 0 ? 1024.0f : 0.0f};
      return {1, std::min(std::max(m / r.parameter, -1024.0f), 1024.0f)};
    case MeanRule::kPushFromGreyShifted: {
      Coefficients k;
      k.shifted = ShiftOf(r.parameter, k.shift, k.negative);
      return k;
    }
    case MeanRule::kPushFromGrey:
      return {std::min(std::max(r.parameter, -1024.0f), 1024.0f), 0};
    case MeanRule::kNone:
      break;
  }
  return {};
}

// The rounding rule as the vectors take it: truncation of v + 0.5 for v >= 0, of v below. The
// sum may round upwards in single precision; the check against the exact table catches that.
int32_t RoundAsVectors(float v) { return int32_t(v >= 0 ? v + 0.5f : v); }

uint8_t ValueWith(const MeanArithmetic& r, const Coefficients& k, int32_t mean, int32_t c) {
  switch (r.rule) {
    case MeanRule::kInvertIntensity:
      if (mean == 0) return 255;
      return kit::Clamp(RoundAsVectors(float(c) * k.a));
    case MeanRule::kAddMean:
      return kit::Clamp(RoundAsVectors(float(c) + k.b));
    case MeanRule::kAddRoundedMean:
      return kit::Clamp(int64_t(c) + RoundAsVectors(k.b));
    case MeanRule::kPushFromGrey:
      return kit::Clamp(int64_t(c) + RoundAsVectors(float(c * (mean - 128)) * k.a));
    case MeanRule::kPushFromGreyShifted:
      if (!k.shifted) return 0;
      return kit::Clamp(int64_t(c) + ShiftedRound(c * (k.negative ? 128 - mean : mean - 128), k.shift));
    case MeanRule::kNone:
      break;
  }
  return 0;
}

// ---- 16-pixel steps ----------------------------------------------------------------------

#if OMBRIX_PAL_SHUFFLES

constexpr uint8_t kNone = 0x80;  // a shuffle index that gives 0

// The shuffle indexes between a 48-byte step of pixels and three planes of 16 bytes.
struct Shuffles {
  uint8_t to_plane[3][3][16];    // [channel][source vector]: that vector's bytes of the plane
  uint8_t from_plane[3][3][16];  // [result vector][channel]: that plane's bytes of the vector
  uint8_t spread[3][16];         // [result vector]: byte i of a per-pixel vector to pixel i's bytes
};

constexpr Shuffles MakeShuffles() {
  Shuffles s{};
  for (int ch = 0; ch < 3; ++ch)
    for (int v = 0; v < 3; ++v)
      for (int i = 0; i < 16; ++i) {
        const int at = 3 * i + ch;
        s.to_plane[ch][v][i] = at / 16 == v ? uint8_t(at % 16) : kNone;
        const int pos = 16 * v + i;
        s.from_plane[v][ch][i] = pos % 3 == ch ? uint8_t(pos / 3) : kNone;
      }
  for (int v = 0; v < 3; ++v)
    for (int i = 0; i < 16; ++i) s.spread[v][i] = uint8_t((16 * v + i) / 3);
  return s;
}

alignas(16) constexpr Shuffles kShuffles = MakeShuffles();

inline __m128i Load(const void* at) { return _mm_load_si128(static_cast<const __m128i*>(at)); }
inline __m128i LoadU(const void* at) { return _mm_loadu_si128(static_cast<const __m128i*>(at)); }
inline void StoreU(void* at, __m128i v) { _mm_storeu_si128(static_cast<__m128i*>(at), v); }

struct Step {
  __m128i v[3];
};

inline Step LoadStep(const uint8_t* p) { return {{LoadU(p), LoadU(p + 16), LoadU(p + 32)}}; }
inline void StoreStep(uint8_t* p, const Step& s) {
  StoreU(p, s.v[0]);
  StoreU(p + 16, s.v[1]);
  StoreU(p + 32, s.v[2]);
}

OMBRIX_SSSE3 inline __m128i Gather3(const __m128i (&v)[3], const uint8_t (&index)[3][16]) {
  return _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(v[0], Load(index[0])), _mm_shuffle_epi8(v[1], Load(index[1]))),
                      _mm_shuffle_epi8(v[2], Load(index[2])));
}

OMBRIX_SSSE3 inline Step ToPlanes(const Step& s) {
  return {
      {Gather3(s.v, kShuffles.to_plane[0]), Gather3(s.v, kShuffles.to_plane[1]), Gather3(s.v, kShuffles.to_plane[2])}};
}

OMBRIX_SSSE3 inline Step FromPlanes(const Step& planes) {
  return {{Gather3(planes.v, kShuffles.from_plane[0]), Gather3(planes.v, kShuffles.from_plane[1]),
           Gather3(planes.v, kShuffles.from_plane[2])}};
}

// The per-pixel values of a vector of 16 bytes, each repeated over its pixel's three bytes.
OMBRIX_SSSE3 inline Step Spread(__m128i per_pixel) {
  return {{_mm_shuffle_epi8(per_pixel, Load(kShuffles.spread[0])),
           _mm_shuffle_epi8(per_pixel, Load(kShuffles.spread[1])),
           _mm_shuffle_epi8(per_pixel, Load(kShuffles.spread[2]))}};
}

// Channel sums of the 16 pixels as words: pixels 0-7 in lo, 8-15 in hi.
inline void Sums(const Step& planes, __m128i& lo, __m128i& hi) {
  const __m128i zero = _mm_setzero_si128();
  lo = _mm_add_epi16(_mm_add_epi16(_mm_unpacklo_epi8(planes.v[0], zero), _mm_unpacklo_epi8(planes.v[1], zero)),
                     _mm_unpacklo_epi8(planes.v[2], zero));
  hi = _mm_add_epi16(_mm_add_epi16(_mm_unpackhi_epi8(planes.v[0], zero), _mm_unpackhi_epi8(planes.v[1], zero)),
                     _mm_unpackhi_epi8(planes.v[2], zero));
}

// s / 3 for 0 <= s <= 765 as (s * 43691) >> 17: 43691 = (2^17 + 1) / 3, so the product
// overshoots s / 3 by s / 393216 < 1/500, too little to reach the next integer from a
// remainder of at most 2/3.
inline __m128i ThirdOf(__m128i sums) { return _mm_srli_epi16(_mm_mulhi_epu16(sums, _mm_set1_epi16(-21845)), 1); }

inline void Means(const Step& planes, __m128i& lo, __m128i& hi) {
  Sums(planes, lo, hi);
  lo = ThirdOf(lo);
  hi = ThirdOf(hi);
}

OMBRIX_SSSE3 size_t PermuteFast(uint8_t* p, size_t count, const int (&from)[3]) {
  // Result byte i of a step is channel i % 3 of pixel i / 3, which comes from byte
  // 3 * (i / 3) + from[i % 3] of the same step.
  alignas(16) uint8_t index[3][3][16];
  for (int v = 0; v < 3; ++v)
    for (int source = 0; source < 3; ++source)
      for (int i = 0; i < 16; ++i) {
        const int pos = 16 * v + i;
        const int at = 3 * (pos / 3) + from[pos % 3];
        index[v][source][i] = at / 16 == source ? uint8_t(at % 16) : kNone;
      }
  size_t done = 0;
  for (; done + 16 <= count; done += 16, p += 48) {
    const Step s = LoadStep(p);
    StoreStep(p, {{Gather3(s.v, index[0]), Gather3(s.v, index[1]), Gather3(s.v, index[2])}});
  }
  return done;
}

OMBRIX_SSSE3 size_t ColourByIndexFast(uint8_t* p, size_t count, ColourIndex index, const uint32_t* colours) {
  alignas(16) uint16_t at[16];
  const __m128i zero = _mm_setzero_si128();
  size_t done = 0;
  for (; done + 16 <= count; done += 16, p += 48) {
    const Step planes = ToPlanes(LoadStep(p));
    __m128i lo, hi;
    switch (index) {
      case ColourIndex::kSum:
        Sums(planes, lo, hi);
        break;
      case ColourIndex::kMean:
        Means(planes, lo, hi);
        break;
      default: {
        const __m128i plane = planes.v[index == ColourIndex::kBlue    ? kBlue
                                       : index == ColourIndex::kGreen ? kGreen
                                                                      : kRed];
        lo = _mm_unpacklo_epi8(plane, zero);
        hi = _mm_unpackhi_epi8(plane, zero);
        break;
      }
    }
    _mm_store_si128(reinterpret_cast<__m128i*>(at), lo);
    _mm_store_si128(reinterpret_cast<__m128i*>(at + 8), hi);
    // Colours go straight into the row (a buffer read back as vectors would wait for the byte
    // stores to land); each store takes 4 bytes and the next pixel's store covers the extra
    // one, except for the last pixel, whose fourth byte belongs to the next step.
    for (int i = 0; i < 15; ++i) {
      const uint32_t c = colours[at[i]];
      std::memcpy(p + 3 * i, &c, 4);
    }
    const uint32_t last = colours[at[15]];
    p[45] = uint8_t(last);
    p[46] = uint8_t(last >> 8);
    p[47] = uint8_t(last >> 16);
  }
  return done;
}

OMBRIX_SSSE3 size_t MeanTableFast(uint8_t* p, size_t count, const kit::MeanChannelTable& table) {
  const uint8_t* const values = &table.value[0][0];
  alignas(16) uint16_t at[3][16];  // [channel][pixel]: mean * 256 + channel value
  const __m128i zero = _mm_setzero_si128();
  size_t done = 0;
  for (; done + 16 <= count; done += 16, p += 48) {
    const Step planes = ToPlanes(LoadStep(p));
    __m128i lo, hi;
    Means(planes, lo, hi);
    lo = _mm_slli_epi16(lo, 8);
    hi = _mm_slli_epi16(hi, 8);
    for (int ch = 0; ch < 3; ++ch) {
      _mm_store_si128(reinterpret_cast<__m128i*>(at[ch]), _mm_or_si128(lo, _mm_unpacklo_epi8(planes.v[ch], zero)));
      _mm_store_si128(reinterpret_cast<__m128i*>(at[ch] + 8), _mm_or_si128(hi, _mm_unpackhi_epi8(planes.v[ch], zero)));
    }
    for (int i = 0; i < 16; ++i) {
      p[3 * i] = values[at[0][i]];
      p[3 * i + 1] = values[at[1][i]];
      p[3 * i + 2] = values[at[2][i]];
    }
  }
  return done;
}

OMBRIX_SSSE3 inline __m128i RoundAsVectors(__m128 v) {
  const __m128 half = _mm_and_ps(_mm_cmpge_ps(v, _mm_setzero_ps()), _mm_set1_ps(0.5f));
  return _mm_cvttps_epi32(_mm_add_ps(v, half));
}

// Four channel values of four pixels whose coefficients are a, b: words x (of pixels 4q to
// 4q + 3 of x16) to rounded doublewords.
template <MeanRule kRule>
OMBRIX_SSSE3 inline __m128i Quarter(__m128i x16, int q, __m128 a, __m128 b) {
  __m128i x32;
  if constexpr (kRule == MeanRule::kPushFromGrey)  // signed words: into the high half, then down
    x32 = _mm_srai_epi32(q == 0 ? _mm_unpacklo_epi16(x16, x16) : _mm_unpackhi_epi16(x16, x16), 16);
  else
    x32 = q == 0 ? _mm_unpacklo_epi16(x16, _mm_setzero_si128()) : _mm_unpackhi_epi16(x16, _mm_setzero_si128());
  const __m128 x = _mm_cvtepi32_ps(x32);
  return RoundAsVectors(kRule == MeanRule::kAddMean ? _mm_add_ps(x, b) : _mm_mul_ps(x, a));
}

// The coefficients of four pixels (doubleword means).
template <MeanRule kRule>
OMBRIX_SSSE3 inline void CoefficientsOf(__m128i m32, float parameter, __m128& a, __m128& b) {
  const __m128 m = _mm_cvtepi32_ps(m32);
  if constexpr (kRule == MeanRule::kInvertIntensity) {
    a = _mm_andnot_ps(_mm_cmpeq_ps(m, _mm_setzero_ps()), _mm_div_ps(_mm_sub_ps(_mm_set1_ps(255.0f), m), m));
  } else if constexpr (kRule == MeanRule::kAddMean) {
    if (parameter == 0)
      b = _mm_and_ps(_mm_cmpgt_ps(m, _mm_setzero_ps()), _mm_set1_ps(1024.0f));
    else
      b = _mm_min_ps(_mm_max_ps(_mm_div_ps(m, _mm_set1_ps(parameter)), _mm_set1_ps(-1024.0f)), _mm_set1_ps(1024.0f));
  } else {
    a = _mm_set1_ps(std::min(std::max(parameter, -1024.0f), 1024.0f));
  }
}

// Eight pixels (words of means and of the three channels) to eight result words per channel.
template <MeanRule kRule>
OMBRIX_SSSE3 inline void Half(__m128i means, const __m128i (&c16)[3], float parameter, __m128i (&out)[3]) {
  const __m128i zero = _mm_setzero_si128();
  __m128 a0 = _mm_setzero_ps(), b0 = _mm_setzero_ps(), a1 = _mm_setzero_ps(), b1 = _mm_setzero_ps();
  CoefficientsOf<kRule>(_mm_unpacklo_epi16(means, zero), parameter, a0, b0);
  CoefficientsOf<kRule>(_mm_unpackhi_epi16(means, zero), parameter, a1, b1);
  for (int ch = 0; ch < 3; ++ch) {
    // |c * (mean - 128)| <= 32640 fits a word.
    const __m128i x16 = kRule == MeanRule::kPushFromGrey
                            ? _mm_mullo_epi16(c16[ch], _mm_sub_epi16(means, _mm_set1_epi16(128)))
                            : c16[ch];
    out[ch] = _mm_packs_epi32(Quarter<kRule>(x16, 0, a0, b0), Quarter<kRule>(x16, 1, a1, b1));
    if constexpr (kRule == MeanRule::kPushFromGrey) out[ch] = _mm_adds_epi16(out[ch], c16[ch]);
    // A black pixel becomes white.
    if constexpr (kRule == MeanRule::kInvertIntensity)
      out[ch] = _mm_or_si128(out[ch], _mm_and_si128(_mm_cmpeq_epi16(means, zero), _mm_set1_epi16(255)));
  }
}

template <MeanRule kRule>
OMBRIX_SSSE3 size_t MeanArithmeticFast(uint8_t* p, size_t count, float parameter) {
  const __m128i zero = _mm_setzero_si128();
  size_t done = 0;
  for (; done + 16 <= count; done += 16, p += 48) {
    const Step planes = ToPlanes(LoadStep(p));
    __m128i low_means, high_means;
    Means(planes, low_means, high_means);
    const __m128i low[3] = {_mm_unpacklo_epi8(planes.v[0], zero), _mm_unpacklo_epi8(planes.v[1], zero),
                            _mm_unpacklo_epi8(planes.v[2], zero)};
    const __m128i high[3] = {_mm_unpackhi_epi8(planes.v[0], zero), _mm_unpackhi_epi8(planes.v[1], zero),
                             _mm_unpackhi_epi8(planes.v[2], zero)};
    __m128i low_out[3], high_out[3];
    Half<kRule>(low_means, low, parameter, low_out);
    Half<kRule>(high_means, high, parameter, high_out);
    StoreStep(p, FromPlanes({{_mm_packus_epi16(low_out[0], high_out[0]), _mm_packus_epi16(low_out[1], high_out[1]),
                              _mm_packus_epi16(low_out[2], high_out[2])}}));
  }
  return done;
}

// Overexposure's rounded offsets: B = round(mean / Intensity) per pixel, from the same single-
// precision quotient as CoefficientsOf, then every byte of the pixel becomes clamp(c + B) with
// saturating byte arithmetic (adding max(B, 0), then subtracting max(-B, 0)).
template <bool kZeroParameter>
OMBRIX_SSSE3 inline __m128 QuarterOffsets(__m128i m32, __m128 parameter) {
  const __m128 m = _mm_cvtepi32_ps(m32);
  if constexpr (kZeroParameter) return _mm_and_ps(_mm_cmpgt_ps(m, _mm_setzero_ps()), _mm_set1_ps(1024.0f));
  return _mm_min_ps(_mm_max_ps(_mm_div_ps(m, parameter), _mm_set1_ps(-1024.0f)), _mm_set1_ps(1024.0f));
}

template <bool kZeroParameter>
OMBRIX_SSSE3 inline __m128i RoundedOffsets(__m128i means, __m128 parameter) {
  const __m128i zero = _mm_setzero_si128();
  return _mm_packs_epi32(RoundAsVectors(QuarterOffsets<kZeroParameter>(_mm_unpacklo_epi16(means, zero), parameter)),
                         RoundAsVectors(QuarterOffsets<kZeroParameter>(_mm_unpackhi_epi16(means, zero), parameter)));
}

template <bool kZeroParameter>
OMBRIX_SSSE3 size_t AddRoundedMeanSteps(uint8_t* p, size_t count, float parameter) {
  const __m128i zero = _mm_setzero_si128();
  const __m128 divisor = _mm_set1_ps(parameter);
  size_t done = 0;
  for (; done + 16 <= count; done += 16, p += 48) {
    const Step s = LoadStep(p);
    __m128i low_means, high_means;
    Means(ToPlanes(s), low_means, high_means);
    const __m128i low = RoundedOffsets<kZeroParameter>(low_means, divisor);  // |B| <= 1024
    const __m128i high = RoundedOffsets<kZeroParameter>(high_means, divisor);
    const Step up = Spread(_mm_packus_epi16(low, high));
    const Step down = Spread(_mm_packus_epi16(_mm_sub_epi16(zero, low), _mm_sub_epi16(zero, high)));
    StoreStep(p, {{_mm_subs_epu8(_mm_adds_epu8(s.v[0], up.v[0]), down.v[0]),
                   _mm_subs_epu8(_mm_adds_epu8(s.v[1], up.v[1]), down.v[1]),
                   _mm_subs_epu8(_mm_adds_epu8(s.v[2], up.v[2]), down.v[2])}});
  }
  return done;
}

OMBRIX_SSSE3 size_t AddRoundedMeanFast(uint8_t* p, size_t count, float parameter) {
  return parameter == 0 ? AddRoundedMeanSteps<true>(p, count, parameter)
                        : AddRoundedMeanSteps<false>(p, count, parameter);
}

// The same rules eight pixels to a vector: the byte shuffles and the means stay 16 bytes wide,
// the single-precision work takes eight lanes. Lane for lane these are the operations of
// Quarter and CoefficientsOf above, so both widths give the same bytes.
OMBRIX_AVX2 inline __m256i RoundAsVectors(__m256 v) {
  const __m256 half = _mm256_and_ps(_mm256_cmp_ps(v, _mm256_setzero_ps(), _CMP_GE_OQ), _mm256_set1_ps(0.5f));
  return _mm256_cvttps_epi32(_mm256_add_ps(v, half));
}

template <MeanRule kRule>
OMBRIX_AVX2 inline void CoefficientsOf(__m128i means, float parameter, __m256& a, __m256& b) {
  const __m256 m = _mm256_cvtepi32_ps(_mm256_cvtepu16_epi32(means));
  if constexpr (kRule == MeanRule::kInvertIntensity) {
    a = _mm256_andnot_ps(_mm256_cmp_ps(m, _mm256_setzero_ps(), _CMP_EQ_OQ),
                         _mm256_div_ps(_mm256_sub_ps(_mm256_set1_ps(255.0f), m), m));
  } else if constexpr (kRule == MeanRule::kAddMean) {
    if (parameter == 0)
      b = _mm256_and_ps(_mm256_cmp_ps(m, _mm256_setzero_ps(), _CMP_GT_OQ), _mm256_set1_ps(1024.0f));
    else
      b = _mm256_min_ps(_mm256_max_ps(_mm256_div_ps(m, _mm256_set1_ps(parameter)), _mm256_set1_ps(-1024.0f)),
                        _mm256_set1_ps(1024.0f));
  } else {
    a = _mm256_set1_ps(std::min(std::max(parameter, -1024.0f), 1024.0f));
  }
}

template <MeanRule kRule>
OMBRIX_AVX2 inline void WideHalf(__m128i means, const __m128i (&c16)[3], float parameter, __m128i (&out)[3]) {
  __m256 a = _mm256_setzero_ps(), b = _mm256_setzero_ps();
  CoefficientsOf<kRule>(means, parameter, a, b);
  for (int ch = 0; ch < 3; ++ch) {
    __m256 x;
    if constexpr (kRule == MeanRule::kPushFromGrey)  // |c * (mean - 128)| <= 32640 fits a word
      x = _mm256_cvtepi32_ps(
          _mm256_cvtepi16_epi32(_mm_mullo_epi16(c16[ch], _mm_sub_epi16(means, _mm_set1_epi16(128)))));
    else
      x = _mm256_cvtepi32_ps(_mm256_cvtepu16_epi32(c16[ch]));
    __m256i r;
    if constexpr (kRule == MeanRule::kInvertIntensity)  // c * q >= 0, so the rounding adds 0.5 throughout
      r = _mm256_cvttps_epi32(_mm256_add_ps(_mm256_mul_ps(x, a), _mm256_set1_ps(0.5f)));
    else
      r = RoundAsVectors(kRule == MeanRule::kAddMean ? _mm256_add_ps(x, b) : _mm256_mul_ps(x, a));
    out[ch] = _mm_packs_epi32(_mm256_castsi256_si128(r), _mm256_extracti128_si256(r, 1));
    if constexpr (kRule == MeanRule::kPushFromGrey) out[ch] = _mm_adds_epi16(out[ch], c16[ch]);
    // A black pixel becomes white.
    if constexpr (kRule == MeanRule::kInvertIntensity)
      out[ch] = _mm_or_si128(out[ch], _mm_and_si128(_mm_cmpeq_epi16(means, _mm_setzero_si128()), _mm_set1_epi16(255)));
  }
}

template <MeanRule kRule>
OMBRIX_AVX2 size_t MeanArithmeticWide(uint8_t* p, size_t count, float parameter) {
  const __m128i zero = _mm_setzero_si128();
  size_t done = 0;
  for (; done + 16 <= count; done += 16, p += 48) {
    const Step planes = ToPlanes(LoadStep(p));
    __m128i low_means, high_means;
    Means(planes, low_means, high_means);
    const __m128i low[3] = {_mm_unpacklo_epi8(planes.v[0], zero), _mm_unpacklo_epi8(planes.v[1], zero),
                            _mm_unpacklo_epi8(planes.v[2], zero)};
    const __m128i high[3] = {_mm_unpackhi_epi8(planes.v[0], zero), _mm_unpackhi_epi8(planes.v[1], zero),
                             _mm_unpackhi_epi8(planes.v[2], zero)};
    __m128i low_out[3], high_out[3];
    WideHalf<kRule>(low_means, low, parameter, low_out);
    WideHalf<kRule>(high_means, high, parameter, high_out);
    StoreStep(p, FromPlanes({{_mm_packus_epi16(low_out[0], high_out[0]), _mm_packus_epi16(low_out[1], high_out[1]),
                              _mm_packus_epi16(low_out[2], high_out[2])}}));
  }
  return done;
}

// Contrast with a power-of-two factor in 16 words to a vector: the same integer steps as
// ShiftedRound on every channel of 16 pixels at once.
OMBRIX_AVX2 size_t PushFromGreyShiftedWide(uint8_t* p, size_t count, float k) {
  int32_t shift = 0;
  bool negative = false;
  if (!ShiftOf(k, shift, negative)) return 0;
  const __m256i grey = _mm256_set1_epi16(128), sign = _mm256_set1_epi16(negative ? -1 : 1);
  const int32_t half = (1 << shift) >> 1;
  const __m256i bias_up = _mm256_set1_epi16(int16_t(half)),
                bias_below = _mm256_set1_epi16(int16_t((1 << shift) - 1 - half));
  const __m128i count_of_shift = _mm_cvtsi32_si128(shift);
  size_t done = 0;
  for (; done + 16 <= count; done += 16, p += 48) {
    const Step planes = ToPlanes(LoadStep(p));
    __m128i low_means, high_means;
    Means(planes, low_means, high_means);
    // |c * (mean - 128)| <= 32640 fits a word.
    const __m256i d = _mm256_sign_epi16(_mm256_sub_epi16(_mm256_set_m128i(high_means, low_means), grey), sign);
    Step out;
    for (int ch = 0; ch < 3; ++ch) {
      const __m256i c = _mm256_cvtepu8_epi16(planes.v[ch]);
      const __m256i x = _mm256_mullo_epi16(c, d);
      const __m256i bias = _mm256_add_epi16(bias_up, _mm256_and_si256(_mm256_srai_epi16(x, 15), bias_below));
      const __m256i r = _mm256_sra_epi16(_mm256_adds_epi16(x, bias), count_of_shift);
      const __m256i bytes = _mm256_packus_epi16(_mm256_adds_epi16(r, c), _mm256_setzero_si256());
      out.v[ch] = _mm256_castsi256_si128(_mm256_permute4x64_epi64(bytes, 0x08));
    }
    StoreStep(p, FromPlanes(out));
  }
  return done;
}

size_t CopyChannelFast(uint8_t* p, const uint8_t* source, size_t count, int channel) {
  // keep[k]: the bytes of the 16-byte piece k of a step that are not the channel.
  alignas(16) uint8_t keep[3][16];
  for (int k = 0; k < 3; ++k)
    for (int i = 0; i < 16; ++i) keep[k][i] = (16 * k + i) % 3 == channel ? 0 : 0xff;
  const __m128i masks[3] = {Load(keep[0]), Load(keep[1]), Load(keep[2])};
  size_t done = 0;
  if (source == nullptr) {
    for (; done + 16 <= count; done += 16, p += 48)
      for (int k = 0; k < 3; ++k) StoreU(p + 16 * k, _mm_and_si128(masks[k], LoadU(p + 16 * k)));
    return done;
  }
  for (; done + 16 <= count; done += 16, p += 48, source += 48)
    for (int k = 0; k < 3; ++k)
      StoreU(p + 16 * k, _mm_or_si128(_mm_and_si128(masks[k], LoadU(p + 16 * k)),
                                      _mm_andnot_si128(masks[k], LoadU(source + 16 * k))));
  return done;
}

OMBRIX_SSSE3 size_t ReplaceFast(uint8_t* p, size_t count, const Replacement& r) {
  // A negative tolerance matches nothing, and one of 255 or more matches every value.
  for (int ch = 0; ch < 3; ++ch)
    if (r.tolerance[ch] < 0) return count;
  alignas(16) uint8_t match[3][16], tolerance[3][16], with[3][16];
  for (int k = 0; k < 3; ++k)
    for (int i = 0; i < 16; ++i) {
      const int ch = (16 * k + i) % 3;
      match[k][i] = r.match[ch];
      tolerance[k][i] = uint8_t(std::min<int64_t>(r.tolerance[ch], 255));
      with[k][i] = r.with[ch];
    }
  const int32_t new_mean = (int32_t(r.with[0]) + r.with[1] + r.with[2]) / 3;
  // Keeping the intensity, channel ch becomes clamp(mean + with[ch] - new_mean).
  const __m128i offset[3] = {_mm_set1_epi16(int16_t(r.with[0] - new_mean)),
                             _mm_set1_epi16(int16_t(r.with[1] - new_mean)),
                             _mm_set1_epi16(int16_t(r.with[2] - new_mean))};
  const __m128i zero = _mm_setzero_si128();
  size_t done = 0;
  for (; done + 16 <= count; done += 16, p += 48) {
    const Step s = LoadStep(p);
    Step within;
    for (int k = 0; k < 3; ++k) {
      const __m128i m = Load(match[k]);
      const __m128i distance = _mm_or_si128(_mm_subs_epu8(s.v[k], m), _mm_subs_epu8(m, s.v[k]));
      within.v[k] = _mm_cmpeq_epi8(_mm_subs_epu8(distance, Load(tolerance[k])), zero);
    }
    const Step per_channel = ToPlanes(within);
    const __m128i matched = _mm_and_si128(_mm_and_si128(per_channel.v[0], per_channel.v[1]), per_channel.v[2]);
    if (_mm_movemask_epi8(matched) == 0) continue;  // nothing to write back
    const Step selected = Spread(matched);
    Step replacement;
    if (r.solid) {
      replacement = {{Load(with[0]), Load(with[1]), Load(with[2])}};
    } else {
      const Step planes = ToPlanes(s);
      __m128i lo, hi;
      Means(planes, lo, hi);
      Step result;
      for (int ch = 0; ch < 3; ++ch)
        result.v[ch] = _mm_packus_epi16(_mm_add_epi16(lo, offset[ch]), _mm_add_epi16(hi, offset[ch]));
      replacement = FromPlanes(result);
    }
    Step out;
    for (int k = 0; k < 3; ++k)
      out.v[k] = _mm_or_si128(_mm_and_si128(selected.v[k], replacement.v[k]), _mm_andnot_si128(selected.v[k], s.v[k]));
    StoreStep(p, out);
  }
  return done;
}

bool HasShuffles() {
  static const bool has = __builtin_cpu_supports("ssse3");
  return has;
}

bool HasWideVectors() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

template <MeanRule kRule>
size_t MeanArithmeticSteps(uint8_t* p, size_t count, float parameter, RowWay way) {
  if (way == RowWay::kFast && HasWideVectors()) return MeanArithmeticWide<kRule>(p, count, parameter);
  return MeanArithmeticFast<kRule>(p, count, parameter);
}

#else

bool HasShuffles() { return false; }
bool HasWideVectors() { return false; }

#endif

}  // namespace

bool FastRowsAvailable() { return HasShuffles(); }
bool WideRowsAvailable() { return HasWideVectors(); }

void PermuteRow(uint8_t* p, size_t count, const int (&from)[3], RowWay way) {
  size_t done = 0;
#if OMBRIX_PAL_SHUFFLES
  if (way != RowWay::kPlain && HasShuffles()) done = PermuteFast(p, count, from);
#endif
  PermutePlain(p + 3 * done, count - done, from);
}

void ColourByIndexRow(uint8_t* p, size_t count, ColourIndex index, const uint32_t* colours, RowWay way) {
  size_t done = 0;
#if OMBRIX_PAL_SHUFFLES
  if (way != RowWay::kPlain && HasShuffles()) done = ColourByIndexFast(p, count, index, colours);
#endif
  ColourByIndexPlain(p + 3 * done, count - done, index, colours);
}

uint8_t ArithmeticValue(const MeanArithmetic& arithmetic, int32_t mean, int32_t c) {
  return ValueWith(arithmetic, CoefficientsOf(arithmetic, mean), mean, c);
}

MeanArithmetic Checked(const MeanArithmetic& arithmetic, const kit::MeanChannelTable& table) {
  if (arithmetic.rule == MeanRule::kNone || !std::isfinite(arithmetic.parameter)) return {};
  int32_t shift = 0;
  bool negative = false;
  if (arithmetic.rule == MeanRule::kPushFromGreyShifted && !ShiftOf(arithmetic.parameter, shift, negative)) return {};
  for (int32_t mean = 0; mean < 256; ++mean) {
    const Coefficients k = CoefficientsOf(arithmetic, mean);
    // The other two channels of a pixel add up to 3 * mean + (0..2) - c, which lies in 0..510.
    const int32_t first = std::max(0, 3 * mean - 510), last = std::min(255, 3 * mean + 2);
    for (int32_t c = first; c <= last; ++c)
      if (ValueWith(arithmetic, k, mean, c) != table.value[mean][c]) return {};
  }
  return arithmetic;
}

void MeanTableRow(uint8_t* p, size_t count, const kit::MeanChannelTable& table, const MeanArithmetic& arithmetic,
                  RowWay way) {
  size_t done = 0;
#if OMBRIX_PAL_SHUFFLES
  if (way != RowWay::kPlain && HasShuffles()) {
    switch (arithmetic.rule) {
      case MeanRule::kInvertIntensity:
        done = MeanArithmeticSteps<MeanRule::kInvertIntensity>(p, count, arithmetic.parameter, way);
        break;
      case MeanRule::kAddMean:
        done = MeanArithmeticSteps<MeanRule::kAddMean>(p, count, arithmetic.parameter, way);
        break;
      case MeanRule::kPushFromGrey:
        done = MeanArithmeticSteps<MeanRule::kPushFromGrey>(p, count, arithmetic.parameter, way);
        break;
      case MeanRule::kAddRoundedMean:
        done = AddRoundedMeanFast(p, count, arithmetic.parameter);
        break;
      case MeanRule::kPushFromGreyShifted:
        // Only eight-lane processors take this rule's steps; others run the plain loop.
        if (way == RowWay::kFast && HasWideVectors()) done = PushFromGreyShiftedWide(p, count, arithmetic.parameter);
        break;
      case MeanRule::kNone:
        done = MeanTableFast(p, count, table);
        break;
    }
  }
#endif
  MeanTablePlain(p + 3 * done, count - done, table);
}

void CopyChannelRow(uint8_t* p, const uint8_t* source, size_t count, int channel, RowWay way) {
  size_t done = 0;
#if OMBRIX_PAL_SHUFFLES
  if (way != RowWay::kPlain) done = CopyChannelFast(p, source, count, channel);
#endif
  CopyChannelPlain(p + 3 * done, source != nullptr ? source + 3 * done : nullptr, count - done, channel);
}

void ReplaceRow(uint8_t* p, size_t count, const Replacement& replacement, RowWay way) {
  size_t done = 0;
#if OMBRIX_PAL_SHUFFLES
  if (way != RowWay::kPlain && HasShuffles()) done = ReplaceFast(p, count, replacement);
#endif
  ReplacePlain(p + 3 * done, count - done, replacement);
}

}  // namespace ombrix::pal
