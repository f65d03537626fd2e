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

constexpr float kC = 1.0f / 255.0f;                 // the single-precision value nearest to 1/255
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

// The merged bytes base + truncate(sign(toward - base) * q) for the magnitudes q that scale
// (toward - base): the sign is taken from the saturated differences, so the arithmetic stays in
// bytes. Where toward <= base, down is all ones and q comes out negated (or stays 0).
inline __m128i TowardBy(__m128i base, __m128i up, __m128i q) {
  const __m128i down = _mm_cmpeq_epi8(up, _mm_setzero_si128());
  return _mm_add_epi8(base, _mm_sub_epi8(_mm_xor_si128(q, down), down));
}

// |a - b| * k / 255 for 8 lanes of 16 bits (the product is at most 65025).
inline __m128i ScaledQuotient(__m128i a16, __m128i k16) {
  return _mm_srli_epi16(_mm_mulhi_epu16(_mm_mullo_epi16(a16, k16), _mm_set1_epi16(kReciprocal255)), 7);
}

inline __m128i GradualBytes(__m128i in, __m128i out, __m128i k) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i up = _mm_subs_epu8(out, in);
  const __m128i a = _mm_or_si128(up, _mm_subs_epu8(in, out));  // |work - input|
  const __m128i q = _mm_packus_epi16(ScaledQuotient(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(k, zero)),
                                     ScaledQuotient(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(k, zero)));
  return TowardBy(in, up, q);
}

size_t GradualSse2(const uint8_t* input, uint8_t* work, const uint8_t* weights, size_t n, uint8_t* also) {
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(input + i));
    const __m128i out = _mm_loadu_si128(reinterpret_cast<const __m128i*>(work + i));
    const __m128i k = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + i));
    const __m128i merged = GradualBytes(in, out, k);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(work + i), merged);
    if (also != nullptr) _mm_storeu_si128(reinterpret_cast<__m128i*>(also + i), merged);
  }
  return i;
}

size_t ThresholdSse2(const uint8_t* input, uint8_t* work, const uint8_t* keep, size_t n, uint8_t* also) {
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(input + i));
    const __m128i out = _mm_loadu_si128(reinterpret_cast<const __m128i*>(work + i));
    const __m128i k = _mm_loadu_si128(reinterpret_cast<const __m128i*>(keep + i));
    const __m128i merged = _mm_or_si128(_mm_and_si128(k, in), _mm_andnot_si128(k, out));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(work + i), merged);
    if (also != nullptr) _mm_storeu_si128(reinterpret_cast<__m128i*>(also + i), merged);
  }
  return i;
}

// The shift never exceeds |toward - base|, so the sum stays within 0..255.
inline __m128i BlendBytes(__m128i b, __m128i t, __m128i m) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i up = _mm_subs_epu8(t, b);
  const __m128i a = _mm_or_si128(up, _mm_subs_epu8(b, t));
  const __m128i q =
      _mm_packus_epi16(_mm_mulhi_epu16(_mm_unpacklo_epi8(a, zero), m), _mm_mulhi_epu16(_mm_unpackhi_epi8(a, zero), m));
  return TowardBy(b, up, q);
}

size_t BlendSse2(const uint8_t* base, const uint8_t* toward, uint8_t* input, uint8_t* work, uint16_t multiplier,
                 size_t n) {
  const __m128i m = _mm_set1_epi16(int16_t(multiplier));
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i));
    const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(toward + i));
    const __m128i merged = BlendBytes(b, t, m);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(input + i), merged);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(work + i), merged);
  }
  return i;
}

// ---- AVX2: 32 bytes a step; unpacking and packing stay within each 16-byte lane, so the
// bytes come back in their order ----------------------------------------------------------------

#define OMBRIX_AVX2 __attribute__((target("avx2")))

OMBRIX_AVX2 inline __m256i TowardBy256(__m256i base, __m256i up, __m256i q) {
  const __m256i down = _mm256_cmpeq_epi8(up, _mm256_setzero_si256());
  return _mm256_add_epi8(base, _mm256_sub_epi8(_mm256_xor_si256(q, down), down));
}

