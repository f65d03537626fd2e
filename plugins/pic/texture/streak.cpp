// Streaks: the plain and the fast drawing, and the per-length ramps the fast one reads.
#include "plugins/pic/texture/streak.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <numeric>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {

bool StreakRamp::Build(int32_t s, int32_t* scratch) {
  s_ = s;
  reciprocal_ = ((uint64_t(1) << 32) + uint64_t(s) - 1) / uint64_t(s);
  weights_.reset();
  if (s <= 256) {
    const size_t count = (3 * size_t(s) + 7) / 8 * 8 + 8;
    weights_.reset(new (std::nothrow) uint16_t[count]());
    if (!weights_) return false;
    for (int32_t t = 0; t < s; ++t) {
      const uint16_t w = uint16_t((uint32_t(t) * 65536u + uint32_t(s) - 1) / uint32_t(s));
      weights_[3 * t] = weights_[3 * t + 1] = weights_[3 * t + 2] = w;
    }
  }
  rows_.reset();
  row_count_ = 0;
  // The extended quotients a / s, as the plain computation rounds them.
  long double quotient[256];
  for (int32_t a = 0; a < 256; ++a) quotient[a] = static_cast<long double>(a) / s;
  // a * t is a multiple of s exactly when a is a multiple of s / gcd(s, t).
  auto short_at = [&](int32_t t, int32_t a) {
    return kit::TruncateToInt(quotient[a] * static_cast<long double>(t)) < a * t / s;
  };
  for (int32_t t = 1; t < s; ++t) {
    const int32_t period = s / std::gcd(s, t);
    for (int32_t a = period; a < 256; a += period) {
      if (short_at(t, a)) {
        scratch[row_count_++] = t;
        break;
      }
    }
  }
  if (row_count_ > 0) {
    rows_.reset(new (std::nothrow) ShortRow[size_t(row_count_)]);
    if (!rows_) return false;
    for (int32_t i = 0; i < row_count_; ++i) {
      ShortRow& row = rows_[i];
      row.t = scratch[i];
      std::memset(row.hit, 0, sizeof row.hit);
      const int32_t period = s / std::gcd(s, row.t);
      for (int32_t a = period; a < 256; a += period)
        if (short_at(row.t, a)) row.hit[255 + a] = row.hit[255 - a] = 1;
    }
  }
  return true;
}

int32_t StreakRamp::Change(int32_t d, int32_t t) const {
  const int32_t change = FloorChange(d, t);
  const ShortRow* const begin = rows_.get();
  const ShortRow* const end = begin + row_count_;
  const ShortRow* row = std::lower_bound(begin, end, t, [](const ShortRow& r, int32_t v) { return r.t < v; });
  if (row == end || row->t != t || !row->Hits(d)) return change;
  return change + (d < 0 ? 1 : -1);
}

bool StreakRamps::Reset(int64_t longest) {
  kernel_ = HorizontalKernelFor(StreakLoop::kFastest);
  longest_ = std::clamp<int64_t>(longest, 0, 65535);
  ramps_.reset(new (std::nothrow) std::unique_ptr<StreakRamp>[size_t(longest_) + 1]);
  scratch_.reset(new (std::nothrow) int32_t[size_t(longest_) + 1]);
  if (!ramps_ || !scratch_) {
    longest_ = 0;
    return false;
  }
  return true;
}

const StreakRamp* StreakRamps::Build(int64_t steps) {
  std::unique_ptr<StreakRamp>& ramp = ramps_[steps];
  ramp.reset(new (std::nothrow) StreakRamp);
  if (ramp && !ramp->Build(int32_t(steps), scratch_.get())) ramp.reset();
  return ramp.get();
}

namespace {

// The pixel at step t of a streak of `steps` pixels ending at (x, y).
struct StreakWalk {
  uint8_t* const* rows;
  int64_t x, y, steps, dx, dy;
  StreakWalk(uint8_t* const* r, int64_t sx, int64_t sy, int64_t n, StreakDirection direction)
      : rows(r), x(sx), y(sy), steps(n), dx(0), dy(0) {
    switch (direction) {
      case StreakDirection::kHorizontal:
        dx = -1;
        break;
      case StreakDirection::kVertical:
        dy = -1;
        break;
      case StreakDirection::kDiagonalRight:
        dx = 1, dy = -1;
        break;
      case StreakDirection::kDiagonalLeft:
        dx = -1, dy = -1;
        break;
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
      v0 -= next->Hits(d0) ? (d0 < 0 ? -1 : 1) : 0;
      v1 -= next->Hits(d1) ? (d1 < 0 ? -1 : 1) : 0;
      v2 -= next->Hits(d2) ? (d2 < 0 ? -1 : 1) : 0;
      ++next;
    }
    p[0] = uint8_t(p[0] + v0);
    p[1] = uint8_t(p[1] + v1);
    p[2] = uint8_t(p[2] + v2);
  }
}

// Every pixel of a horizontal streak changes from its own value and the seed's only, so the
// channels that fall on an exception are noted before the floor loop and mended after it: by one
// toward where they were, the floor change being at least 1 there.
struct Mends {
  struct Mend {
    uint16_t offset;
    uint8_t before;
  };
  Mend list[3 * 256];
  int32_t count = 0;

