// The plain per-pixel loops, and the 16-pixel steps: a step loads 48 bytes as three vectors,
// gathers them into one vector per channel (planes) where the rule needs whole pixels, and
// either computes the result in vectors or computes table indexes in vectors and reads the
// results from the filter's table into the row. Which loops run follows the level in force
// (core/kit/simd.h).
#include "plugins/pal/pixel_rows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/kit/simd.h"
#include "plugins/pal/mean_lanes.h"

namespace ombrix::pal {
namespace {

using kit::kBlue;
using kit::kGreen;
using kit::kRed;
using kit::simd::Level;
using kit::simd::Uses;

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

#if OMBRIX_SIMD_X86

using lanes::FromPlanes;
using lanes::Gather3;
using lanes::kShuffleZero;
using lanes::LoadPixels16;
using lanes::Means;
using lanes::Pixels16;
using lanes::Spread;
using lanes::StorePixels16;
using lanes::Sums;
using lanes::ToPlanes;

OMBRIX_TARGET_SSSE3 size_t PermuteFast(uint8_t* p, size_t count, const int (&from)[3]) {
  // Result byte i of a step is channel i % 3 of pixel i / 3, which comes from byte
  // 3 * (i / 3) + from[i % 3] of the same step.
  alignas(16) uint8_t index[3][3][16];
  for (int v = 0; v < 3; ++v)
    for (int source = 0; source < 3; ++source)
      for (int i = 0; i < 16; ++i) {
        const int pos = 16 * v + i;
        const int at = 3 * (pos / 3) + from[pos % 3];
        index[v][source][i] = at / 16 == source ? uint8_t(at % 16) : kShuffleZero;
      }
  size_t done = 0;
  for (; done + 16 <= count; done += 16, p += 48) {
    const Pixels16 s = LoadPixels16(p);
    StorePixels16(p, {{Gather3(s.v, index[0]), Gather3(s.v, index[1]), Gather3(s.v, index[2])}});
  }
  return done;
}

OMBRIX_TARGET_SSSE3 size_t ColourByIndexFast(uint8_t* p, size_t count, ColourIndex index, const uint32_t* colours) {
  alignas(16) uint16_t at[16];
  const __m128i zero = _mm_setzero_si128();
  size_t done = 0;
  for (; done + 16 <= count; done += 16, p += 48) {
    const Pixels16 planes = ToPlanes(LoadPixels16(p));
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
      std::memcpy(p + 3 * size_t(i), &c, 4);
    }
    const uint32_t last = colours[at[15]];
    p[45] = uint8_t(last);
    p[46] = uint8_t(last >> 8);
    p[47] = uint8_t(last >> 16);
  }
  return done;
}

OMBRIX_TARGET_SSSE3 size_t MeanTableFast(uint8_t* p, size_t count, const kit::MeanChannelTable& table) {
  const uint8_t* const values = &table.value[0][0];
  alignas(16) uint16_t at[3][16];  // [channel][pixel]: mean * 256 + channel value
  const __m128i zero = _mm_setzero_si128();
  size_t done = 0;
  for (; done + 16 <= count; done += 16, p += 48) {
    const Pixels16 planes = ToPlanes(LoadPixels16(p));
    __m128i lo, hi;
    Means(planes, lo, hi);
    lo = _mm_slli_epi16(lo, 8);
    hi = _mm_slli_epi16(hi, 8);
    for (int ch = 0; ch < 3; ++ch) {
      _mm_store_si128(reinterpret_cast<__m128i*>(at[ch]), _mm_or_si128(lo, _mm_unpacklo_epi8(planes.v[ch], zero)));
      _mm_store_si128(reinterpret_cast<__m128i*>(at[ch] + 8), _mm_or_si128(hi, _mm_unpackhi_epi8(planes.v[ch], zero)));
    }
    for (size_t i = 0; i < 16; ++i) {
      p[3 * i] = values[at[0][i]];
      p[3 * i + 1] = values[at[1][i]];
      p[3 * i + 2] = values[at[2][i]];
    }
  }
  return done;
}

// Overexposure's rounded offsets: B = round(mean / Intensity) per pixel, from the same single-
// precision quotient as CoefficientsOf, then every byte of the pixel becomes clamp(c + B) with
// saturating byte arithmetic (adding max(B, 0), then subtracting max(-B, 0)).
template <bool kZeroParameter>
OMBRIX_TARGET_SSSE3 inline __m128 QuarterOffsets(__m128i m32, __m128 parameter) {
  const __m128 m = _mm_cvtepi32_ps(m32);
  if constexpr (kZeroParameter) return _mm_and_ps(_mm_cmpgt_ps(m, _mm_setzero_ps()), _mm_set1_ps(1024.0f));
  return _mm_min_ps(_mm_max_ps(_mm_div_ps(m, parameter), _mm_set1_ps(-1024.0f)), _mm_set1_ps(1024.0f));
}

template <bool kZeroParameter>
OMBRIX_TARGET_SSSE3 inline __m128i RoundedOffsets(__m128i means, __m128 parameter) {
  const __m128i zero = _mm_setzero_si128();
  return _mm_packs_epi32(
      RoundedLanes<lanes::Floats4>(QuarterOffsets<kZeroParameter>(_mm_unpacklo_epi16(means, zero), parameter)),
      RoundedLanes<lanes::Floats4>(QuarterOffsets<kZeroParameter>(_mm_unpackhi_epi16(means, zero), parameter)));
}

template <bool kZeroParameter>
OMBRIX_TARGET_SSSE3 size_t AddRoundedMeanSteps(uint8_t* p, size_t count, float parameter) {
  const __m128i zero = _mm_setzero_si128();
  const __m128 divisor = _mm_set1_ps(parameter);
  size_t done = 0;
  for (; done + 16 <= count; done += 16, p += 48) {
    const Pixels16 s = LoadPixels16(p);
    __m128i low_means, high_means;
    Means(ToPlanes(s), low_means, high_means);
    const __m128i low = RoundedOffsets<kZeroParameter>(low_means, divisor);  // |B| <= 1024
    const __m128i high = RoundedOffsets<kZeroParameter>(high_means, divisor);
    const Pixels16 up = Spread(_mm_packus_epi16(low, high));
    const Pixels16 down = Spread(_mm_packus_epi16(_mm_sub_epi16(zero, low), _mm_sub_epi16(zero, high)));
    StorePixels16(p, {{_mm_subs_epu8(_mm_adds_epu8(s.v[0], up.v[0]), down.v[0]),
                       _mm_subs_epu8(_mm_adds_epu8(s.v[1], up.v[1]), down.v[1]),
                       _mm_subs_epu8(_mm_adds_epu8(s.v[2], up.v[2]), down.v[2])}});
  }
  return done;
}

OMBRIX_TARGET_SSSE3 size_t AddRoundedMeanFast(uint8_t* p, size_t count, float parameter) {
  return parameter == 0 ? AddRoundedMeanSteps<true>(p, count, parameter)
                        : AddRoundedMeanSteps<false>(p, count, parameter);
}

size_t CopyChannelFast(uint8_t* p, const uint8_t* source, size_t count, int channel) {
  // keep[k]: the bytes of the 16-byte piece k of a step that are not the channel.
  alignas(16) uint8_t keep[3][16];
  for (int k = 0; k < 3; ++k)
    for (int i = 0; i < 16; ++i) keep[k][i] = (16 * k + i) % 3 == channel ? 0 : 0xff;
  const __m128i masks[3] = {lanes::LoadIndex(keep[0]), lanes::LoadIndex(keep[1]), lanes::LoadIndex(keep[2])};
  size_t done = 0;
  if (source == nullptr) {
    for (; done + 16 <= count; done += 16, p += 48)
      for (int k = 0; k < 3; ++k)
        lanes::Lanes16::Store(p + 16 * size_t(k), _mm_and_si128(masks[k], lanes::Lanes16::Load(p + 16 * size_t(k))));
    return done;
  }
  for (; done + 16 <= count; done += 16, p += 48, source += 48)
    for (int k = 0; k < 3; ++k)
      lanes::Lanes16::Store(p + 16 * size_t(k),
                            _mm_or_si128(_mm_and_si128(masks[k], lanes::Lanes16::Load(p + 16 * size_t(k))),
                                         _mm_andnot_si128(masks[k], lanes::Lanes16::Load(source + 16 * size_t(k)))));
  return done;
}

OMBRIX_TARGET_SSSE3 size_t ReplaceFast(uint8_t* p, size_t count, const Replacement& r) {
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
    const Pixels16 s = LoadPixels16(p);
    Pixels16 within;
    for (int k = 0; k < 3; ++k) {
      const __m128i m = lanes::LoadIndex(match[k]);
      const __m128i distance = _mm_or_si128(_mm_subs_epu8(s.v[k], m), _mm_subs_epu8(m, s.v[k]));
      within.v[k] = _mm_cmpeq_epi8(_mm_subs_epu8(distance, lanes::LoadIndex(tolerance[k])), zero);
    }
    const Pixels16 per_channel = ToPlanes(within);
    const __m128i matched = _mm_and_si128(_mm_and_si128(per_channel.v[0], per_channel.v[1]), per_channel.v[2]);
    if (_mm_movemask_epi8(matched) == 0) continue;  // nothing to write back
    const Pixels16 selected = Spread(matched);
    Pixels16 replacement;
    if (r.solid) {
      replacement = {{lanes::LoadIndex(with[0]), lanes::LoadIndex(with[1]), lanes::LoadIndex(with[2])}};
    } else {
      const Pixels16 planes = ToPlanes(s);
      __m128i lo, hi;
      Means(planes, lo, hi);
      Pixels16 result;
      for (int ch = 0; ch < 3; ++ch)
        result.v[ch] = _mm_packus_epi16(_mm_add_epi16(lo, offset[ch]), _mm_add_epi16(hi, offset[ch]));
      replacement = FromPlanes(result);
    }
    Pixels16 out;
    for (int k = 0; k < 3; ++k)
      out.v[k] = _mm_or_si128(_mm_and_si128(selected.v[k], replacement.v[k]), _mm_andnot_si128(selected.v[k], s.v[k]));
    StorePixels16(p, out);
  }
  return done;
}

