// The picture filters' row kernels: plain loops, and on x86-64 vector loops for the bulk of a
// row, as far as the level in force (core/kit/simd.h) allows.
#include "plugins/pic/pic_kernels.h"

#include <algorithm>
#include <cstdlib>

#include "core/kit/simd.h"
#include "core/kit/simd_lanes.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using kit::simd::Level;
using kit::simd::Uses;

// x / q for 0 <= x <= q * 255 (q = 9, 6, 3) as (x * m) >> 16: over that range m / 65536 errs
// from 1 / q by less than the distance of any x / q to the next integer, so both truncate alike
// (the kernel test checks every x).
constexpr uint32_t kNinth = 7282;
constexpr uint32_t kSixth = 10923;
constexpr uint32_t kThird = 21846;

#if OMBRIX_SIMD_X86
using kit::simd::Lanes16;

// -v in the lanes where negative is all ones, v elsewhere.
inline __m128i FlipSign(__m128i v, __m128i negative) { return _mm_sub_epi16(_mm_xor_si128(v, negative), negative); }
inline __m128i Load(const void* p) { return Lanes16::Load(p); }
inline void Store(void* p, __m128i v) { Lanes16::Store(p, v); }

// The whole 16-byte steps of n bytes of p and q: each step's bytes as two halves of eight words,
// words(c, s) of each half, packed back into p with unsigned saturation. Returns the bytes done.
template <typename Words>
size_t WordSteps(uint8_t* p, const uint8_t* q, size_t n, Words&& words) {
  const __m128i zero = _mm_setzero_si128();
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i c = Load(p + i), s = Load(q + i);
    const __m128i low = words(_mm_unpacklo_epi8(c, zero), _mm_unpacklo_epi8(s, zero));
    const __m128i high = words(_mm_unpackhi_epi8(c, zero), _mm_unpackhi_epi8(s, zero));
    Store(p + i, _mm_packus_epi16(low, high));
  }
  return i;
}
#endif

}  // namespace

// ---- Blur ------------------------------------------------------------------------------------------

void BlurRowPlain(const uint8_t* above, const uint8_t* middle, const uint8_t* below, int32_t width, uint8_t* out) {
  const uint8_t* rows[3] = {above, middle, below};
  for (int32_t x = 0; x < width; ++x) {
    const int32_t xa = std::max(x - 1, 0), xb = std::min(x + 1, width - 1);
    int32_t sum[3] = {0, 0, 0}, count = 0;
    for (const uint8_t* row : rows) {
      if (row == nullptr) continue;
      for (int32_t nx = xa; nx <= xb; ++nx, ++count) {
        const uint8_t* q = row + 3 * size_t(nx);
        sum[0] += q[0], sum[1] += q[1], sum[2] += q[2];
      }
    }
    for (int ch = 0; ch < 3; ++ch) out[3 * size_t(x) + ch] = uint8_t(sum[ch] / count);
  }
}

void BlurRow(const uint8_t* above, const uint8_t* middle, const uint8_t* below, int32_t width, uint16_t* sums,
             uint8_t* out) {
  if (width < 3) {  // at most two pixels, both at an end of the row
    uint8_t row[6];
    BlurRowPlain(above, middle, below, width, row);
    std::copy(row, row + 3 * size_t(std::max(width, 0)), out);
    return;
  }
  // Column sums over the rows present, then three neighbouring sums per byte divided by the
  // weight: 3 times the rows present inside the row, twice at its ends.
  const size_t n = 3 * size_t(width);
  const uint8_t* a = above != nullptr ? above : below;
  const uint8_t* b = above != nullptr ? below : nullptr;
  const int32_t rows = 1 + (above != nullptr) + (below != nullptr);
  size_t i = 0;
#if OMBRIX_SIMD_X86
  const bool vectors = Uses(Level::kSse2);
  if (vectors) {
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
      const __m128i y = Load(middle + i);
      const __m128i x = a != nullptr ? Load(a + i) : zero, z = b != nullptr ? Load(b + i) : zero;
      const __m128i low = _mm_add_epi16(_mm_add_epi16(_mm_unpacklo_epi8(x, zero), _mm_unpacklo_epi8(y, zero)),
                                        _mm_unpacklo_epi8(z, zero));
      const __m128i high = _mm_add_epi16(_mm_add_epi16(_mm_unpackhi_epi8(x, zero), _mm_unpackhi_epi8(y, zero)),
                                         _mm_unpackhi_epi8(z, zero));
      Store(sums + i, low);
      Store(sums + i + 8, high);
    }
  }
