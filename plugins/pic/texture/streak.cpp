// Streaks: the plain and the fast drawing, and the per-length ramps the fast one reads.
#include "plugins/pic/texture/streak.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <numeric>

#include "core/kit/simd.h"
#include "plugins/pic/pic_helpers.h"
#include "plugins/pic/texture/streak_lanes.h"

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
      weights_[3 * size_t(t)] = weights_[3 * size_t(t) + 1] = weights_[3 * size_t(t) + 2] = w;
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
  kernel_ = HorizontalKernel();
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
      const uint8_t* p = first + 3 * size_t(row.t);
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

#if OMBRIX_SIMD_X86
// The vector loops: the floor changes of the whole streak, with the exceptions noted first and
// mended after; a streak without exceptions skips its list. The list is large, so it lives in a
// function of its own, off the way of the common streaks.
template <void (*kFloor)(const uint16_t*, int32_t, uint8_t*, const uint8_t*, size_t)>
[[gnu::noinline]] void MendedVectorLoop(const StreakRamp& ramp, uint8_t* first, const uint8_t* seed, size_t room) {
  const Mends mends(ramp, first, seed);
  kFloor(ramp.byte_weights(), ramp.steps(), first, seed, room);
  mends.Apply(first);
}

template <void (*kFloor)(const uint16_t*, int32_t, uint8_t*, const uint8_t*, size_t)>
void VectorLoop(const StreakRamp& ramp, uint8_t* first, const uint8_t* seed, size_t room) {
  if (ramp.short_row_count() != 0) {
    MendedVectorLoop<kFloor>(ramp, first, seed, room);
    return;
  }
  kFloor(ramp.byte_weights(), ramp.steps(), first, seed, room);
}

void StreakFloorSse2(const uint16_t* weights, int32_t steps, uint8_t* first, const uint8_t* seed, size_t room) {
  StreakFloorLoop<kit::simd::Lanes16>(weights, steps, first, seed, room);
}
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

HorizontalStreakKernel HorizontalKernel() {
#if OMBRIX_SIMD_X86
  if (kit::simd::Uses(kit::simd::Level::kAvx2)) return VectorLoop<StreakFloorAvx2>;
  if (kit::simd::Uses(kit::simd::Level::kSse2)) return VectorLoop<StreakFloorSse2>;
#endif
  return ScalarLoop;
}

void DrawRampStreak(uint8_t* const* rows, int32_t width, int64_t x, int64_t y, int64_t steps, StreakDirection direction,
                    const StreakRamp& ramp, HorizontalStreakKernel horizontal) {
  const StreakWalk walk(rows, x, y, steps, direction);
  if (direction == StreakDirection::kHorizontal && ramp.byte_weights() != nullptr) {
    horizontal(ramp, walk.Pixel(0), PixelAt(rows, x, y), 3 * size_t(width - x));
    return;
  }
  uint8_t seed[3];
  CopyPixel(seed, PixelAt(rows, x, y));
  RampLoop(ramp, walk, seed);
}

void DrawStreakThroughRamps(uint8_t* const* rows, int32_t width, int64_t x, int64_t y, int64_t length,
                            StreakDirection direction, StreakRamps& ramps) {
  const int64_t steps = StreakSteps(width, x, y, length, direction);
  // One step is the far end alone, whose change is 0.
  if (steps < 2) return;
  const StreakRamp* ramp = ramps.For(steps);
  if (ramp == nullptr) {
    DrawStreakPlain(rows, width, x, y, length, direction);
  } else {
    DrawRampStreak(rows, width, x, y, steps, direction, *ramp, ramps.horizontal_kernel());
  }
}

}  // namespace ombrix::pic
