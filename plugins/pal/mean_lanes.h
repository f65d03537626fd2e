// The mean-table rules (pixel_rows.h) as single-precision vector loops, written once for four and
// eight float lanes (core/kit/simd_lanes.h): pixel_rows.cpp runs them with four lanes (SSSE3),
// pixel_rows_avx2.cpp, compiled for AVX2, with eight. The byte shuffles and the means stay 16
// bytes wide at both widths; lane for lane both do the same operations, so they give the same
// bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/kit/simd_lanes.h"
#include "plugins/pal/pixel_rows.h"

namespace ombrix::pal {

#if OMBRIX_SIMD_X86
inline namespace OMBRIX_LANES_NAMESPACE {

namespace lanes = kit::simd;

// Limiting Contrast's factor to -1024..1024 changes no result (every value beyond clamps alike)
// and keeps the products within the int32 range; written out, as std::min and std::max would be
// functions of their own.
inline float Limited(float parameter) {
  const float low = parameter < -1024.0f ? -1024.0f : parameter;
  return 1024.0f < low ? 1024.0f : low;
}

// The rounding rule as the vectors take it: truncation of v + 0.5 for v >= 0, of v below.
template <class F>
inline typename F::Ints RoundedLanes(typename F::Reg v) {
  return F::Truncated(F::Add(v, F::And(F::GreaterOrEqual(v, F::Zero()), F::Set1(0.5f))));
}

// Eight pixels (words of their means and of their three channels) to eight result words per
// channel: the coefficients a (or b) of each pixel from its mean, then per channel the rounded
// x * a (or x + b).
template <class F, MeanRule kRule>
OMBRIX_TARGET_SSSE3 inline void MeanHalf(__m128i means, const __m128i (&c16)[3], float parameter, __m128i (&out)[3]) {
  using Reg = typename F::Reg;
  constexpr int kParts = F::kParts;
  Reg a[kParts], b[kParts];
  for (int part = 0; part < kParts; ++part) {
    const Reg m = F::FromInts(F::WordsUnsigned(means, part));
    a[part] = b[part] = F::Zero();
    if constexpr (kRule == MeanRule::kInvertIntensity) {
      // A black pixel becomes white (below); otherwise q = (255 - mean) / mean scales it.
      a[part] = F::AndNot(F::Equal(m, F::Zero()), F::Div(F::Sub(F::Set1(255.0f), m), m));
    } else if constexpr (kRule == MeanRule::kAddMean) {
      if (parameter == 0)
        b[part] = F::And(F::Greater(m, F::Zero()), F::Set1(1024.0f));
      else
        b[part] = F::Min(F::Max(F::Div(m, F::Set1(parameter)), F::Set1(-1024.0f)), F::Set1(1024.0f));
    } else {
      a[part] = F::Set1(Limited(parameter));
    }
  }
  for (int ch = 0; ch < 3; ++ch) {
    // |c * (mean - 128)| <= 32640 fits a word.
    const __m128i x16 = kRule == MeanRule::kPushFromGrey
                            ? _mm_mullo_epi16(c16[ch], _mm_sub_epi16(means, _mm_set1_epi16(128)))
                            : c16[ch];
    typename F::Ints r[kParts];
    for (int part = 0; part < kParts; ++part) {
      const Reg x =
          F::FromInts(kRule == MeanRule::kPushFromGrey ? F::WordsSigned(x16, part) : F::WordsUnsigned(x16, part));
      if constexpr (kRule == MeanRule::kInvertIntensity)  // c * q >= 0: the rounding adds 0.5 throughout
        r[part] = F::Truncated(F::Add(F::Mul(x, a[part]), F::Set1(0.5f)));
      else if constexpr (kRule == MeanRule::kAddMean)
        r[part] = RoundedLanes<F>(F::Add(x, b[part]));
      else
        r[part] = RoundedLanes<F>(F::Mul(x, a[part]));
    }
    out[ch] = F::PackedWords(r);
    if constexpr (kRule == MeanRule::kPushFromGrey) out[ch] = _mm_adds_epi16(out[ch], c16[ch]);
    if constexpr (kRule == MeanRule::kInvertIntensity)
      out[ch] = _mm_or_si128(out[ch], _mm_and_si128(_mm_cmpeq_epi16(means, _mm_setzero_si128()), _mm_set1_epi16(255)));
  }
}

// The rule over the whole 16-pixel steps of a row; returns the pixels done.
template <class F, MeanRule kRule>
OMBRIX_TARGET_SSSE3 size_t MeanArithmeticLoop(uint8_t* p, size_t count, float parameter) {
  const __m128i zero = _mm_setzero_si128();
  size_t done = 0;
  for (; done + 16 <= count; done += 16, p += 48) {
    const lanes::Pixels16 planes = lanes::ToPlanes(lanes::LoadPixels16(p));
    __m128i low_means, high_means;
    lanes::Means(planes, low_means, high_means);
    const __m128i low[3] = {_mm_unpacklo_epi8(planes.v[0], zero), _mm_unpacklo_epi8(planes.v[1], zero),
                            _mm_unpacklo_epi8(planes.v[2], zero)};
    const __m128i high[3] = {_mm_unpackhi_epi8(planes.v[0], zero), _mm_unpackhi_epi8(planes.v[1], zero),
                             _mm_unpackhi_epi8(planes.v[2], zero)};
    __m128i low_out[3], high_out[3];
    MeanHalf<F, kRule>(low_means, low, parameter, low_out);
    MeanHalf<F, kRule>(high_means, high, parameter, high_out);
    lanes::StorePixels16(
        p, lanes::FromPlanes({{_mm_packus_epi16(low_out[0], high_out[0]), _mm_packus_epi16(low_out[1], high_out[1]),
                               _mm_packus_epi16(low_out[2], high_out[2])}}));
  }
  return done;
}

// The loop for a rule chosen at run time (kInvertIntensity, kAddMean or kPushFromGrey; 0 pixels
// for any other).
template <class F>
OMBRIX_TARGET_SSSE3 size_t MeanArithmeticSteps(MeanRule rule, uint8_t* p, size_t count, float parameter) {
  switch (rule) {
    case MeanRule::kInvertIntensity:
      return MeanArithmeticLoop<F, MeanRule::kInvertIntensity>(p, count, parameter);
    case MeanRule::kAddMean:
      return MeanArithmeticLoop<F, MeanRule::kAddMean>(p, count, parameter);
    case MeanRule::kPushFromGrey:
      return MeanArithmeticLoop<F, MeanRule::kPushFromGrey>(p, count, parameter);
    default:
      return 0;
  }
}

}  // namespace OMBRIX_LANES_NAMESPACE

// Eight lanes (pixel_rows_avx2.cpp); call only where kit::simd::Uses(Level::kAvx2).
size_t MeanArithmeticAvx2(MeanRule rule, uint8_t* p, size_t count, float parameter);
// Contrast with the factor sign * 2^-shift (shift 0..14) in 16 words to a register, the integer
// rule of kPushFromGreyShifted; AVX2 only, so its plain twin is the per-pixel table.
size_t PushFromGreyShiftedAvx2(uint8_t* p, size_t count, int32_t shift, bool negative);
#endif

}  // namespace ombrix::pal