  Mends(const StreakRamp& ramp, const uint8_t* first, const uint8_t seed[3]) {
    const StreakRamp::ShortRow* rows = ramp.short_rows();
    // Differences as pointer offsets into the row's table, centred on d = 0.
    const intptr_t e0 = seed[0], e1 = seed[1], e2 = seed[2];
    const int32_t row_count = ramp.short_row_count();
    for (int32_t i = 0; i < row_count; ++i) {
      const StreakRamp::ShortRow& row = rows[i];
      const uint8_t* p = first + 3 * row.t;
      const uint8_t* const hit = row.hit + 255;
      const uint8_t h0 = hit[e0 - p[0]], h1 = hit[e1 - p[1]], h2 = hit[e2 - p[2]];
      if ((h0 | h1 | h2) == 0) continue;
      const uint16_t offset = uint16_t(3 * row.t);
      if (h0) list[count++] = {offset, p[0]};
      if (h1) list[count++] = {uint16_t(offset + 1), p[1]};
      if (h2) list[count++] = {uint16_t(offset + 2), p[2]};
    }
  }
  void Apply(uint8_t* first) const {
    for (int32_t i = 0; i < count; ++i) {
      uint8_t& byte = first[list[i].offset];
      byte = uint8_t(byte > list[i].before ? byte - 1 : byte + 1);
    }
  }
};

// Walks the bytes of a horizontal streak in groups of `kGroup` channels: whole groups, then the
// last 1 .. kGroup - 1 bytes. Where the row goes on for the rest of that group (the seed and
// its right neighbours), those lanes are loaded and stored back unchanged, their weight being 0;
// at the right edge of the picture the bytes go through a copy, so that nothing beyond the row
// is touched. The seed's channels repeat every three groups (kGroup is not a multiple of 3);
// group(p, phase, b) draws the group at p, byte b of the streak, whose first channel is
// channel `phase` of the pixel.
template <size_t kGroup, typename Group>
inline void WalkGroups(uint8_t* first, size_t bytes, size_t room, Group&& group) {
  size_t b = 0;
  for (; b + 3 * kGroup <= bytes; b += 3 * kGroup) {
    group(first + b, 0, b);
    group(first + b + kGroup, 1, b + kGroup);
    group(first + b + 2 * kGroup, 2, b + 2 * kGroup);
  }
  int phase = 0;
  for (; b + kGroup <= bytes; b += kGroup) group(first + b, phase++, b);
  if (b == bytes) return;
  const size_t rest = bytes - b;
  if (room >= kGroup - rest) {
    group(first + b, phase, b);
  } else {
    alignas(32) uint8_t tail[kGroup] = {};
    std::memcpy(tail, first + b, rest);
    group(tail, phase, b);
    std::memcpy(first + b, tail, rest);
  }
}

#if defined(__SSE2__)
// The floor change for a horizontal streak of at most 256 pixels, eight channels at a time in
// 16-bit lanes, from the ramp's byte weights.
// `room` is the number of bytes of the row after the streak (the seed's and beyond).
// The seed is read before anything is stored, so it may be the pixel after the streak itself.
void VectorLoop(const StreakRamp& ramp, uint8_t* first, const uint8_t* seed, size_t room) {
  const Mends mends(ramp, first, seed);
  const __m128i zero = _mm_setzero_si128();
  const uint16_t* const weights = ramp.byte_weights();
  // The seed's channels in the byte pattern, which repeats every 24 bytes (three groups of
  // eight lanes), four lanes at a time: 0 1 2 0, 1 2 0 1, 2 0 1 2.
  const uint64_t c0 = seed[0], c1 = seed[1], c2 = seed[2];
  const int64_t lanes0120 = int64_t(c0 | c1 << 16 | c2 << 32 | c0 << 48);
  const int64_t lanes1201 = int64_t(c1 | c2 << 16 | c0 << 32 | c1 << 48);
  const int64_t lanes2012 = int64_t(c2 | c0 << 16 | c1 << 32 | c2 << 48);
  const __m128i seeds[3] = {_mm_set_epi64x(lanes1201, lanes0120), _mm_set_epi64x(lanes0120, lanes2012),
                            _mm_set_epi64x(lanes2012, lanes1201)};
  // Eight channels from byte b on: c + sign(d) * floor(|d| * t / s), d = seed - c.
  WalkGroups<8>(first, 3 * size_t(ramp.steps()), room, [&](uint8_t* p, int phase, size_t b) {
    const __m128i c = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), zero);
    const __m128i d = _mm_sub_epi16(seeds[phase], c);
    const __m128i a = _mm_max_epi16(d, _mm_sub_epi16(zero, d));
    const __m128i q = _mm_mulhi_epu16(a, _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + b)));
    const __m128i sign = _mm_srai_epi16(d, 15);
    const __m128i out = _mm_add_epi16(c, _mm_sub_epi16(_mm_xor_si128(q, sign), sign));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(out, out));
  });
  mends.Apply(first);
}
#endif

