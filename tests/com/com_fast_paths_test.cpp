// The composition filters' fast paths against the plain ones they stand for: the row sampler
// against per-pixel plain sampling, the row-wide operators against the per-byte rule and Rub's
// set intensity against the kit's, at every level.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/kit/pixel_math.h"
#include "core/kit/samplers.h"
#include "core/kit/simd.h"
#include "plugins/com/combine_ops.h"
#include "plugins/com/rub_intensity.h"
#include "plugins/com/second_rows.h"
#include "tests/support/simd_levels.h"
#include "tests/support/test_host.h"

namespace {

using namespace ombrix;
using ombrix::testing::NoisePicture;
using ombrix::testing::SimdLevels;

// Sizes with and without row padding, single rows and columns, and a single pixel.
const std::pair<int, int> kSizes[] = {{1, 1}, {2, 2}, {1, 7}, {9, 1}, {13, 9}, {16, 5}, {37, 23}};

// The point of one axis as the filters form it (extended precision, then single precision).
float PointOf(int position, long double offset, float scale, com::Addressing mode) {
  return mode == com::Addressing::kStretch ? float((position + offset) * scale) : float(position + offset);
}

struct RowCase {
  com::Addressing mode;
  com::RepeatSampling repeat;
  bool negative;
  long double dx, dy;
};

// The row sampler of one case against per-pixel plain sampling, row by row over the host zone.
void ExpectRowSamples(const Picture& second, float sx, float sy, const RowCase& c, int x0, int x1, int host_height) {
  using com::Addressing;
  using com::RepeatSampling;
  const int width = second.Width(), height = second.Height();
  const com::SecondRows rows(second, sx, sy, c.mode, c.repeat, c.dx, c.dy, c.negative, x0, x1);
  const bool wraps = c.mode == Addressing::kRepeat;
  const kit::AlphaOutside alpha_outside = c.mode == Addressing::kNormal    ? kit::AlphaOutside::kZero
                                          : c.mode == Addressing::kStretch ? kit::AlphaOutside::kOpaque
                                                                           : kit::AlphaOutside::kWrap;
  std::vector<uint8_t> colours(3 * size_t(x1 - x0)), alphas(size_t(x1 - x0));
  for (int y = -1; y <= host_height; ++y) {
    rows.Colours(y, colours.data());
    if (c.repeat == RepeatSampling::kWrapAroundSampler || c.mode != Addressing::kRepeat) rows.Alphas(y, alphas.data());
    for (int x = x0; x < x1; ++x) {
      uint8_t plain[3];
      const float u = PointOf(x, c.dx, sx, c.mode), v = PointOf(y, c.dy, sy, c.mode);
      if (wraps && c.repeat == RepeatSampling::kWrappedPixel) {
        const uint8_t* q = second.Row(com::RepeatIndex(y, c.dy, height)) + 3 * size_t(com::RepeatIndex(x, c.dx, width));
        plain[0] = q[0], plain[1] = q[1], plain[2] = q[2];
      } else if (wraps) {
        kit::SampleWrappedPlain(second, u, v, plain);
      } else {
        const uint8_t black[3] = {0, 0, 0};
        kit::SampleBilinearPlain(second, u, v, black, plain);
      }
      if (c.negative)
        for (uint8_t& b : plain) b = uint8_t(255 - b);
      const uint8_t* fast = &colours[3 * size_t(x - x0)];
      ASSERT_EQ(std::vector<uint8_t>(plain, plain + 3), std::vector<uint8_t>(fast, fast + 3))
          << width << "x" << height << " mode " << int(c.mode) << " offsets " << double(c.dx) << ", " << double(c.dy)
          << " at " << x << ", " << y;
      if (c.repeat == RepeatSampling::kWrapAroundSampler || c.mode != Addressing::kRepeat) {
        ASSERT_EQ(kit::SampleAlpha(second, u, v, alpha_outside), alphas[size_t(x - x0)])
            << "alpha " << width << "x" << height << " mode " << int(c.mode) << " at " << x << ", " << y;
      }
    }
  }
}

TEST(ComFastPaths, RowSamplesMatchPerPixelKitSampling) {
  using com::Addressing;
  using com::RepeatSampling;
  const RowCase cases[] = {
      {Addressing::kNormal, RepeatSampling::kWrappedPixel, false, 0, 0},
      {Addressing::kNormal, RepeatSampling::kWrappedPixel, true, -5, 4},
      {Addressing::kNormal, RepeatSampling::kWrappedPixel, false, 2.75L, -1.5L},
      {Addressing::kNormal, RepeatSampling::kWrappedPixel, false, 65536 + 3, -65536},
      {Addressing::kNormal, RepeatSampling::kWrappedPixel, false, 3.0e9L, 0},
      {Addressing::kStretch, RepeatSampling::kWrappedPixel, false, 0, 0},
      {Addressing::kStretch, RepeatSampling::kWrappedPixel, true, 2, -3.25L},
      {Addressing::kRepeat, RepeatSampling::kWrappedPixel, false, -4.5L, -3.25L},
      {Addressing::kRepeat, RepeatSampling::kWrappedPixel, true, 77, -31},
      {Addressing::kRepeat, RepeatSampling::kWrapAroundSampler, false, -30, 17},
      {Addressing::kRepeat, RepeatSampling::kWrapAroundSampler, true, 0.5L, 1.25L},
      {Addressing::kRepeat, RepeatSampling::kWrapAroundSampler, false, 2.0e9L, 5},
  };
  const int host_width = 41, host_height = 33;
  const int x0 = 3, x1 = 38;
  for (const auto& [width, height] : kSizes) {
    auto second = NoisePicture(width, height, uint32_t(3 * width + height));
    ASSERT_TRUE(second->AllocExtraPlane());
    for (int i = 0; i < width * height; ++i) second->ExtraPlane()[i] = uint8_t(i % 3 == 0 ? 255 : (i * 37) % 256);
    const float sx = float(width) / float(host_width), sy = float(height) / float(host_height);
    for (const RowCase& c : cases) {
      for (kit::simd::Level level : SimdLevels()) {
        const kit::simd::ScopedLevel in_force(level);  // the row sampler's blends follow it
        ExpectRowSamples(*second, sx, sy, c, x0, x1, host_height);
        if (HasFatalFailure()) return;
      }
    }
  }
}

TEST(ComFastPaths, RowOperatorsMatchTheByteRuleForEveryPair) {
  // Every pixel byte against every sample byte, in a length that leaves a tail after the
  // sixteen-byte steps.
  std::vector<uint8_t> pixels, samples;
  for (int p = 0; p < 256; ++p)
    for (int s = 0; s < 256; ++s) pixels.push_back(uint8_t(p)), samples.push_back(uint8_t(s));
  pixels.push_back(200), samples.push_back(100);
  for (kit::simd::Level level : SimdLevels()) {
    const kit::simd::ScopedLevel in_force(level);
    for (int op = 0; op <= 6; ++op) {
      std::vector<uint8_t> combined = pixels;
      com::CombineRow(com::Operator(op), combined.data(), samples.data(), combined.size());
      for (size_t i = 0; i < pixels.size(); ++i)
        ASSERT_EQ(combined[i], com::CombineBytes(com::Operator(op), pixels[i], samples[i]))
            << "operator " << op << ": " << int(pixels[i]) << " with " << int(samples[i]) << ", level " << int(level);
    }
  }
  EXPECT_EQ(com::CombineBytes(com::Operator::kAdd, 200, 100), 255);
  EXPECT_EQ(com::CombineBytes(com::Operator::kSub, 100, 200), 0);
  EXPECT_EQ(com::CombineBytes(com::Operator::kDifference, 100, 200), 100);
}

TEST(ComFastPaths, ByteIntensityMatchesTheKitForEveryChannelMeanAndLevel) {
  // Each channel value c with each mean it can have (the other two channels make up the sum),
  // at every level near the ends and every fifth between; c moves through the three positions.
  // The plain channel loop and the vector lanes alike.
  for (kit::simd::Level simd_level : SimdLevels()) {
    const kit::simd::ScopedLevel in_force(simd_level);
    for (int level = 0; level < 256; level += level < 8 || level > 247 ? 1 : 5)
      for (int mean = 0; mean < 256; ++mean)
        for (int c = 0; c < 256; ++c) {
          const int sum = 3 * mean + (c + level) % 3;
          const int rest = sum - c;
          if (rest < 0 || rest > 510) continue;
          uint8_t pixel[3];
          const int at = (c + mean) % 3;
          pixel[at] = uint8_t(c);
          pixel[(at + 1) % 3] = uint8_t(rest / 2);
          pixel[(at + 2) % 3] = uint8_t(rest - rest / 2);
          uint8_t plain[3] = {pixel[0], pixel[1], pixel[2]};
          uint8_t fast[3] = {pixel[0], pixel[1], pixel[2]};
          kit::SetIntensity(plain, level);
          com::SetByteIntensity(fast, level);
          ASSERT_TRUE(plain[0] == fast[0] && plain[1] == fast[1] && plain[2] == fast[2])
              << "pixel " << int(pixel[0]) << " " << int(pixel[1]) << " " << int(pixel[2]) << " level " << level
              << ", SIMD level " << int(simd_level);
        }
  }
}

}  // namespace