OMBRIX_AVX2 inline __m256i ScaledQuotient256(__m256i a16, __m256i k16) {
  return _mm256_srli_epi16(_mm256_mulhi_epu16(_mm256_mullo_epi16(a16, k16), _mm256_set1_epi16(kReciprocal255)), 7);
}

OMBRIX_AVX2 inline __m256i GradualBytes256(__m256i in, __m256i out, __m256i k) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i up = _mm256_subs_epu8(out, in);
  const __m256i a = _mm256_or_si256(up, _mm256_subs_epu8(in, out));
  const __m256i q =
      _mm256_packus_epi16(ScaledQuotient256(_mm256_unpacklo_epi8(a, zero), _mm256_unpacklo_epi8(k, zero)),
                          ScaledQuotient256(_mm256_unpackhi_epi8(a, zero), _mm256_unpackhi_epi8(k, zero)));
  return TowardBy256(in, up, q);
}

OMBRIX_AVX2 size_t GradualAvx2(const uint8_t* input, uint8_t* work, const uint8_t* weights, size_t n, uint8_t* also) {
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i in = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(input + i));
    const __m256i out = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(work + i));
    const __m256i k = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights + i));
    const __m256i merged = GradualBytes256(in, out, k);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(work + i), merged);
    if (also != nullptr) _mm256_storeu_si256(reinterpret_cast<__m256i*>(also + i), merged);
  }
  return i;
}

OMBRIX_AVX2 size_t ThresholdAvx2(const uint8_t* input, uint8_t* work, const uint8_t* keep, size_t n, uint8_t* also) {
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i in = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(input + i));
    const __m256i out = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(work + i));
    const __m256i k = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(keep + i));
    const __m256i merged = _mm256_blendv_epi8(out, in, k);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(work + i), merged);
    if (also != nullptr) _mm256_storeu_si256(reinterpret_cast<__m256i*>(also + i), merged);
  }
  return i;
}

OMBRIX_AVX2 inline __m256i BlendBytes256(__m256i b, __m256i t, __m256i m) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i up = _mm256_subs_epu8(t, b);
  const __m256i a = _mm256_or_si256(up, _mm256_subs_epu8(b, t));
  const __m256i q = _mm256_packus_epi16(_mm256_mulhi_epu16(_mm256_unpacklo_epi8(a, zero), m),
                                        _mm256_mulhi_epu16(_mm256_unpackhi_epi8(a, zero), m));
  return TowardBy256(b, up, q);
}

OMBRIX_AVX2 size_t BlendAvx2(const uint8_t* base, const uint8_t* toward, uint8_t* input, uint8_t* work,
                             uint16_t multiplier, size_t n) {
  const __m256i m = _mm256_set1_epi16(int16_t(multiplier));
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(base + i));
    const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(toward + i));
    const __m256i merged = BlendBytes256(b, t, m);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(input + i), merged);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(work + i), merged);
  }
  return i;
}

// ---- Mask weights with byte shuffles (SSSE3, present wherever AVX2 is) -------------------------

// Shuffle controls for 16 pixels (48 bytes in three registers a, b, c). For pixels 0..7 (bytes
// 0..23 of a and b) and 8..15 (bytes 24..47 of b and c): blue and green side by side, to be
// summed by a multiply-add, and red alone in the low byte of each 16-bit lane.
struct GreyShuffles {
  alignas(16) uint8_t pair_lo[2][16], red_lo[2][16], pair_hi[2][16], red_hi[2][16], spread[3][16];
  GreyShuffles() {
    // first: the byte offset where the register starts
    auto pick = [](int byte, int first) { return uint8_t(byte >= first && byte < first + 16 ? byte - first : 0x80); };
    for (int j = 0; j < 8; ++j)
      for (int r = 0; r < 2; ++r) {
        const int lo_first = 16 * r, hi_first = 16 + 16 * r;
        pair_lo[r][2 * j] = pick(3 * j, lo_first);
        pair_lo[r][2 * j + 1] = pick(3 * j + 1, lo_first);
        red_lo[r][2 * j] = pick(3 * j + 2, lo_first);
        red_lo[r][2 * j + 1] = 0x80;
        pair_hi[r][2 * j] = pick(3 * (j + 8), hi_first);
        pair_hi[r][2 * j + 1] = pick(3 * (j + 8) + 1, hi_first);
        red_hi[r][2 * j] = pick(3 * (j + 8) + 2, hi_first);
        red_hi[r][2 * j + 1] = 0x80;
      }
    for (int r = 0; r < 3; ++r)
      for (int t = 0; t < 16; ++t) spread[r][t] = uint8_t((16 * r + t) / 3);
  }
};