#if defined(__x86_64__) || defined(__i386__)
#define OMBRIX_STREAK_AVX2 1
// Sixteen channels from p on: c + sign(d) * floor(|d| * t / s), d = seed - c, with the absolute
// value and the sign applied in one instruction each.
__attribute__((target("avx2"))) inline void Avx2Group(uint8_t* p, __m256i seed, const uint16_t* weights) {
  const __m256i c = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  const __m256i d = _mm256_sub_epi16(seed, c);
  const __m256i q =
      _mm256_mulhi_epu16(_mm256_abs_epi16(d), _mm256_loadu_si256(reinterpret_cast<const __m256i*>(weights)));
  const __m256i out = _mm256_add_epi16(c, _mm256_sign_epi16(q, d));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p),
                   _mm_packus_epi16(_mm256_castsi256_si128(out), _mm256_extracti128_si256(out, 1)));
}

// The last 1 .. 15 bytes of a streak, as a whole group where the row goes on far enough (the
// lanes past the streak have weight 0 and are stored back unchanged), else through a copy so
// that nothing beyond the row is touched.
__attribute__((target("avx2"))) inline void Avx2Tail(uint8_t* p, size_t rest, size_t room, __m256i seed,
                                                     const uint16_t* weights) {
  if (room >= 16 - rest) {
    Avx2Group(p, seed, weights);
  } else {
    alignas(16) uint8_t tail[16] = {};
    std::memcpy(tail, p, rest);
    Avx2Group(tail, seed, weights);
    std::memcpy(p, tail, rest);
  }
}

// The floor changes of the whole streak, sixteen channels at a time.
__attribute__((target("avx2"))) inline void Avx2Floor(const StreakRamp& ramp, uint8_t* first, const uint8_t* seed,
                                                      size_t room) {
  const uint16_t* const weights = ramp.byte_weights();
  // Lane i of a group whose first channel is channel `phase` holds channel (phase + i) % 3 of
  // the seed: picked from the seed's three bytes, the high byte of every lane cleared. The
  // groups take the phases 0, 1, 2 in turn.
  alignas(32) static constexpr uint8_t kPick[3][32] = {
      {0, 128, 1, 128, 2, 128, 0, 128, 1, 128, 2, 128, 0, 128, 1, 128,
       2, 128, 0, 128, 1, 128, 2, 128, 0, 128, 1, 128, 2, 128, 0, 128},
      {1, 128, 2, 128, 0, 128, 1, 128, 2, 128, 0, 128, 1, 128, 2, 128,
       0, 128, 1, 128, 2, 128, 0, 128, 1, 128, 2, 128, 0, 128, 1, 128},
      {2, 128, 0, 128, 1, 128, 2, 128, 0, 128, 1, 128, 2, 128, 0, 128,
       1, 128, 2, 128, 0, 128, 1, 128, 2, 128, 0, 128, 1, 128, 2, 128},
  };
  const __m256i colour =
      _mm256_set1_epi32(int32_t(uint32_t(seed[0]) | uint32_t(seed[1]) << 8 | uint32_t(seed[2]) << 16));
  const __m256i s0 = _mm256_shuffle_epi8(colour, _mm256_load_si256(reinterpret_cast<const __m256i*>(kPick[0])));
  const __m256i s1 = _mm256_shuffle_epi8(colour, _mm256_load_si256(reinterpret_cast<const __m256i*>(kPick[1])));
  const __m256i s2 = _mm256_shuffle_epi8(colour, _mm256_load_si256(reinterpret_cast<const __m256i*>(kPick[2])));
  // The walk of WalkGroups written out: a lambda would not take this function's instruction set.
  const size_t bytes = 3 * size_t(ramp.steps());
  for (size_t b = 0;; b += 48) {
    if (b + 16 > bytes) {
      if (b < bytes) Avx2Tail(first + b, bytes - b, room, s0, weights + b);
      return;
    }
    Avx2Group(first + b, s0, weights + b);
    if (b + 32 > bytes) {
      if (b + 16 < bytes) Avx2Tail(first + b + 16, bytes - b - 16, room, s1, weights + b + 16);
      return;
    }
    Avx2Group(first + b + 16, s1, weights + b + 16);
    if (b + 48 > bytes) {
      if (b + 32 < bytes) Avx2Tail(first + b + 32, bytes - b - 32, room, s2, weights + b + 32);
      return;
    }
    Avx2Group(first + b + 32, s2, weights + b + 32);
  }
}

