// The kit's arithmetic: conversions that never overflow, the rounding rule, byte wrapping,
// pixel intensity and the random generator.
#include "core/kit/pixel_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "core/kit/random.h"

namespace {

using namespace ombrix::kit;

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(PixelMath, TruncateSaturatesInsteadOfOverflowing) {
  EXPECT_EQ(TruncateToInt(2.9L), 2);
  EXPECT_EQ(TruncateToInt(-2.9L), -2);
  EXPECT_EQ(TruncateToInt(2147483647.75L), kMax);
  EXPECT_EQ(TruncateToInt(-2147483648.75L), kMin);
  EXPECT_EQ(TruncateToInt(3e9L), kMax);
  EXPECT_EQ(TruncateToInt(-3e9L), kMin);
  EXPECT_EQ(TruncateToInt(std::numeric_limits<long double>::infinity()), kMax);
  EXPECT_EQ(TruncateToInt(-std::numeric_limits<long double>::infinity()), kMin);
  EXPECT_EQ(TruncateToInt(std::nanl("")), 0);
}

TEST(PixelMath, FastTruncationMatchesTheDirectConversion) {
  // The extended values next to every whole number, where rounding to double lands on the
  // whole number itself, over small values, the edges of the range and random magnitudes.
  auto same = [](long double v) { ASSERT_EQ(TruncateInRange(v), TruncateInRangePlain(v)) << double(v); };
  auto around = [&](long double whole) {
    long double below = whole, above = whole;
    for (int step = 0; step < 4; ++step) {
      below = std::nextafter(below, -INFINITY);
      above = std::nextafter(above, INFINITY);
      same(below);
      same(above);
    }
    same(whole);
  };
  for (int32_t n = -70000; n <= 70000; ++n) around(n);
  for (int32_t n : {kMax - 2, kMax - 1, kMax, kMin, kMin + 1, kMin + 2}) around(n);
  uint64_t state = 12345;
  for (int i = 0; i < 200000; ++i) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    const long double v = std::ldexp(static_cast<long double>(int64_t(state) >> 11), -(int(state & 63) + 1));
    if (v > -2147483649.0L && v < 2147483648.0L) same(v);
  }
}

TEST(PixelMath, RoundBelowRoundsHalvesUpAndTruncatesNegatives) {
  EXPECT_EQ(RoundBelow(2.5L), 3);
  EXPECT_EQ(RoundBelow(2.4999L), 2);
  EXPECT_EQ(RoundBelow(0.5L), 1);
  EXPECT_EQ(RoundBelow(7.0L), 7);
  EXPECT_EQ(RoundBelow(0.0L), 0);
  // Below zero the rule truncates toward zero, halves included.
  EXPECT_EQ(RoundBelow(-0.5L), 0);
  EXPECT_EQ(RoundBelow(-2.5L), -2);
  EXPECT_EQ(RoundBelow(-2.9L), -2);
  EXPECT_EQ(RoundBelow(-3.0L), -3);
  // The float just below 0.5 stays below it: no double rounding through a wider type.
  EXPECT_EQ(RoundBelow(std::nextafter(0.5f, 0.0f)), 0);
  EXPECT_EQ(RoundBelow(1e20L), kMax);
  EXPECT_EQ(RoundBelow(-1e20L), kMin);
  EXPECT_EQ(RoundBelow(std::nanl("")), 0);
}

TEST(PixelMath, SinglePrecisionRoundingAgreesWithTheRule) {
  // Every 997th float bit pattern over the whole range, and the floats around every half and
  // whole number up to 4096.
  auto same = [](float v) { ASSERT_EQ(RoundBelowSingle(v), RoundBelow(v)) << v; };
  for (uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += 997) {
    float v;
    const uint32_t b = uint32_t(bits);
    std::memcpy(&v, &b, sizeof v);
    same(v);
  }
  for (int t = -4096; t <= 4096; ++t)
    for (float v : {float(t), t + 0.5f}) {
      same(v);
      same(std::nextafter(v, -1e9f));
      same(std::nextafter(v, 1e9f));
    }
}

