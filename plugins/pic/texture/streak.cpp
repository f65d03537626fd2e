// Streaks: the plain and the fast drawing, and the per-length ramps the fast one reads.
#include "plugins/pic/texture/streak.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <numeric>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {

bool StreakRamp::Build(int32_t s, ShortRow* scratch) {
  s_ = s;
  reciprocal_ = ((uint64_t(1) << 32) + uint64_t(s) - 1) / uint64_t(s);
  rows_.reset();
  row_count_ = 0;
  // The extended quotients a / s, as the plain computation rounds them.
  long double quotient[256];
  for (int32_t a = 0; a < 256; ++a) quotient[a] = static_cast<long double>(a) / s;
  for (int32_t t = 1; t < s; ++t) {
    // a * t is a multiple of s exactly when a is a multiple of s / gcd(s, t).
    const int32_t period = s / std::gcd(s, t);
    ShortRow row{t, {0, 0, 0, 0}};
    bool any = false;
    for (int32_t a = period; a < 256; a += period) {
      if (kit::TruncateToInt(quotient[a] * static_cast<long double>(t)) < a * t / s) {
        row.a[a >> 6] |= uint64_t(1) << (a & 63);
        any = true;
      }
    }
    if (any) scratch[row_count_++] = row;
  }
  if (row_count_ > 0) {
    rows_.reset(new (std::nothrow) ShortRow[size_t(row_count_)]);
    if (!rows_) return false;
    std::copy(scratch, scratch + row_count_, rows_.get());
  }
  return true;
}

int32_t StreakRamp::Change(int32_t d, int32_t t) const {
  const int32_t change = FloorChange(d, t);
  const ShortRow* const begin = rows_.get();
  const ShortRow* const end = begin + row_count_;
  const ShortRow* row = std::lower_bound(begin, end, t, [](const ShortRow& r, int32_t v) { return r.t < v; });
  if (row == end || row->t != t || !row->Has(d < 0 ? -d : d)) return change;
  return change + (d < 0 ? 1 : -1);
}

bool StreakRamps::Reset(int64_t longest) {
  longest_ = std::clamp<int64_t>(longest, 0, 65535);
  ramps_.reset(new (std::nothrow) std::unique_ptr<StreakRamp>[size_t(longest_) + 1]);
  scratch_.reset(new (std::nothrow) StreakRamp::ShortRow[size_t(longest_) + 1]);
  if (!ramps_ || !scratch_) {
    longest_ = 0;
    return false;
  }
  return true;
}

const StreakRamp* StreakRamps::For(int64_t steps) {
  if (steps < 2 || steps > longest_) return nullptr;
  std::unique_ptr<StreakRamp>& ramp = ramps_[steps];
  if (!ramp) {
    ramp.reset(new (std::nothrow) StreakRamp);
    if (!ramp) return nullptr;
    if (!ramp->Build(int32_t(steps), scratch_.get())) {
      ramp.reset();
      return nullptr;
    }
  }
  return ramp.get();
}

int64_t StreakSteps(int32_t width, int64_t x, int64_t y, int64_t length, StreakDirection direction) {
  if (length < 1) return 0;
  int64_t steps = 0;
  switch (direction) {
    case StreakDirection::kHorizontal: steps = std::min(length, x); break;
    case StreakDirection::kVertical: steps = std::min(length, y); break;
    case StreakDirection::kDiagonalRight: steps = std::min({length, y, width - 1 - x}); break;
    case StreakDirection::kDiagonalLeft: steps = std::min({length, y, x}); break;
  }
  return steps < 1 ? 0 : steps;
}