#endif

}  // namespace

void PermuteRow(uint8_t* p, size_t count, const int (&from)[3]) {
  size_t done = 0;
#if OMBRIX_SIMD_X86
  if (Uses(Level::kSsse3)) done = PermuteFast(p, count, from);
#endif
  PermutePlain(p + 3 * done, count - done, from);
}

void ColourByIndexRow(uint8_t* p, size_t count, ColourIndex index, const uint32_t* colours) {
  size_t done = 0;
#if OMBRIX_SIMD_X86
  if (Uses(Level::kSsse3)) done = ColourByIndexFast(p, count, index, colours);
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

void MeanTableRow(uint8_t* p, size_t count, const kit::MeanChannelTable& table, const MeanArithmetic& arithmetic) {
  size_t done = 0;
#if OMBRIX_SIMD_X86
  if (Uses(Level::kSsse3)) {
    const bool wide = Uses(Level::kAvx2);
    switch (arithmetic.rule) {
      case MeanRule::kInvertIntensity:
      case MeanRule::kAddMean:
      case MeanRule::kPushFromGrey:
        done = wide ? MeanArithmeticAvx2(arithmetic.rule, p, count, arithmetic.parameter)
                    : MeanArithmeticSteps<lanes::Floats4>(arithmetic.rule, p, count, arithmetic.parameter);
        break;
      case MeanRule::kAddRoundedMean:
        done = AddRoundedMeanFast(p, count, arithmetic.parameter);
        break;
      case MeanRule::kPushFromGreyShifted: {
        // Only eight-lane processors take this rule's steps; others run the plain loop.
        int32_t shift = 0;
        bool negative = false;
        if (wide && ShiftOf(arithmetic.parameter, shift, negative))
          done = PushFromGreyShiftedAvx2(p, count, shift, negative);
        break;
      }
      case MeanRule::kNone:
        done = MeanTableFast(p, count, table);
        break;
    }
  }
#endif
  MeanTablePlain(p + 3 * done, count - done, table);
}

void CopyChannelRow(uint8_t* p, const uint8_t* source, size_t count, int channel) {
  size_t done = 0;
#if OMBRIX_SIMD_X86
  if (Uses(Level::kSse2)) done = CopyChannelFast(p, source, count, channel);
#endif
  CopyChannelPlain(p + 3 * done, source != nullptr ? source + 3 * done : nullptr, count - done, channel);
}

void ReplaceRow(uint8_t* p, size_t count, const Replacement& replacement) {
  size_t done = 0;
#if OMBRIX_SIMD_X86
  if (Uses(Level::kSsse3)) done = ReplaceFast(p, count, replacement);
#endif
  ReplacePlain(p + 3 * done, count - done, replacement);
}

}  // namespace ombrix::pal
