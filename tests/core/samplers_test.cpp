// Samplers: exact values at chosen fractional points, true floor for negative coordinates,
// outside colours, wrap-around at both edges and the alpha outside rules.
#include "core/kit/samplers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "core/kit/simd.h"
#include "tests/support/simd_levels.h"

namespace {

using namespace ombrix::kit;

// A 4 x 3 picture whose blue channel is 10 * x + 100 * y... kept under 256: x * 20 + y * 60.
void MakeRamp(Picture& p) {
  ASSERT_TRUE(p.Create(4, 3));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      const uint8_t c[3] = {uint8_t(x * 20 + y * 60), uint8_t(200), uint8_t(x == 3 ? 255 : 0)};
      p.SetPixel(x, y, c);
    }
}

TEST(Samplers, BilinearAtPixelsAndBetweenThem) {
  Picture p;
  MakeRamp(p);
  const uint8_t black[3] = {0, 0, 0};
  uint8_t out[3];
  SampleBilinear(p, 1.0f, 1.0f, black, out);
  EXPECT_EQ(out[0], 80);
  EXPECT_EQ(out[1], 200);
  SampleBilinear(p, 1.5f, 1.5f, black, out);  // mean of 80, 100, 140, 160
  EXPECT_EQ(out[0], 120);
  SampleBilinear(p, 2.25f, 0.0f, black, out);
  EXPECT_EQ(out[0], 45);  // 40 + 0.25 * 20
  EXPECT_EQ(out[2], 63);  // 0.25 * 255 = 63.75, truncated
  // Interpolation toward an outside neighbour: the last column mixes with the outside colour.
  const uint8_t grey[3] = {100, 100, 100};
  SampleBilinear(p, 3.5f, 0.0f, grey, out);
  EXPECT_EQ(out[0], 80);  // (60 + 100) / 2
}

TEST(Samplers, TrueFloorForNegativePoints) {
  Picture p;
  MakeRamp(p);
  const uint8_t white[3] = {255, 255, 255};
  uint8_t out[3];
  // u = -0.5: neighbours at x = -1 (outside) and x = 0, half each.
  SampleBilinear(p, -0.5f, 0.0f, white, out);
  EXPECT_EQ(out[0], 127);  // (255 + 0) / 2 = 127.5, truncated
  EXPECT_EQ(out[1], 227);  // (255 + 200) / 2
  // Far outside gives the outside colour; NaN does not crash.
  SampleBilinear(p, -1.0e12f, 5.0f, white, out);
  EXPECT_EQ(out[0], 255);
  SampleBilinear(p, std::nanf(""), 0.0f, white, out);
  EXPECT_EQ(out[2], 255);
}

TEST(Samplers, WrapAroundAtBothEdges) {
  Picture p;
  MakeRamp(p);
  uint8_t out[3];
  SampleWrapped(p, 3.5f, 0.0f, out);  // between column 3 (60) and column 0 (0)
  EXPECT_EQ(out[0], 30);
  SampleWrapped(p, -0.5f, 0.0f, out);  // between column -1 = 3 and column 0
  EXPECT_EQ(out[0], 30);
  SampleWrapped(p, 4.0f * 2 + 1.0f, -3.0f, out);  // whole turns in both directions
  EXPECT_EQ(out[0], 20);
  SampleWrapped(p, 0.0f, 2.5f, out);  // row 2 (120) with row 0 (0)
  EXPECT_EQ(out[0], 60);
}

TEST(Samplers, AlphaOutsideRules) {
  Picture p;
  ASSERT_TRUE(p.Create(2, 2));
  ASSERT_TRUE(p.AllocExtraPlane());
  for (int i = 0; i < 4; ++i) p.ExtraPlane()[i] = 100;
  EXPECT_EQ(SampleAlpha(p, 0.5f, 0.5f, AlphaOutside::kZero), 100);
  EXPECT_EQ(SampleAlpha(p, 1.5f, 0.0f, AlphaOutside::kZero), 50);
  EXPECT_EQ(SampleAlpha(p, 1.5f, 0.0f, AlphaOutside::kOpaque), 177);  // (100 + 255) / 2 = 177.5
  EXPECT_EQ(SampleAlpha(p, 1.5f, 0.0f, AlphaOutside::kWrap), 100);
  EXPECT_EQ(SampleAlpha(p, 1.0e12f, 0.0f, AlphaOutside::kOpaque), 255);
  EXPECT_EQ(WrapInto(2 * 4 + 3, 4), 3);
  EXPECT_EQ(WrapInto(-1, 4), 3);
  EXPECT_EQ(WrapInto(-8, 4), 0);
}