#endif
  for (; i < n; ++i) sums[i] = uint16_t(middle[i] + (a != nullptr ? a[i] : 0) + (b != nullptr ? b[i] : 0));

  const uint32_t inner = rows == 3 ? kNinth : rows == 2 ? kSixth : kThird;
  const int32_t edge_weight = 2 * rows;
  // Both end pixels first: `out` may be `middle`, whose bytes the sums already hold.
  uint8_t first[3], last[3];
  for (int ch = 0; ch < 3; ++ch) {
    first[ch] = uint8_t((sums[ch] + sums[3 + ch]) / edge_weight);
    last[ch] = uint8_t((sums[n - 6 + ch] + sums[n - 3 + ch]) / edge_weight);
  }
  size_t j = 3;
  const size_t end = n - 3;
#if OMBRIX_SIMD_X86
  if (vectors) {
    const __m128i m = _mm_set1_epi16(int16_t(uint16_t(inner)));
    for (; j + 16 <= end; j += 16) {
      const __m128i low = _mm_add_epi16(_mm_add_epi16(Load(sums + j - 3), Load(sums + j)), Load(sums + j + 3));
      const __m128i high = _mm_add_epi16(_mm_add_epi16(Load(sums + j + 5), Load(sums + j + 8)), Load(sums + j + 11));
      Store(out + j, _mm_packus_epi16(_mm_mulhi_epu16(low, m), _mm_mulhi_epu16(high, m)));
    }
  }
#endif
  for (; j < end; ++j) out[j] = uint8_t(((sums[j - 3] + sums[j] + sums[j + 3]) * inner) >> 16);
  for (int ch = 0; ch < 3; ++ch) out[ch] = first[ch], out[n - 3 + ch] = last[ch];
}

// ---- Mix toward a line -------------------------------------------------------------------------------

void MixRowTowardPlain(uint8_t* p, const uint8_t* line, size_t n, int32_t k) {
  for (size_t i = 0; i < n; ++i) p[i] = MixChannel(p[i], line[i], k);
}

void MixRowToward(uint8_t* p, const uint8_t* line, size_t n, int32_t k) {
  size_t i = 0;
#if OMBRIX_SIMD_X86
  // For 0 <= k <= 255: (c * 256 + k * d) >> 8 = c + floor(k * d / 256), and with d * 128 and
  // k * 2 both within 16 bits, the high half of their product is that floor.
  if (Uses(Level::kSse2) && k >= 0 && k <= 255) {
    const __m128i k2 = _mm_set1_epi16(int16_t(2 * k));
    i = WordSteps(p, line, n, [k2](__m128i c, __m128i l) {
      return _mm_add_epi16(c, _mm_mulhi_epi16(_mm_slli_epi16(_mm_sub_epi16(l, c), 7), k2));
    });
  }
#endif
  MixRowTowardPlain(p + i, line + i, n - i, k);
}

// ---- Overlay ------------------------------------------------------------------------------------------

OverlayRows::OverlayRows(float factor) : source_based_(!(factor < 0)) {
  // T(d) read off the overlay itself, at a pair whose base is d's complement where d < 0.
  for (int32_t d = -255; d <= 255; ++d) {
    const uint8_t base = uint8_t(d < 0 ? -d : 0), other = uint8_t(d < 0 ? 0 : d);
    const uint8_t value = source_based_ ? OverlayChannel(other, base, factor) : OverlayChannel(base, other, factor);
    const int32_t change = uint8_t(value - base);  // the low byte's signed value
    step_[d + 255] = int16_t(change < 128 ? change : change - 256);
  }
  // The multipliers m with (d * m) >> 16 = T(d) for d = 1 .. 255 form one interval.
  int64_t low = 0, high = 65535;
  for (int32_t d = 1; d <= 255 && low <= high; ++d) {
    const int64_t q = uint8_t(step_[d + 255]);
    low = std::max(low, (q * 65536 + d - 1) / d);
    high = std::min(high, ((q + 1) * 65536 + d - 1) / d - 1);
  }
  has_multiplier_ = low <= high && step_[255] == 0;
  for (int32_t d = 1; d <= 255 && has_multiplier_; ++d)
    has_multiplier_ = uint8_t(step_[255 - d]) == uint8_t(-int32_t(uint8_t(step_[255 + d])));
  multiplier_ = has_multiplier_ ? uint16_t(low) : 0;
}