namespace {

// The pixel at step t of a streak of `steps` pixels ending at (x, y).
struct StreakWalk {
  uint8_t* const* rows;
  int64_t x, y, steps, dx, dy;
  StreakWalk(uint8_t* const* r, int64_t sx, int64_t sy, int64_t n, StreakDirection direction)
      : rows(r), x(sx), y(sy), steps(n), dx(0), dy(0) {
    switch (direction) {
      case StreakDirection::kHorizontal: dx = -1; break;
      case StreakDirection::kVertical: dy = -1; break;
      case StreakDirection::kDiagonalRight: dx = 1, dy = -1; break;
      case StreakDirection::kDiagonalLeft: dx = -1, dy = -1; break;
    }
  }
  uint8_t* Pixel(int64_t t) const { return PixelAt(rows, x + dx * (steps - t), y + dy * (steps - t)); }
};

// The floor change of every channel of the streak, one pixel at a time, with the exceptions
// mended as their rows come up.
void RampLoop(const StreakRamp& ramp, const StreakWalk& walk, const uint8_t seed[3]) {
  const int32_t s0 = seed[0], s1 = seed[1], s2 = seed[2];
  const StreakRamp::ShortRow* next = ramp.short_rows();
  const StreakRamp::ShortRow* const end = next + ramp.short_row_count();
  for (int32_t t = 1; t < int32_t(walk.steps); ++t) {
    uint8_t* p = walk.Pixel(t);
    const int32_t d0 = s0 - p[0], d1 = s1 - p[1], d2 = s2 - p[2];
    int32_t v0 = ramp.FloorChange(d0, t), v1 = ramp.FloorChange(d1, t), v2 = ramp.FloorChange(d2, t);
    if (next != end && next->t == t) {
      v0 -= next->Has(d0 < 0 ? -d0 : d0) ? (d0 < 0 ? -1 : 1) : 0;
      v1 -= next->Has(d1 < 0 ? -d1 : d1) ? (d1 < 0 ? -1 : 1) : 0;
      v2 -= next->Has(d2 < 0 ? -d2 : d2) ? (d2 < 0 ? -1 : 1) : 0;
      ++next;
    }
    p[0] = uint8_t(p[0] + v0);
    p[1] = uint8_t(p[1] + v1);
    p[2] = uint8_t(p[2] + v2);
  }
}

#if defined(__SSE2__)
// The floor change for a horizontal streak of at most 256 pixels, eight channels at a time in
// 16-bit lanes: a * t stays below 2^16, and with m = floor(2^16 / s) + 1 the high half of
// a * t * m is the quotient or one more (the excess a * t * (m - 2^16 / s) / 2^16 is below 1),
// which one multiply-back decides.
// `room` is the number of bytes of the row after the streak (the seed's and beyond).
void VectorLoop(const StreakRamp& ramp, uint8_t* first, int32_t steps, const uint8_t seed[3], size_t room) {
  // Every pixel of a streak changes from its own value and the seed's only, so the channels that
  // fall on an exception are noted first and mended after the floor loop: by one toward where
  // they were, the floor change being at least 1 there.
  struct Mend {
    uint16_t offset;
    uint8_t before;
  };
  Mend mends[3 * 256];
  int32_t mend_count = 0;
  const StreakRamp::ShortRow* rows = ramp.short_rows();
  for (int32_t i = 0; i < ramp.short_row_count(); ++i) {
    const int32_t offset = 3 * rows[i].t;
    for (int ch = 0; ch < 3; ++ch) {
      const int32_t d = int32_t(seed[ch]) - first[offset + ch];
      if (rows[i].Has(d < 0 ? -d : d)) mends[mend_count++] = {uint16_t(offset + ch), first[offset + ch]};
    }
  }
  const __m128i zero = _mm_setzero_si128();
  const __m128i one = _mm_set1_epi16(1);
  const __m128i divisor = _mm_set1_epi16(int16_t(steps));
  const __m128i inverse = _mm_set1_epi16(int16_t(uint16_t(65536 / steps + 1)));
  // Byte b of the streak is channel b % 3 of the pixel at t = b / 3; the pattern repeats every
  // 24 bytes (three groups of eight lanes), with t eight higher.
  alignas(16) static const int16_t kSteps[3][8] = {
      {0, 0, 0, 1, 1, 1, 2, 2}, {2, 3, 3, 3, 4, 4, 4, 5}, {5, 5, 6, 6, 6, 7, 7, 7}};
  __m128i ts[3];
  for (int g = 0; g < 3; ++g) ts[g] = _mm_load_si128(reinterpret_cast<const __m128i*>(kSteps[g]));
  // The seed's channels in the same pattern, four lanes at a time: 0 1 2 0, 1 2 0 1, 2 0 1 2.
  const uint64_t c0 = seed[0], c1 = seed[1], c2 = seed[2];
  const int64_t lanes0120 = int64_t(c0 | c1 << 16 | c2 << 32 | c0 << 48);
  const int64_t lanes1201 = int64_t(c1 | c2 << 16 | c0 << 32 | c1 << 48);
  const int64_t lanes2012 = int64_t(c2 | c0 << 16 | c1 << 32 | c2 << 48);
  const __m128i seeds[3] = {_mm_set_epi64x(lanes1201, lanes0120), _mm_set_epi64x(lanes0120, lanes2012),
                            _mm_set_epi64x(lanes2012, lanes1201)};
  const __m128i eight = _mm_set1_epi16(8);
  auto step = [&](__m128i c, __m128i seed_lanes, __m128i t) {
    const __m128i d = _mm_sub_epi16(seed_lanes, c);
    const __m128i a = _mm_max_epi16(d, _mm_sub_epi16(zero, d));
    const __m128i n = _mm_mullo_epi16(a, t);
    const __m128i guess = _mm_mulhi_epu16(n, inverse);
    const __m128i exact = _mm_cmpeq_epi16(_mm_subs_epu16(_mm_mullo_epi16(guess, divisor), n), zero);
    const __m128i q = _mm_sub_epi16(_mm_sub_epi16(guess, one), exact);  // guess - 1 unless it fits
    const __m128i sign = _mm_srai_epi16(d, 15);
    return _mm_add_epi16(c, _mm_sub_epi16(_mm_xor_si128(q, sign), sign));
  };
  const size_t bytes = 3 * size_t(steps);
  size_t b = 0;
  int g = 0;
  for (; b + 8 <= bytes; b += 8) {
    const __m128i c = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(first + b)), zero);
    const __m128i out = step(c, seeds[g], ts[g]);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(first + b), _mm_packus_epi16(out, out));
    ts[g] = _mm_add_epi16(ts[g], eight);
    g = g == 2 ? 0 : g + 1;
  }
  if (b < bytes) {
    const size_t rest = bytes - b;
    if (room >= 8 - rest) {
      // The last group reaches beyond the streak into the seed and its right neighbours, which
      // keep their bytes.
      alignas(16) static const uint16_t kChanged[8][8] = {
          {0, 0, 0, 0, 0, 0, 0, 0},
          {0xFFFF, 0, 0, 0, 0, 0, 0, 0},
          {0xFFFF, 0xFFFF, 0, 0, 0, 0, 0, 0},
          {0xFFFF, 0xFFFF, 0xFFFF, 0, 0, 0, 0, 0},
          {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0, 0, 0, 0},
          {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0, 0, 0},
          {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0, 0},
          {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0}};
      const __m128i changed = _mm_load_si128(reinterpret_cast<const __m128i*>(kChanged[rest]));
      const __m128i c = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(first + b)), zero);
      const __m128i out = step(c, seeds[g], ts[g]);
      const __m128i kept = _mm_or_si128(_mm_and_si128(changed, out), _mm_andnot_si128(changed, c));
      _mm_storel_epi64(reinterpret_cast<__m128i*>(first + b), _mm_packus_epi16(kept, kept));
    } else {
      // At the right edge of the picture: the last bytes through a copy, so that nothing beyond
      // the row is read or written.
      alignas(8) uint8_t tail[8] = {};
      std::memcpy(tail, first + b, rest);
      const __m128i c = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(tail)), zero);
      const __m128i out = step(c, seeds[g], ts[g]);
      _mm_storel_epi64(reinterpret_cast<__m128i*>(tail), _mm_packus_epi16(out, out));
      std::memcpy(first + b, tail, rest);
    }
  }
  for (int32_t i = 0; i < mend_count; ++i) {
    uint8_t& byte = first[mends[i].offset];
    byte = uint8_t(byte > mends[i].before ? byte - 1 : byte + 1);
  }
}
#endif

}  // namespace