TEST(PixelMath, WrapToByteKeepsTheLowEightBitsOfAnyValue) {
  EXPECT_EQ(WrapToByte(-5.5L), 251);
  EXPECT_EQ(WrapToByte(300.0L), 44);
  EXPECT_EQ(WrapToByte(255.9L), 255);
  EXPECT_EQ(WrapToByte(-256.0L), 0);
  // Beyond the int32 range the wrap is still exact.
  EXPECT_EQ(WrapToByte(1e12L), 0);  // 10^12 = 2^12 * 5^12
  EXPECT_EQ(WrapToByte(1e12L + 5), 5);
  EXPECT_EQ(WrapToByte(-1e12L - 1), 255);
  EXPECT_EQ(WrapToByte(4294967296.0L + 300), 44);
  EXPECT_EQ(WrapToByte(std::numeric_limits<long double>::infinity()), 0);
  EXPECT_EQ(WrapToByte(std::nanl("")), 0);
}

TEST(PixelMath, ClampAndMean) {
  EXPECT_EQ(Clamp(-1), 0);
  EXPECT_EQ(Clamp(256), 255);
  EXPECT_EQ(Clamp(int64_t(1) << 40), 255);
  const uint8_t grey_ish[3] = {1, 1, 0};
  EXPECT_EQ(Mean(grey_ish), 0);  // integer division
  const uint8_t full[3] = {255, 255, 254};
  EXPECT_EQ(Mean(full), 254);
}

TEST(PixelMath, SetIntensity) {
  uint8_t black[3] = {0, 0, 0};
  SetIntensity(black, 300);  // a black pixel becomes the clamped level in every channel
  EXPECT_EQ(black[0], 255);
  EXPECT_EQ(black[2], 255);

  uint8_t dark[3] = {1, 1, 0};  // mean 0 counts as black
  SetIntensity(dark, 40);
  EXPECT_EQ(dark[0], 40);
  EXPECT_EQ(dark[2], 40);

  uint8_t coloured[3] = {30, 20, 10};  // blue, green, red; mean 20
  SetIntensity(coloured, 0);
  EXPECT_EQ(coloured[0] | coloured[1] | coloured[2], 0);

  // q = 235 / 20 = 11.75: 10 * q = 117.5 rounds up to 118; 20 * q = 235; 30 * q clamps.
  uint8_t tinted[3] = {30, 20, 10};
  SetIntensity(tinted, 235);
  EXPECT_EQ(tinted[0], 255);
  EXPECT_EQ(tinted[1], 235);
  EXPECT_EQ(tinted[2], 118);

  // The product is taken in single precision: q = 7 / 6 is stored just below 7/6, and 3 * q is
  // exactly 3.5 - 2^-23, which single precision rounds to 3.5 and so to 4 (extended gives 3).
  uint8_t mean_six[3] = {3, 3, 12};
  SetIntensity(mean_six, 7);
  EXPECT_EQ(mean_six[0], 4);
  EXPECT_EQ(mean_six[1], 4);
  EXPECT_EQ(mean_six[2], 14);
}

TEST(Random, ClassicRunTimeSequenceFromSeedOne) {
  SetRandomState(1);
  EXPECT_EQ(Random(), 41);
  EXPECT_EQ(RandomState(), 2745024u);
  EXPECT_EQ(Random(), 18467);
  EXPECT_EQ(Random(), 6334);
  EXPECT_EQ(Random(), 26500);
  EXPECT_EQ(Random(), 19169);
  // The state wraps modulo 2^32 and every result stays within 0..32767.
  SetRandomState(0xFFFFFFFFu);
  for (int i = 0; i < 1000; ++i) {
    const int32_t r = Random();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, kRandomMax);
  }
}

}  // namespace