// Streaks with exceptions: noted first, the floor loop, then mended.
__attribute__((target("avx2"), noinline)) void VectorLoopAvx2Mended(const StreakRamp& ramp, uint8_t* first,
                                                                    const uint8_t* seed, size_t room) {
  const Mends mends(ramp, first, seed);
  Avx2Floor(ramp, first, seed, room);
  mends.Apply(first);
}

// The SSE2 loop's work sixteen channels at a time; streaks without exceptions skip their list.
__attribute__((target("avx2"))) void VectorLoopAvx2(const StreakRamp& ramp, uint8_t* first, const uint8_t* seed,
                                                    size_t room) {
  if (ramp.short_row_count() != 0) {
    VectorLoopAvx2Mended(ramp, first, seed, room);
  } else {
    Avx2Floor(ramp, first, seed, room);
  }
}

bool DetectAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}
const bool kAvx2 = DetectAvx2();
#else
const bool kAvx2 = false;
#endif

void ScalarLoop(const StreakRamp& ramp, uint8_t* first, const uint8_t* seed, size_t) {
  const uint8_t colour[3] = {seed[0], seed[1], seed[2]};
  const StreakWalk walk(&first, ramp.steps(), 0, ramp.steps(), StreakDirection::kHorizontal);
  RampLoop(ramp, walk, colour);
}

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

bool StreakAvx2Available() { return kAvx2; }

HorizontalStreakKernel HorizontalKernelFor(StreakLoop loop) {
#if defined(OMBRIX_STREAK_AVX2)
  if (kAvx2 && (loop == StreakLoop::kFastest || loop == StreakLoop::kAvx2)) return VectorLoopAvx2;
#endif
#if defined(__SSE2__)
  if (loop != StreakLoop::kScalar) return VectorLoop;
#endif
  (void)loop;
  return ScalarLoop;
}

void DrawRampStreak(uint8_t* const* rows, int32_t width, int64_t x, int64_t y, int64_t steps, StreakDirection direction,
                    const StreakRamp& ramp, StreakLoop loop) {
  const StreakWalk walk(rows, x, y, steps, direction);
  if (loop != StreakLoop::kScalar && direction == StreakDirection::kHorizontal && ramp.byte_weights() != nullptr) {
    HorizontalKernelFor(loop)(ramp, walk.Pixel(0), PixelAt(rows, x, y), 3 * size_t(width - x));
    return;
  }
  uint8_t seed[3];
  CopyPixel(seed, PixelAt(rows, x, y));
  RampLoop(ramp, walk, seed);
}

void DrawStreakThroughRamps(uint8_t* const* rows, int32_t width, int64_t x, int64_t y, int64_t length,
                            StreakDirection direction, StreakRamps& ramps, StreakLoop loop) {
  const int64_t steps = StreakSteps(width, x, y, length, direction);
  // One step is the far end alone, whose change is 0.
  if (steps < 2) return;
  const StreakRamp* ramp = ramps.For(steps);
  if (ramp == nullptr) {
    DrawStreakPlain(rows, width, x, y, length, direction);
  } else {
    DrawRampStreak(rows, width, x, y, steps, direction, *ramp, loop);
  }
}

}  // namespace ombrix::pic