void DrawStreakPlain(uint8_t* const* rows, int32_t width, int64_t x, int64_t y, int64_t length,
                     StreakDirection direction) {
  const int64_t steps = StreakSteps(width, x, y, length, direction);
  if (steps < 1) return;
  const StreakWalk walk(rows, x, y, steps, direction);
  uint8_t seed[3];
  CopyPixel(seed, PixelAt(rows, x, y));
  for (int64_t t = 0; t < steps; ++t) {
    uint8_t* p = walk.Pixel(t);
    for (int ch = 0; ch < 3; ++ch) p[ch] = uint8_t(p[ch] + StreakChange(seed[ch] - p[ch], steps, t));
  }
}

void DrawStreak(uint8_t* const* rows, int32_t width, int64_t x, int64_t y, int64_t length,
                StreakDirection direction, StreakRamps& ramps, bool vectors) {
  const int64_t steps = StreakSteps(width, x, y, length, direction);
  // One step is the far end alone, whose change is 0.
  if (steps < 2) return;
  const StreakRamp* ramp = ramps.For(steps);
  if (ramp == nullptr) {
    DrawStreakPlain(rows, width, x, y, length, direction);
    return;
  }
  const StreakWalk walk(rows, x, y, steps, direction);
  uint8_t seed[3];
  CopyPixel(seed, PixelAt(rows, x, y));
#if defined(__SSE2__)
  if (vectors && direction == StreakDirection::kHorizontal && steps <= 256) {
    VectorLoop(*ramp, walk.Pixel(0), int32_t(steps), seed, 3 * size_t(width - x));
    return;
  }
#endif
  (void)vectors;
  RampLoop(*ramp, walk, seed);
}

}  // namespace ombrix::pic