// Points around and across every edge, fractional and whole, plus the awkward ones: far away,
// NaN, infinities, beyond the unsigned 16-bit range (which the outside test wraps), just below
// zero and just beside the edges.
std::vector<std::pair<float, float>> PointsFor(int width, int height) {
  std::mt19937 random(uint32_t(width * 131 + height));
  std::uniform_real_distribution<float> across(-2.5f, 2.5f);
  std::vector<std::pair<float, float>> points;
  points.reserve(4000 + 2 * size_t(width + 4) * size_t(height + 4) + 240);
  for (int i = 0; i < 4000; ++i) points.emplace_back(across(random) * float(width), across(random) * float(height));
  for (int y = -2; y <= height + 1; ++y)
    for (int x = -2; x <= width + 1; ++x) {
      points.emplace_back(float(x), float(y));
      points.emplace_back(float(x) + 0.5f, float(y) - 0.25f);
    }
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  const float odd[] = {0.0f,        -0.0f,    0.999999f, -1e-7f,     1e-7f,
                       3.9999f,     65535.5f, 65536.25f, -65536.75f, 8388607.5f,
                       16777216.0f, 9.9e8f,   -9.9e8f,   1.0e9f,     -1.0e9f,
                       1.1e9f,      nan,      inf,       -inf,       float(width) - 1.0e-5f};
  for (float a : odd)
    for (float b : {0.0f, 0.5f, float(height) - 0.75f, float(height) - 1.0f}) {
      points.emplace_back(a, b);
      points.emplace_back(b, a);
      points.emplace_back(a + float(width) - 1, b + float(height) - 1);
    }
  return points;
}

// The inline samplers (vector blends at the SSE2 level, floor by truncation) against the plain
// ones: identical bytes at every level, for pictures of several shapes, with and without row
// padding, single rows and columns, and a single pixel.
TEST(Samplers, InlineSamplersMatchThePlainOnesAtEveryLevel) {
  const int sizes[][2] = {{1, 1}, {2, 2}, {2, 3}, {1, 7}, {9, 1}, {5, 4}, {17, 9}, {16, 5}, {37, 23}, {64, 1}};
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return seed >> 8;
  };
  for (const auto& size : sizes) {
    Picture p;
    ASSERT_TRUE(p.Create(size[0], size[1]));
    for (int y = 0; y < size[1]; ++y)
      for (int x = 0; x < size[0]; ++x) {
        const uint8_t c[3] = {uint8_t(next()), uint8_t(next()), uint8_t(next() | 0x80)};
        p.SetPixel(x, y, c);
      }
    const uint8_t grey[3] = {uint8_t(next()), 255, 0}, black[3] = {0, 0, 0};
    const auto points = PointsFor(size[0], size[1]);
    for (simd::Level level : ombrix::testing::SimdLevels()) {
      const simd::ScopedLevel in_force(level);
      const BilinearSampler sampler(p);
      for (const auto& [u, v] : points) {
        uint8_t fast[3], plain[3];
        for (const uint8_t* outside : {black, grey}) {
          sampler.Sample(u, v, outside, fast);
          SampleBilinearPlain(p, u, v, outside, plain);
          ASSERT_TRUE(fast[0] == plain[0] && fast[1] == plain[1] && fast[2] == plain[2])
              << size[0] << " x " << size[1] << " at (" << u << ", " << v << "), level " << int(level);
        }
        sampler.SampleWrapped(u, v, fast);
        SampleWrappedPlain(p, u, v, plain);
        ASSERT_TRUE(fast[0] == plain[0] && fast[1] == plain[1] && fast[2] == plain[2])
            << "wrapped, " << size[0] << " x " << size[1] << " at (" << u << ", " << v << "), level " << int(level);
      }
    }
  }
}

}  // namespace
