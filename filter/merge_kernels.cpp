// The fast merge's row kernels: a scalar loop that every processor runs, an SSE2 loop and, where
// the processor has it, an AVX2 loop for the bulk of a row. All three give the same bytes.
#include "filter/merge_kernels.h"

#include <algorithm>
#include <cmath>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define OMBRIX_X86_KERNELS 1
#endif

namespace ombrix::engine {
namespace {

constexpr float kC = 1.0f / 255.0f;  // the single-precision value nearest to 1/255
constexpr int16_t kReciprocal255 = int16_t(32897);  // n / 255 = (n * 32897) >> 23 for 0 <= n <= 65535

inline int DivideBy255(int n) { return (n * 32897) >> 23; }

KernelLevel BestLevel() {
#if defined(OMBRIX_X86_KERNELS)
  if (__builtin_cpu_supports("avx2")) return KernelLevel::kAvx2;
  return KernelLevel::kSse2;  // part of every x86-64 processor
#else
  return KernelLevel::kScalar;
#endif
}

KernelLevel g_level = BestLevel();

#if defined(OMBRIX_X86_KERNELS)
// ---- SSE2: 16 bytes a step ---------------------------------------------------------------------

// -v in the lanes where negative is all ones, v elsewhere.
inline __m128i FlipSign(__m128i v, __m128i negative) { return _mm_sub_epi16(_mm_xor_si128(v, negative), negative); }

inline __m128i GradualHalf(__m128i in16, __m128i out16, __m128i k16) {
  const __m128i d = _mm_sub_epi16(out16, in16);
  const __m128i negative = _mm_cmplt_epi16(d, _mm_setzero_si128());
  const __m128i product = _mm_mullo_epi16(FlipSign(d, negative), k16);  // at most 65025, unsigned
  const __m128i quotient = _mm_srli_epi16(_mm_mulhi_epu16(product, _mm_set1_epi16(kReciprocal255)), 7);
  return _mm_add_epi16(in16, FlipSign(quotient, negative));
}

size_t GradualSse2(const uint8_t* input, uint8_t* work, const uint8_t* weights, size_t n) {
  const __m128i zero = _mm_setzero_si128();
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(input + i));
    const __m128i out = _mm_loadu_si128(reinterpret_cast<const __m128i*>(work + i));
    const __m128i k = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + i));
    const __m128i low = GradualHalf(_mm_unpacklo_epi8(in, zero), _mm_unpacklo_epi8(out, zero), _mm_unpacklo_epi8(k, zero));
    const __m128i high = GradualHalf(_mm_unpackhi_epi8(in, zero), _mm_unpackhi_epi8(out, zero), _mm_unpackhi_epi8(k, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(work + i), _mm_packus_epi16(low, high));
  }
  return i;
}

size_t ThresholdSse2(const uint8_t* input, uint8_t* work, const uint8_t* keep, size_t n) {
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(input + i));
    const __m128i out = _mm_loadu_si128(reinterpret_cast<const __m128i*>(work + i));
    const __m128i k = _mm_loadu_si128(reinterpret_cast<const __m128i*>(keep + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(work + i), _mm_or_si128(_mm_and_si128(k, in), _mm_andnot_si128(k, out)));
  }
  return i;
}

inline __m128i BlendHalf(__m128i b16, __m128i t16, __m128i m) {
  const __m128i d = _mm_sub_epi16(t16, b16);
  const __m128i negative = _mm_cmplt_epi16(d, _mm_setzero_si128());
  // The shift never exceeds |d|, so the sum stays within 0..255.
  return _mm_add_epi16(b16, FlipSign(_mm_mulhi_epu16(FlipSign(d, negative), m), negative));
}

size_t BlendSse2(const uint8_t* base, const uint8_t* toward, uint8_t* input, uint8_t* work, uint16_t multiplier,
                 size_t n) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i m = _mm_set1_epi16(int16_t(multiplier));
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i));
    const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(toward + i));
    const __m128i merged = _mm_packus_epi16(BlendHalf(_mm_unpacklo_epi8(b, zero), _mm_unpacklo_epi8(t, zero), m),
                                            BlendHalf(_mm_unpackhi_epi8(b, zero), _mm_unpackhi_epi8(t, zero), m));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(input + i), merged);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(work + i), merged);
  }
  return i;
}

// ---- AVX2: 32 bytes a step; unpacking and packing stay within each 16-byte lane, so the
// bytes come back in their order ----------------------------------------------------------------

#define OMBRIX_AVX2 __attribute__((target("avx2")))

OMBRIX_AVX2 inline __m256i FlipSign256(__m256i v, __m256i negative) {
  return _mm256_sub_epi16(_mm256_xor_si256(v, negative), negative);
}

OMBRIX_AVX2 inline __m256i GradualHalf256(__m256i in16, __m256i out16, __m256i k16) {
  const __m256i d = _mm256_sub_epi16(out16, in16);
  const __m256i negative = _mm256_cmpgt_epi16(_mm256_setzero_si256(), d);
  const __m256i product = _mm256_mullo_epi16(FlipSign256(d, negative), k16);
  const __m256i quotient = _mm256_srli_epi16(_mm256_mulhi_epu16(product, _mm256_set1_epi16(kReciprocal255)), 7);
  return _mm256_add_epi16(in16, FlipSign256(quotient, negative));
}