uint8_t OverlayRows::Channel(uint8_t c, uint8_t s) const {
  if (source_based_) return uint8_t(s + step_[c - s + 255]);
  return uint8_t(c + step_[s - c + 255]);
}

void OverlayRows::Row(uint8_t* target, const uint8_t* source, size_t n) const {
  size_t i = 0;
#if OMBRIX_SIMD_X86
  if (Uses(Level::kSse2) && has_multiplier_) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i m = _mm_set1_epi16(int16_t(multiplier_));
    const bool source_based = source_based_;
    i = WordSteps(target, source, n, [&](__m128i c, __m128i s) {
      const __m128i base = source_based ? s : c;
      const __m128i d = _mm_sub_epi16(source_based ? c : s, base);
      const __m128i negative = _mm_cmplt_epi16(d, zero);
      return _mm_add_epi16(base, FlipSign(_mm_mulhi_epu16(FlipSign(d, negative), m), negative));
    });
  }
#endif
  for (; i < n; ++i) target[i] = Channel(target[i], source[i]);
}

void OverlayRectangle(uint8_t* const* target, uint8_t* const* source, int32_t width, int32_t height, int64_t tx,
                      int64_t ty, int64_t sx, int64_t sy, int64_t w, int64_t h, const OverlayRows& overlay) {
  // Columns i of the rectangle with both tx + i and sx + i inside 0 .. width - 1, likewise rows.
  const int64_t i0 = std::max<int64_t>({0, -tx, -sx});
  const int64_t i1 = std::min<int64_t>({w, width - tx, width - sx});
  const int64_t j0 = std::max<int64_t>({0, -ty, -sy});
  const int64_t j1 = std::min<int64_t>({h, height - ty, height - sy});
  if (i1 <= i0) return;
  for (int64_t j = j0; j < j1; ++j)
    overlay.Row(PixelAt(target, tx + i0, ty + j), PixelAt(source, sx + i0, sy + j), 3 * size_t(i1 - i0));
}

}  // namespace ombrix::pic

// ---- Mirrored exchange -------------------------------------------------------------------------------

namespace ombrix::pic {

void SwapMirroredPixelsPlain(uint8_t* a, uint8_t* b, int64_t count) {
  for (int64_t i = 0; i < count; ++i, a += 3, b -= 3) SwapPixels(a, b);
}

#if OMBRIX_SIMD_X86
namespace {

// Blocks of 16 pixels: the 16 going right from a and the 16 ending at b, both loaded before
// either is stored, each stored back in reverse order in the other's place.
OMBRIX_TARGET_SSSE3 int64_t SwapMirroredBlocks(uint8_t*& a, uint8_t*& b, int64_t count) {
  namespace lanes = kit::simd;
  int64_t done = 0;
  for (; count - done >= 16; done += 16, a += 48, b -= 48) {
    uint8_t* left = b - 45;
    const lanes::Pixels16 x = lanes::LoadPixels16(a), y = lanes::LoadPixels16(left);
    lanes::StorePixels16(a, lanes::Shuffled(y, lanes::kStepShuffles.reverse));
    lanes::StorePixels16(left, lanes::Shuffled(x, lanes::kStepShuffles.reverse));
  }
  return done;
}

}  // namespace
#endif

void SwapMirroredPixels(uint8_t* a, uint8_t* b, int64_t count) {
#if OMBRIX_SIMD_X86
  if (Uses(Level::kSsse3)) count -= SwapMirroredBlocks(a, b, count);
#endif
  SwapMirroredPixelsPlain(a, b, count);
}

}  // namespace ombrix::pic
