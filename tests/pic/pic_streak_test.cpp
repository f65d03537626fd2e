// The fast paths of the scattering filters against their plain forms: streak ramps and drawing,
// the overlay by difference, and draws with a fixed bound.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "core/kit/random.h"
#include "core/kit/simd.h"
#include "plugins/pic/pic_helpers.h"
#include "plugins/pic/texture/streak.h"
#include "tests/support/simd_levels.h"

namespace {

using namespace ombrix::pic;
namespace simd = ombrix::kit::simd;

// A picture as a block of rows with a row table, filled from a small generator of its own.
struct Rows {
  int32_t width, height;
  std::vector<uint8_t> bytes;
  std::vector<uint8_t*> table;
  Rows(int32_t w, int32_t h, uint32_t seed) : width(w), height(h), bytes(3 * size_t(w) * size_t(h)), table(size_t(h)) {
    for (uint8_t& b : bytes) {
      seed = seed * 1664525u + 1013904223u;
      b = uint8_t(seed >> 24);
    }
    for (int32_t y = 0; y < h; ++y) table[size_t(y)] = bytes.data() + 3 * size_t(w) * size_t(y);
  }
  Rows(const Rows& other) : width(other.width), height(other.height), bytes(other.bytes), table(size_t(other.height)) {
    for (int32_t y = 0; y < height; ++y) table[size_t(y)] = bytes.data() + 3 * size_t(width) * size_t(y);
  }
};

TEST(StreakRamp, EveryChangeMatchesTheExtendedComputation) {
  std::vector<int32_t> scratch(70000);
  std::vector<int32_t> lengths;
  for (int32_t s = 2; s <= 140; ++s) lengths.push_back(s);
  for (int32_t s : {210, 255, 256, 257, 1000, 4099, 65535}) lengths.push_back(s);
  for (int32_t s : lengths) {
    StreakRamp ramp;
    ASSERT_TRUE(ramp.Build(s, scratch.data()));
    // Long ramps are checked on a spread of steps, short ones on all of them.
    const int32_t stride = s > 300 ? s / 97 : 1;
    int32_t mismatches = 0;
    for (int32_t t = 0; t < s; t += stride)
      for (int32_t d = -255; d <= 255; ++d)
        if (ramp.Change(d, t) != StreakChange(d, s, t)) ++mismatches;
    EXPECT_EQ(mismatches, 0) << "length " << s;
  }
  // The exceptions are real: some lengths have changes one short of the exact quotient.
  StreakRamp ramp;
  ASSERT_TRUE(ramp.Build(60, scratch.data()));
  EXPECT_GT(ramp.short_row_count(), 0);
}

// Streaks drawn one after another on the same picture, as the filters draw them, by both paths;
// the ramps take the loop of the level in force.
void ExpectSameStreaks(StreakDirection direction, int64_t longest) {
  Rows plain(97, 61, 12345u + uint32_t(direction));
  Rows fast(plain);
  StreakRamps ramps;
  ASSERT_TRUE(ramps.Reset(longest));
  uint32_t state = 99;
  auto next = [&](uint32_t bound) {
    state = state * 22695477u + 1u;
    return (state >> 8) % bound;
  };
  for (int i = 0; i < 3000; ++i) {
    // Seeds everywhere, the picture's edges included; lengths from none to beyond 256.
    const int64_t x = next(6) == 0 ? (next(2) ? 0 : plain.width - 1 - int64_t(next(3))) : next(uint32_t(plain.width));
    const int64_t y = next(uint32_t(plain.height));
    const int64_t length = next(5) == 0 ? int64_t(next(400)) : int64_t(next(70));
    DrawStreakPlain(plain.table.data(), plain.width, x, y, length, direction);
    DrawStreak(fast.table.data(), fast.width, x, y, length, direction, ramps);
  }
  EXPECT_TRUE(plain.bytes == fast.bytes) << "level " << int(simd::CurrentLevel());
}

TEST(DrawStreak, BothPathsGiveTheSameBytesInEveryDirection) {
  for (StreakDirection direction : {StreakDirection::kHorizontal, StreakDirection::kVertical,
                                    StreakDirection::kDiagonalRight, StreakDirection::kDiagonalLeft}) {
    for (simd::Level level : ombrix::testing::SimdLevels()) {
      const simd::ScopedLevel in_force(level);
      ExpectSameStreaks(direction, 400);
    }
    ExpectSameStreaks(direction, 20);  // longer streaks without a ramp: the plain path
  }
}

TEST(DrawStreak, HorizontalStreaksLeaveTheRestOfTheRow) {
  // A streak ending one pixel short of the right edge: the vector loops must neither read nor
  // write past the row, nor change the seed or what follows it.
  for (simd::Level level : ombrix::testing::SimdLevels()) {
    const simd::ScopedLevel in_force(level);
    for (int32_t width = 2; width <= 40; ++width) {
      for (int64_t length = 1; length < width; ++length) {
        Rows picture(width, 2, uint32_t(int64_t(width) * 100 + length));
        Rows before(picture);
        StreakRamps ramps;
        ASSERT_TRUE(ramps.Reset(64));
        const int64_t x = width - 1;
        DrawStreak(picture.table.data(), width, x, 1, length, StreakDirection::kHorizontal, ramps);
        DrawStreakPlain(before.table.data(), width, x, 1, length, StreakDirection::kHorizontal);
        ASSERT_TRUE(picture.bytes == before.bytes) << width << " " << length;
        EXPECT_EQ(std::memcmp(picture.table[1] + 3 * x,
                              Rows(width, 2, uint32_t(int64_t(width) * 100 + length)).table[1] + 3 * x, 3),
                  0);
      }
    }
  }
}

TEST(OverlayRamp, MatchesTheChannelOverlayForEveryPair) {
  for (float f : {0.0f, -0.0f, 1.0f, 127.5f, 128.0f, 254.0f, 255.0f, 300.7f, -1.0f, -64.25f, -255.0f, -1000.0f, 1.0e12f,
                  -1.0e12f}) {
    OverlayRamp ramp;
    ramp.Fill(f);
    int32_t mismatches = 0;
    for (int32_t c = 0; c < 256; ++c)
      for (int32_t s = 0; s < 256; ++s)
        if (ramp.Apply(c, s) != OverlayChannel(c, s, f)) ++mismatches;
    EXPECT_EQ(mismatches, 0) << f;
    EXPECT_EQ(ramp.copies, f == 0.0f) << f;
  }
}

TEST(FixedBoundDraws, FollowTheGeneratorLikeTheDrawsTheyReplace) {
  using ombrix::kit::Random;
  using ombrix::kit::SetRandomState;
  for (int32_t bound : {-3, 0, 1, 2, 3, 4, 7, 100, 128, 255, 32767, 32768, 100000, INT32_MAX}) {
    SetRandomState(uint32_t(bound) * 2654435761u);
    std::vector<int32_t> plain;
    for (int i = 0; i < 2000; ++i)
      plain.push_back(OneChanceIn(bound) ? 1 : 0), plain.push_back(OffsetMagnitudeFirst(bound));
    SetRandomState(uint32_t(bound) * 2654435761u);
    const ChanceIn chance(bound);
    const MagnitudeFirstOffset offset(bound);
    std::vector<int32_t> fast;
    for (int i = 0; i < 2000; ++i) fast.push_back(chance.Draw() ? 1 : 0), fast.push_back(offset.Draw());
    EXPECT_EQ(plain, fast) << bound;
  }
  // The remainder without a division, for every draw and a wide spread of divisors.
  for (int32_t m = 1; m < 700; m += (m < 300 ? 1 : 37)) {
    const ombrix::kit::DrawModulus modulus(m);
    for (int32_t x = 0; x <= ombrix::kit::kRandomMax; ++x) ASSERT_EQ(modulus.Of(x), x % m) << x << " mod " << m;
  }
  for (int32_t m : {32767, 32768, 65535, 131071, 131072, 1 << 20, INT32_MAX}) {
    const ombrix::kit::DrawModulus modulus(m);
    for (int32_t x = 0; x <= ombrix::kit::kRandomMax; ++x) ASSERT_EQ(modulus.Of(x), x % m) << x << " mod " << m;
  }
}

}  // namespace