const GreyShuffles g_grey_shuffles;

// The controls of a WeightSpread live in a byte vector, so no alignment is assumed.
OMBRIX_AVX2 inline __m128i Shuffle(__m128i v, const uint8_t* control) {
  return _mm_shuffle_epi8(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(control)));
}

OMBRIX_AVX2 size_t PixelWeightsSsse3(const uint8_t* pixels, size_t count, int type, int copies, uint8_t* out) {
  const GreyShuffles& s = g_grey_shuffles;
  const __m128i ones = _mm_set1_epi8(1);
  // sum / 3 = (sum * 43691) >> 17 for every sum up to 765
  const __m128i third = _mm_set1_epi16(int16_t(43691));
  size_t i = 0;
  for (; i + 16 <= count; i += 16) {
    const uint8_t* p = pixels + 3 * i;
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32));
    const __m128i sum_lo =
        _mm_add_epi16(_mm_maddubs_epi16(_mm_or_si128(Shuffle(a, s.pair_lo[0]), Shuffle(b, s.pair_lo[1])), ones),
                      _mm_or_si128(Shuffle(a, s.red_lo[0]), Shuffle(b, s.red_lo[1])));
    const __m128i sum_hi =
        _mm_add_epi16(_mm_maddubs_epi16(_mm_or_si128(Shuffle(b, s.pair_hi[0]), Shuffle(c, s.pair_hi[1])), ones),
                      _mm_or_si128(Shuffle(b, s.red_hi[0]), Shuffle(c, s.red_hi[1])));
    const __m128i grey_lo = _mm_srli_epi16(_mm_mulhi_epu16(sum_lo, third), 1);
    const __m128i grey_hi = _mm_srli_epi16(_mm_mulhi_epu16(sum_hi, third), 1);
    __m128i w;
    if (type == 1) {
      const __m128i full = _mm_set1_epi16(255);
      w = _mm_packus_epi16(_mm_sub_epi16(full, grey_lo), _mm_sub_epi16(full, grey_hi));
    } else {
      // all ones where grey > 128; the signed pack keeps -1 as 0xFF
      const __m128i limit = _mm_set1_epi16(128);
      w = _mm_packs_epi16(_mm_cmpgt_epi16(grey_lo, limit), _mm_cmpgt_epi16(grey_hi, limit));
    }
    if (copies == 1) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), w);
    } else {
      uint8_t* o = out + 3 * i;
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o), Shuffle(w, s.spread[0]));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 16), Shuffle(w, s.spread[1]));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 32), Shuffle(w, s.spread[2]));
    }
  }
  return i;
}

OMBRIX_AVX2 void SpreadSsse3(const uint8_t* weights, const int* base, const uint8_t* shuffles, size_t pieces,
                             uint8_t* out) {
  for (size_t j = 0; j < pieces; ++j) {
    if (base[j] < 0) continue;
    const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + base[j]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * j), Shuffle(w, shuffles + 16 * j));
  }
}
#endif

}  // namespace

KernelLevel SetKernelLevel(KernelLevel level) {
  g_level = std::min(level, BestLevel());
  return g_level;
}

KernelLevel CurrentKernelLevel() { return g_level; }

