// The picture filters' row kernels, linked straight into the test program: the fast forms at
// every level (vector bulk and scalar tails, and the scalar loops alone) against the plain
// per-byte forms, over row lengths that leave every kind of tail.
#include "plugins/pic/pic_kernels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "core/kit/simd.h"
#include "plugins/pic/pic_helpers.h"
#include "tests/support/simd_levels.h"

namespace {

using namespace ombrix::pic;
namespace simd = ombrix::kit::simd;

std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(n);
  for (auto& b : bytes) b = uint8_t(random());
  return bytes;
}

// Runs `check` at every level this machine allows, from the plain loops up, restoring the level.
template <typename Check>
void AtEveryLevel(Check&& check) {
  for (simd::Level level : ombrix::testing::SimdLevels()) {
    const simd::ScopedLevel in_force(level);
    check(int(level));
  }
}

TEST(BlurRow, MatchesTheNeighbourMeanForEveryEdgeAndLength) {
  AtEveryLevel([](int level) {
    for (int32_t width : {1, 2, 3, 4, 5, 6, 7, 11, 16, 17, 33, 641}) {
      const size_t n = 3 * size_t(width);
      const auto above = RandomBytes(n, 1 + width), middle = RandomBytes(n, 2 + width),
                 below = RandomBytes(n, 3 + width);
      std::vector<uint16_t> sums(n + 16);
      // Inside the picture, at its top and bottom rows, and in a picture of one row.
      for (int shape = 0; shape < 4; ++shape) {
        const uint8_t* a = shape == 1 || shape == 3 ? nullptr : above.data();
        const uint8_t* b = shape == 2 || shape == 3 ? nullptr : below.data();
        std::vector<uint8_t> expected(n), fast(n), in_place = middle;
        BlurRowPlain(a, middle.data(), b, width, expected.data());
        BlurRow(a, middle.data(), b, width, sums.data(), fast.data());
        EXPECT_EQ(fast, expected) << "width " << width << " shape " << shape << " level " << level;
        // Written over the middle row itself, as the filter does.
        BlurRow(a, in_place.data(), b, width, sums.data(), in_place.data());
        EXPECT_EQ(in_place, expected) << "width " << width << " shape " << shape << " in place";
      }
    }
  });
}

TEST(BlurRow, ExtremeSumsDivideExactly) {
  // Rows of 255 with single dips make every sum from the largest down: the quotients taken by
  // multiplication must truncate as the divisions do.
  AtEveryLevel([](int) {
    const int32_t width = 300;
    const size_t n = 3 * size_t(width);
    std::vector<uint16_t> sums(n + 16);
    for (int dip = 0; dip < 256; dip += 5) {
      std::vector<uint8_t> rows[3] = {std::vector<uint8_t>(n, 255), std::vector<uint8_t>(n, 255),
                                      std::vector<uint8_t>(n, 255)};
      for (size_t i = 0; i < n; i += 7) rows[i % 3][i] = uint8_t(dip);
      std::vector<uint8_t> expected(n), fast(n);
      BlurRowPlain(rows[0].data(), rows[1].data(), rows[2].data(), width, expected.data());
      BlurRow(rows[0].data(), rows[1].data(), rows[2].data(), width, sums.data(), fast.data());
      ASSERT_EQ(fast, expected) << dip;
    }
  });
}

TEST(MixRowToward, MatchesTheMixForLevelsInsideAndOutsideTheByteRange) {
  AtEveryLevel([](int level) {
    for (int32_t k : {-300, -1, 0, 1, 127, 128, 203, 255, 256, 1000}) {
      for (size_t n : {size_t(0), size_t(1), size_t(15), size_t(16), size_t(17), size_t(48), size_t(100)}) {
        const auto line = RandomBytes(n, uint32_t(k + 2000));
        auto fast = RandomBytes(n, uint32_t(n));
        auto expected = fast;
        MixRowTowardPlain(expected.data(), line.data(), n, k);
        MixRowToward(fast.data(), line.data(), n, k);
        EXPECT_EQ(fast, expected) << "k " << k << " n " << n << " level " << level;
      }
    }
  });
}