OMBRIX_AVX2 size_t GradualAvx2(const uint8_t* input, uint8_t* work, const uint8_t* weights, size_t n) {
  const __m256i zero = _mm256_setzero_si256();
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i in = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(input + i));
    const __m256i out = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(work + i));
    const __m256i k = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + i));
    const __m256i low =
        GradualHalf256(_mm256_unpacklo_epi8(in, zero), _mm256_unpacklo_epi8(out, zero), _mm256_unpacklo_epi8(k, zero));
    const __m256i high =
        GradualHalf256(_mm256_unpackhi_epi8(in, zero), _mm256_unpackhi_epi8(out, zero), _mm256_unpackhi_epi8(k, zero));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(work + i), _mm256_packus_epi16(low, high));
  }
  return i;
}

OMBRIX_AVX2 size_t ThresholdAvx2(const uint8_t* input, uint8_t* work, const uint8_t* keep, size_t n) {
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i in = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(input + i));
    const __m256i out = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(work + i));
    const __m256i k = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(keep + i));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(work + i), _mm256_blendv_epi8(out, in, k));
  }
  return i;
}

OMBRIX_AVX2 inline __m256i BlendHalf256(__m256i b16, __m256i t16, __m256i m) {
  const __m256i d = _mm256_sub_epi16(t16, b16);
  const __m256i negative = _mm256_cmpgt_epi16(_mm256_setzero_si256(), d);
  return _mm256_add_epi16(b16, FlipSign256(_mm256_mulhi_epu16(FlipSign256(d, negative), m), negative));
}

OMBRIX_AVX2 size_t BlendAvx2(const uint8_t* base, const uint8_t* toward, uint8_t* input, uint8_t* work,
                             uint16_t multiplier, size_t n) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i m = _mm256_set1_epi16(int16_t(multiplier));
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + i));
    const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(toward + i));
    const __m256i merged =
        _mm256_packus_epi16(BlendHalf256(_mm256_unpacklo_epi8(b, zero), _mm256_unpacklo_epi8(t, zero), m),
                            BlendHalf256(_mm256_unpackhi_epi8(b, zero), _mm256_unpackhi_epi8(t, zero), m));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(input + i), merged);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(work + i), merged);
  }
  return i;
}
#endif

}  // namespace

KernelLevel SetKernelLevel(KernelLevel level) {
  g_level = std::min(level, BestLevel());
  return g_level;
}

KernelLevel CurrentKernelLevel() { return g_level; }

void GradualMaskRow(const uint8_t* input, uint8_t* work, const uint8_t* weights, size_t n) {
  size_t i = 0;
#if defined(OMBRIX_X86_KERNELS)
  if (g_level >= KernelLevel::kAvx2) i = GradualAvx2(input, work, weights, n);
  if (g_level >= KernelLevel::kSse2) i += GradualSse2(input + i, work + i, weights + i, n - i);
#endif
  for (; i < n; ++i) {
    const int d = int(work[i]) - int(input[i]);
    const int q = DivideBy255((d < 0 ? -d : d) * weights[i]);
    work[i] = uint8_t(input[i] + (d < 0 ? -q : q));
  }
}

void ThresholdMaskRow(const uint8_t* input, uint8_t* work, const uint8_t* keep, size_t n) {
  size_t i = 0;
#if defined(OMBRIX_X86_KERNELS)
  if (g_level >= KernelLevel::kAvx2) i = ThresholdAvx2(input, work, keep, n);
  if (g_level >= KernelLevel::kSse2) i += ThresholdSse2(input + i, work + i, keep + i, n - i);
#endif
  for (; i < n; ++i) work[i] = uint8_t((keep[i] & input[i]) | (~keep[i] & work[i]));
}

AlphaBlend::AlphaBlend(float alpha) {
  const long double l = 255.0L - 255.0L * static_cast<long double>(alpha);
  from_input_ = l >= 0;
  const long double weight = from_input_ ? l : -l;
  for (int d = -255; d <= 255; ++d)
    shift_[d + 255] = int16_t(std::trunc(static_cast<long double>(d) * weight * kC));
  // The table is odd (a negative difference gives the negated shift), so a multiplier that
  // reproduces it for 0..255 reproduces it everywhere. Look for the smallest m with
  // (a * m) >> 16 == shift(a) for every a, within the 16 bits the vector multiply takes.
  long long low = 0, high = 65535;
  for (int a = 1; a <= 255 && low <= high; ++a) {
    const long long t = shift_[a + 255];
    if (t < 0) return;
    low = std::max(low, (t * 65536 + a - 1) / a);
    high = std::min(high, ((t + 1) * 65536 - 1) / a);
  }
  if (low > high) return;
  multiplier_ = uint16_t(low);
  has_multiplier_ = true;
  for (int a = 0; a <= 255 && has_multiplier_; ++a) has_multiplier_ = ((a * long(multiplier_)) >> 16) == shift_[a + 255];
}

uint8_t AlphaBlend::Merged(uint8_t input, uint8_t work) const {
  return from_input_ ? uint8_t(input + shift_[work - input + 255]) : uint8_t(work + shift_[input - work + 255]);
}

void AlphaBlend::Row(uint8_t* input, uint8_t* work, size_t n) const {
  size_t i = 0;
#if defined(OMBRIX_X86_KERNELS)
  if (has_multiplier_) {
    // The byte the shift is added to, and the byte it moves toward.
    const uint8_t* base = from_input_ ? input : work;
    const uint8_t* toward = from_input_ ? work : input;
    if (g_level >= KernelLevel::kAvx2) i = BlendAvx2(base, toward, input, work, multiplier_, n);
    if (g_level >= KernelLevel::kSse2) i += BlendSse2(base + i, toward + i, input + i, work + i, multiplier_, n - i);
  }
#endif
  for (; i < n; ++i) work[i] = input[i] = Merged(input[i], work[i]);
}

}  // namespace ombrix::engine