void GradualMaskRow(const uint8_t* input, uint8_t* work, const uint8_t* weights, size_t n, uint8_t* also) {
  size_t i = 0;
#if defined(OMBRIX_X86_KERNELS)
  if (g_level >= KernelLevel::kAvx2) i = GradualAvx2(input, work, weights, n, also);
  if (g_level >= KernelLevel::kSse2)
    i += GradualSse2(input + i, work + i, weights + i, n - i, also != nullptr ? also + i : nullptr);
#endif
  for (; i < n; ++i) {
    const int d = int(work[i]) - int(input[i]);
    const int q = DivideBy255((d < 0 ? -d : d) * weights[i]);
    const uint8_t merged = uint8_t(input[i] + (d < 0 ? -q : q));
    work[i] = merged;
    if (also != nullptr) also[i] = merged;
  }
}

void ThresholdMaskRow(const uint8_t* input, uint8_t* work, const uint8_t* keep, size_t n, uint8_t* also) {
  size_t i = 0;
#if defined(OMBRIX_X86_KERNELS)
  if (g_level >= KernelLevel::kAvx2) i = ThresholdAvx2(input, work, keep, n, also);
  if (g_level >= KernelLevel::kSse2)
    i += ThresholdSse2(input + i, work + i, keep + i, n - i, also != nullptr ? also + i : nullptr);
#endif
  for (; i < n; ++i) {
    const uint8_t merged = uint8_t((keep[i] & input[i]) | (~keep[i] & work[i]));
    work[i] = merged;
    if (also != nullptr) also[i] = merged;
  }
}

void PixelWeights(const uint8_t* pixels, size_t count, int type, int copies, uint8_t* out) {
  size_t i = 0;
#if defined(OMBRIX_X86_KERNELS)
  if (g_level >= KernelLevel::kAvx2) i = PixelWeightsSsse3(pixels, count, type, copies, out);
#endif
  for (; i < count; ++i) {
    const uint8_t* p = pixels + 3 * i;
    const int grey = (p[0] + p[1] + p[2]) / 3;
    const uint8_t w = type == 1 ? uint8_t(255 - grey) : grey > 128 ? uint8_t(0xFF) : uint8_t(0);
    if (copies == 1) {
      out[i] = w;
    } else {
      out[3 * i] = w;
      out[3 * i + 1] = w;
      out[3 * i + 2] = w;
    }
  }
}

WeightSpread::WeightSpread(const std::vector<int>& source) : source_(source) {
  const size_t pieces = 3 * source_.size() / 16;
  base_.assign(pieces, -1);
  shuffles_.assign(16 * pieces, 0);
  for (size_t j = 0; j < pieces; ++j) {
    int low = source_[16 * j / 3], high = low;
    for (size_t t = 0; t < 16; ++t) {
      const int s = source_[(16 * j + t) / 3];
      low = std::min(low, s);
      high = std::max(high, s);
    }
    if (high - low >= 16) {
      by_byte_.push_back(j);
      continue;
    }
    base_[j] = low;
    for (size_t t = 0; t < 16; ++t) shuffles_[16 * j + t] = uint8_t(source_[(16 * j + t) / 3] - low);
  }
}

void WeightSpread::Row(const uint8_t* weights, uint8_t* out) const {
  const size_t n = 3 * source_.size();
  size_t done = 0;  // bytes below this are written, except pieces left byte by byte
#if defined(OMBRIX_X86_KERNELS)
  if (g_level >= KernelLevel::kAvx2) {
    SpreadSsse3(weights, base_.data(), shuffles_.data(), base_.size(), out);
    for (const size_t j : by_byte_)
      for (size_t t = 16 * j; t < 16 * j + 16; ++t) out[t] = weights[source_[t / 3]];
    done = 16 * base_.size();
  }
#endif
  for (size_t t = done; t < n; ++t) out[t] = weights[source_[t / 3]];
}

AlphaBlend::AlphaBlend(float alpha) {
  const long double l = 255.0L - 255.0L * static_cast<long double>(alpha);
  from_input_ = l >= 0;
  const long double weight = from_input_ ? l : -l;
  for (int d = -255; d <= 255; ++d) shift_[d + 255] = int16_t(std::trunc(static_cast<long double>(d) * weight * kC));
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
  for (int a = 0; a <= 255 && has_multiplier_; ++a)
    has_multiplier_ = ((a * long(multiplier_)) >> 16) == shift_[a + 255];
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
