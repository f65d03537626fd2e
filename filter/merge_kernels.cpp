// The fast merge's row kernels: a scalar loop that every processor runs and, as far as the level
// in force allows, the vector loops of merge_loops.h for the bulk of a row (16 bytes a step with
// SSE2, 32 with AVX2) and byte shuffles for the mask weights (SSSE3). All give the same bytes.
#include "filter/merge_kernels.h"

#include <algorithm>
#include <cmath>

#include "core/kit/simd.h"
#include "filter/merge_loops.h"

namespace ombrix::engine {
namespace {

using kit::simd::Level;
using kit::simd::Uses;

constexpr float kC = 1.0f / 255.0f;  // the single-precision value nearest to 1/255

inline int DivideBy255(int n) { return (n * int(kReciprocal255)) >> 23; }

#if OMBRIX_SIMD_X86
// The weight of each of 16 mask pixels from its grey level, one byte per pixel (copies 1) or
// repeated over the pixel's three bytes (copies 3).
OMBRIX_TARGET_SSSE3 size_t PixelWeightsSsse3(const uint8_t* pixels, size_t count, int type, int copies, uint8_t* out) {
  size_t i = 0;
  for (; i + 16 <= count; i += 16) {
    __m128i grey_lo, grey_hi;
    lanes::Means(lanes::ToPlanes(lanes::LoadPixels16(pixels + 3 * i)), grey_lo, grey_hi);
    __m128i w;
    if (type == 1) {
      const __m128i full = _mm_set1_epi16(255);
      w = _mm_packus_epi16(_mm_sub_epi16(full, grey_lo), _mm_sub_epi16(full, grey_hi));
    } else {
      // all ones where grey > 128; the signed pack keeps -1 as 0xFF
      const __m128i limit = _mm_set1_epi16(128);
      w = _mm_packs_epi16(_mm_cmpgt_epi16(grey_lo, limit), _mm_cmpgt_epi16(grey_hi, limit));
    }
    if (copies == 1)
      lanes::Lanes16::Store(out + i, w);
    else
      lanes::StorePixels16(out + 3 * i, lanes::Spread(w));
  }
  return i;
}

// A mask stage's vector loops over one row: 32 bytes a step at AVX2, then 16 at SSE2, as far as
// the level in force allows. Returns the bytes done; the scalar loop does the rest.
using MaskLoop = size_t (*)(const uint8_t* input, uint8_t* work, const uint8_t* mask, size_t n, uint8_t* also);
template <MaskLoop kAvx2, MaskLoop kSse2>
size_t MaskSteps(const uint8_t* input, uint8_t* work, const uint8_t* mask, size_t n, uint8_t* also) {
  size_t i = 0;
  if (Uses(Level::kAvx2)) i = kAvx2(input, work, mask, n, also);
  if (Uses(Level::kSse2)) i += kSse2(input + i, work + i, mask + i, n - i, also != nullptr ? also + i : nullptr);
  return i;
}

// The controls of a WeightSpread live in a byte vector, so no alignment is assumed.
OMBRIX_TARGET_SSSE3 void SpreadSsse3(const uint8_t* weights, const int* base, const uint8_t* shuffles, size_t pieces,
                                     uint8_t* out) {
  for (size_t j = 0; j < pieces; ++j) {
    if (base[j] < 0) continue;
    const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + base[j]));
    const __m128i control = _mm_loadu_si128(reinterpret_cast<const __m128i*>(shuffles + 16 * j));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * j), _mm_shuffle_epi8(w, control));
  }
}
#endif

}  // namespace

void GradualMaskRow(const uint8_t* input, uint8_t* work, const uint8_t* weights, size_t n, uint8_t* also) {
  size_t i = 0;
#if OMBRIX_SIMD_X86
  i = MaskSteps<GradualLoopAvx2, GradualLoop<lanes::Lanes16>>(input, work, weights, n, also);
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
#if OMBRIX_SIMD_X86
  i = MaskSteps<ThresholdLoopAvx2, ThresholdLoop<lanes::Lanes16>>(input, work, keep, n, also);
#endif
  for (; i < n; ++i) {
    const uint8_t merged = uint8_t((keep[i] & input[i]) | (~keep[i] & work[i]));
    work[i] = merged;
    if (also != nullptr) also[i] = merged;
  }
}

void PixelWeights(const uint8_t* pixels, size_t count, int type, int copies, uint8_t* out) {
  size_t i = 0;
#if OMBRIX_SIMD_X86
  if (Uses(Level::kSsse3)) i = PixelWeightsSsse3(pixels, count, type, copies, out);
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
#if OMBRIX_SIMD_X86
  if (Uses(Level::kSsse3)) {
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
#if OMBRIX_SIMD_X86
  if (has_multiplier_) {
    // The byte the shift is added to, and the byte it moves toward.
    const uint8_t* base = from_input_ ? input : work;
    const uint8_t* toward = from_input_ ? work : input;
    if (Uses(Level::kAvx2)) i = BlendLoopAvx2(base, toward, input, work, multiplier_, n);
    if (Uses(Level::kSse2))
      i += BlendLoop<lanes::Lanes16>(base + i, toward + i, input + i, work + i, multiplier_, n - i);
  }
#endif
  for (; i < n; ++i) work[i] = input[i] = Merged(input[i], work[i]);
}

}  // namespace ombrix::engine
