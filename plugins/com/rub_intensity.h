// Rub's set-intensity step for byte pixels and byte levels: kit::SetIntensity without the checks
// its general form needs. With c and level bytes and mean >= 1, q x c lies in 0..65025, where
// the rounding rule reduces to "one more when the fraction is at least a half" and the clamp can
// only meet 255; where the level in force (core/kit/simd.h) allows SSE2 the three channels are
// scaled side by side, rounding as the scalar single-precision arithmetic rounds.
#pragma once

#include <cstdint>

#include "core/kit/pixel_math.h"
#include "core/kit/simd.h"

#if OMBRIX_SIMD_X86
#include <emmintrin.h>
#endif

namespace ombrix::com {

inline void SetByteIntensity(uint8_t* bgr, int32_t level) {
  const int32_t b = bgr[0], g = bgr[1], r = bgr[2];
  const int32_t mean = (b + g + r) / 3;
  if (mean == 0 || level == 0) {
    // A black pixel becomes grey `level`; level 0 makes the pixel black.
    const uint8_t v = mean == 0 ? uint8_t(level) : uint8_t(0);
    bgr[0] = v, bgr[1] = v, bgr[2] = v;
    return;
  }
  const float q = float(level) / float(mean);
#if OMBRIX_SIMD_X86
  if (kit::simd::Uses(kit::simd::Level::kSse2)) {
    const __m128 scaled = _mm_mul_ps(_mm_set1_ps(q), _mm_cvtepi32_ps(_mm_setr_epi32(b, g, r, 0)));
    const __m128i whole = _mm_cvttps_epi32(scaled);
    const __m128 fraction = _mm_sub_ps(scaled, _mm_cvtepi32_ps(whole));
    // whole - (-1) where the fraction is at least a half.
    const __m128i rounded = _mm_sub_epi32(whole, _mm_castps_si128(_mm_cmpge_ps(fraction, _mm_set1_ps(0.5f))));
    // Saturating packs: 0..65026 becomes min(v, 255).
    const __m128i words = _mm_packs_epi32(rounded, rounded);
    const uint32_t bytes = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
    bgr[0] = uint8_t(bytes), bgr[1] = uint8_t(bytes >> 8), bgr[2] = uint8_t(bytes >> 16);
    return;
  }
#endif
  const int32_t channels[3] = {b, g, r};
  for (int i = 0; i < 3; ++i) {
    const float v = q * float(channels[i]);
    const int32_t t = int32_t(v);
    const int32_t rounded = v - float(t) >= 0.5f ? t + 1 : t;
    bgr[i] = uint8_t(rounded > 255 ? 255 : rounded);
  }
}

}  // namespace ombrix::com