TEST(OverlayRows, EqualsTheOverlayForEveryBytePairAndFactor) {
  for (float factor : {128.0f, 0.0f, 1.0f, 64.7f, 255.0f, 300.0f, -1.0f, -128.0f, -255.0f, -301.5f}) {
    const OverlayRows overlay(factor);
    for (int c = 0; c < 256; ++c)
      for (int s = 0; s < 256; ++s)
        ASSERT_EQ(overlay.Channel(uint8_t(c), uint8_t(s)), OverlayChannel(c, s, factor))
            << "factor " << factor << " c " << c << " s " << s;
    // Whole rows holding every pair, through the multiplier where there is one.
    std::vector<uint8_t> target(65536 + 7), source(65536 + 7);
    for (size_t i = 0; i < target.size(); ++i) target[i] = uint8_t(i >> 8), source[i] = uint8_t(i);
    AtEveryLevel([&](int level) {
      std::vector<uint8_t> row = target;
      overlay.Row(row.data(), source.data(), row.size());
      for (size_t i = 0; i < row.size(); ++i)
        ASSERT_EQ(row[i], OverlayChannel(target[i], source[i], factor))
            << "factor " << factor << " byte " << i << " level " << level;
    });
  }
  // Motion Blur's factor has a multiplier.
  EXPECT_TRUE(OverlayRows(128.0f).HasMultiplier());
}

TEST(OverlayRectangle, TouchesOnlyPositionsInsideBothPictures) {
  const int32_t width = 20, height = 6;
  std::vector<std::vector<uint8_t>> target_rows, source_rows;
  std::vector<uint8_t*> target, source;
  for (int32_t y = 0; y < height; ++y) {
    target_rows.push_back(RandomBytes(3 * size_t(width), 10 + y));
    source_rows.push_back(RandomBytes(3 * size_t(width), 20 + y));
  }
  for (int32_t y = 0; y < height; ++y) target.push_back(target_rows[y].data()), source.push_back(source_rows[y].data());
  const auto before = target_rows;
  const OverlayRows overlay(128.0f);
  // Target (-3, 2), source (5, -1), 30 x 4: only target columns 0 .. 11 of rows 3 .. 5 change.
  OverlayRectangle(target.data(), source.data(), width, height, -3, 2, 5, -1, 30, 4, overlay);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      for (int ch = 0; ch < 3; ++ch) {
        const size_t i = 3 * size_t(x) + ch;
        const bool covered = y >= 3 && x <= 11;
        const uint8_t expected =
            covered ? OverlayChannel(before[y][i], source_rows[y - 2 - 1][3 * size_t(x + 8) + ch], 128.0f)
                    : before[y][i];
        ASSERT_EQ(target_rows[y][i], expected) << x << ", " << y;
      }
}

TEST(GradientValue, TruncatesAsTheExtendedFormulaAlongWholeLines) {
  // Every pair of ends over short spans, and many pairs over the spans of a full picture.
  std::mt19937 random(3);
  for (int32_t span : {1, 2, 3, 10, 37, 1079, 1919}) {
    const int pairs = span <= 37 ? 65536 : 3000;
    for (int i = 0; i < pairs; ++i) {
      const int32_t a = span <= 37 ? i >> 8 : int32_t(random() % 256),
                    b = span <= 37 ? i & 255 : int32_t(random() % 256);
      const long double slope = static_cast<long double>(b - a) / span;
      for (int32_t t = 0; t <= span; ++t)
        ASSERT_EQ(GradientValue(slope, double(slope), a, t), GradientValuePlain(slope, a, t))
            << "a " << a << " b " << b << " span " << span << " t " << t;
    }
  }
}

}  // namespace

namespace {

TEST(SwapMirroredPixels, ExchangesAsPixelByPixelForEveryRunAndRowWidth) {
  // Runs of every length up to 70 from both ends of rows of odd and even widths (the halves of
  // a flip meet in the middle), with guard bytes around the row that must stay untouched.
  AtEveryLevel([](int level) {
    for (int width : {1, 2, 31, 32, 33, 64, 97, 140, 141}) {
      const std::vector<uint8_t> source = RandomBytes(3 * size_t(width) + 64, uint32_t(width));
      for (int from = 0; from <= width / 2; from += from < 20 ? 1 : 13) {
        for (int to = from; to <= width / 2; to += to < 40 ? 1 : 7) {
          std::vector<uint8_t> fast = source, plain = source;
          uint8_t* row_fast = fast.data() + 32;
          uint8_t* row_plain = plain.data() + 32;
          SwapMirroredPixels(row_fast + 3 * size_t(from), row_fast + 3 * size_t(width - 1 - from), to - from);
          SwapMirroredPixelsPlain(row_plain + 3 * size_t(from), row_plain + 3 * size_t(width - 1 - from), to - from);
          ASSERT_EQ(fast, plain) << "width " << width << ", pixels " << from << ".." << to << ", level " << level;
        }
      }
    }
  });
}

}  // namespace
