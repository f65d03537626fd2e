// The palette rows' loops at AVX2 width. Only this file is compiled for AVX2, and its functions
// run only where the processor offers it; it includes the loop templates and nothing else, so no
// function compiled here can stand in for a baseline one.
#include "plugins/pal/mean_lanes.h"

#if defined(__AVX2__)

namespace ombrix::pal {

size_t MeanArithmeticAvx2(MeanRule rule, uint8_t* p, size_t count, float parameter) {
  return MeanArithmeticSteps<kit::simd::Floats8>(rule, p, count, parameter);
}

size_t PushFromGreyShiftedAvx2(uint8_t* p, size_t count, int32_t shift, bool negative) {
  // The rounding of x * k is (x + bias) >> shift, the bias half of 2^shift for x >= 0 and
  // 2^shift - 1 below (which makes the shift truncate toward zero).
  const __m256i grey = _mm256_set1_epi16(128), sign = _mm256_set1_epi16(negative ? -1 : 1);
  const int32_t half = (1 << shift) >> 1;
  const __m256i bias_up = _mm256_set1_epi16(int16_t(half)),
                bias_below = _mm256_set1_epi16(int16_t((1 << shift) - 1 - half));
  const __m128i count_of_shift = _mm_cvtsi32_si128(shift);
  size_t done = 0;
  for (; done + 16 <= count; done += 16, p += 48) {
    const lanes::Pixels16 planes = lanes::ToPlanes(lanes::LoadPixels16(p));
    __m128i low_means, high_means;
    lanes::Means(planes, low_means, high_means);
    // |c * (mean - 128)| <= 32640 fits a word.
    const __m256i d = _mm256_sign_epi16(_mm256_sub_epi16(_mm256_set_m128i(high_means, low_means), grey), sign);
    lanes::Pixels16 out;
    for (int ch = 0; ch < 3; ++ch) {
      const __m256i c = _mm256_cvtepu8_epi16(planes.v[ch]);
      const __m256i x = _mm256_mullo_epi16(c, d);
      const __m256i bias = _mm256_add_epi16(bias_up, _mm256_and_si256(_mm256_srai_epi16(x, 15), bias_below));
      const __m256i r = _mm256_sra_epi16(_mm256_adds_epi16(x, bias), count_of_shift);
      const __m256i bytes = _mm256_packus_epi16(_mm256_adds_epi16(r, c), _mm256_setzero_si256());
      out.v[ch] = _mm256_castsi256_si128(_mm256_permute4x64_epi64(bytes, 0x08));
    }
    lanes::StorePixels16(p, lanes::FromPlanes(out));
  }
  return done;
}

}  // namespace ombrix::pal

#endif
