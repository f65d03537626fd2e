// The palette filters' row loops: the 16-pixel steps give the bytes of the plain per-pixel loops
// for row lengths that end anywhere in a step, and the single-precision mean rules are only
// taken where they give the filters' exact tables.
#include "plugins/pal/pixel_rows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "core/kit/simd.h"
#include "tests/support/simd_levels.h"

namespace {

using namespace ombrix::pal;
using ombrix::kit::MeanChannelTable;
namespace simd = ombrix::kit::simd;

const size_t kCounts[] = {0, 1, 15, 16, 17, 31, 32, 47, 100, 1921};

// Every channel value beside every possible sum of the other two channels, so that every
// (mean, channel value) pair a pixel can have comes up; made once.
const std::vector<uint8_t>& EveryPairPixels() {
  static const std::vector<uint8_t> bytes = [] {
    std::vector<uint8_t> b(size_t(256) * 511 * 3 * 3);
    uint8_t* p = b.data();
    for (int c = 0; c < 256; ++c)
      for (int rest = 0; rest <= 510; ++rest)
        for (int ch = 0; ch < 3; ++ch, p += 3) {
          const int a = rest / 2;
          p[ch] = uint8_t(c), p[(ch + 1) % 3] = uint8_t(a), p[(ch + 2) % 3] = uint8_t(rest - a);
        }
    return b;
  }();
  return bytes;
}

std::vector<uint8_t> Pixels(size_t count, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> bytes(3 * count);
  for (uint8_t& b : bytes) b = uint8_t(rng());
  return bytes;
}

// Runs row(p, count) at the plain level and at every vector level this machine allows, on the
// same pixels plus three guard bytes after the row, and compares the bytes.
void ExpectSameBytes(const std::function<void(uint8_t*, size_t)>& row, const std::string& what,
                     bool every_pair = false) {
  ASSERT_GE(simd::AllowedLevel(), simd::Level::kSsse3) << "this machine (or OMBRIX_SIMD) runs only the plain loops";
  std::vector<size_t> counts(std::begin(kCounts), std::end(kCounts));
  if (every_pair) counts = {EveryPairPixels().size() / 3};
  for (size_t count : counts) {
    std::vector<uint8_t> plain = every_pair ? EveryPairPixels() : Pixels(count, uint32_t(count) + 7);
    plain.resize(3 * count + 3, 0xa5);  // guard bytes after the row
    const std::vector<uint8_t> before = plain;
    {
      const simd::ScopedLevel level(simd::Level::kPlain);
      row(plain.data(), count);
    }
    for (simd::Level level : ombrix::testing::SimdLevels()) {
      if (level == simd::Level::kPlain) continue;
      std::vector<uint8_t> fast = before;
      const simd::ScopedLevel in_force(level);
      row(fast.data(), count);
      ASSERT_EQ(fast, plain) << what << ", " << count << " pixels, level " << int(level);
    }
  }
}

TEST(PalRows, PermutationsColourTablesAndChannelCopiesMatchThePlainLoops) {
  const int orders[][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
  for (const auto& from : orders)
    ExpectSameBytes([&](uint8_t* p, size_t n) { PermuteRow(p, n, from); },
                    "order " + std::to_string(from[0]) + std::to_string(from[1]) + std::to_string(from[2]));

  std::mt19937 rng(3);
  std::vector<uint32_t> colours(766);
  for (uint32_t& c : colours) c = rng() & 0xffffff;
  for (ColourIndex index :
       {ColourIndex::kSum, ColourIndex::kMean, ColourIndex::kBlue, ColourIndex::kGreen, ColourIndex::kRed})
    ExpectSameBytes([&](uint8_t* p, size_t n) { ColourByIndexRow(p, n, index, colours.data()); },
                    "colour index " + std::to_string(int(index)));

  std::vector<uint8_t> source = Pixels(2000, 11);
  for (int channel = 0; channel < 3; ++channel) {
    ExpectSameBytes([&](uint8_t* p, size_t n) { CopyChannelRow(p, source.data(), n, channel); },
                    "copy channel " + std::to_string(channel));
    ExpectSameBytes([&](uint8_t* p, size_t n) { CopyChannelRow(p, nullptr, n, channel); },
                    "clear channel " + std::to_string(channel));
  }
}

TEST(PalRows, ReplacementMatchesThePlainLoopForEveryToleranceAndMode) {
  std::mt19937 rng(17);
  for (int round = 0; round < 60; ++round) {
    Replacement r;
    for (int ch = 0; ch < 3; ++ch) {
      r.match[ch] = uint8_t(rng());
      r.with[ch] = uint8_t(rng());
      // Mostly wide tolerances so that many pixels match; some negative or beyond 255.
      const int64_t choices[] = {-1, 0, 40, 90, 128, 200, 254, 255, 256, 100000, -100000};
      r.tolerance[ch] = round < 4 ? choices[round] : choices[2 + rng() % 7];
    }
    r.solid = round % 2 == 0;
    ExpectSameBytes([&](uint8_t* p, size_t n) { ReplaceRow(p, n, r); }, "replacement round " + std::to_string(round));
  }
}

// The exact tables of the three mean-table filters, computed as the filters compute them.
void FillContrast(MeanChannelTable& t, long double k) {
  t.Fill([k](int32_t mean, int32_t c) {
    return ombrix::kit::Clamp(c + int64_t(ombrix::kit::RoundBelow((c * (mean - 128)) * k)));
  });
}
void FillOverexposure(MeanChannelTable& t, float intensity) {
  t.Fill([intensity](int32_t mean, int32_t c) {
    long double a = 0;
    if (mean > 0) a = intensity == 0 ? 1e30L : mean / static_cast<long double>(intensity);
    return ombrix::kit::Clamp(ombrix::kit::RoundBelow(c + a));
  });
}

// Compares the mean-table row at every level on every (mean, c) pair and on random rows (so the
// four-lane steps of SSSE3 as well as the eight-lane ones of AVX2); returns whether the
// arithmetic was taken.
bool ExpectMeanRowsAgree(const MeanChannelTable& table, const MeanArithmetic& candidate, const std::string& what) {
  const MeanArithmetic arithmetic = Checked(candidate, table);
  ExpectSameBytes([&](uint8_t* p, size_t n) { MeanTableRow(p, n, table, arithmetic); }, what, true);
  ExpectSameBytes([&](uint8_t* p, size_t n) { MeanTableRow(p, n, table, arithmetic); }, what);
  return arithmetic.rule != MeanRule::kNone;
}

TEST(PalRows, MeanRulesGiveTheExactTablesOrAreLeftForTheTable) {
  static MeanChannelTable table;
  table.Fill([](int32_t mean, int32_t c) { return ombrix::kit::IntensityChannel(c, mean, 255 - mean); });
  EXPECT_TRUE(ExpectMeanRowsAgree(table, {MeanRule::kInvertIntensity, 0}, "negative light"));

  // The defaults (Intensity 2, Coefficient 2) must take the arithmetic; the rest only agree.
  int taken = 0;
  for (float intensity : {2.0f, 3.0f, 0.7f, 1.4f, -1.5f, 0.0f, -0.0f, 1e-3f, 1e6f, 255.0f}) {
    FillOverexposure(table, intensity);
    const bool used =
        ExpectMeanRowsAgree(table, {MeanRule::kAddMean, intensity}, "overexposure " + std::to_string(intensity));
    const bool rounded = ExpectMeanRowsAgree(table, {MeanRule::kAddRoundedMean, intensity},
                                             "rounded overexposure " + std::to_string(intensity));
    if (intensity == 2.0f) {
      EXPECT_TRUE(used);
      EXPECT_TRUE(rounded);
    }
    taken += used + rounded;
  }
  for (float coefficient : {2.0f, 1.3f, -0.5f, 0.0f, 100.0f, 1e9f, 0.01f, -3.0f, -2.0f, 128.0f, 1.0f / 128, 256.0f}) {
    const long double k = coefficient * 0.0078125L;
    FillContrast(table, k);
    const bool used =
        ExpectMeanRowsAgree(table, {MeanRule::kPushFromGrey, float(k)}, "contrast " + std::to_string(coefficient));
    const bool shifted = ExpectMeanRowsAgree(table, {MeanRule::kPushFromGreyShifted, float(k)},
                                             "shifted contrast " + std::to_string(coefficient));
    // Powers of two of either sign take the shifts, from 128 (a factor of 1) down to 0.5; below
    // that the biased sums no longer fit a word and the check refuses them.
    const bool power_of_two =
        coefficient == 2.0f || coefficient == -2.0f || coefficient == 128.0f || coefficient == -0.5f;
    EXPECT_EQ(shifted, power_of_two) << coefficient;
    if (coefficient == 2.0f) {
      EXPECT_TRUE(used);
    }
    taken += used + shifted;
  }
  EXPECT_GT(taken, 4);

  // A rule that disagrees with the table is refused: Overexposure's rule against Contrast's table.
  FillContrast(table, 2 * 0.0078125L);
  EXPECT_EQ(Checked({MeanRule::kAddMean, 2.0f}, table).rule, MeanRule::kNone);
  EXPECT_EQ(Checked({MeanRule::kAddRoundedMean, 2.0f}, table).rule, MeanRule::kNone);
  // A plain table (no rule) goes through the table steps.
  std::mt19937 rng(23);
  for (auto& row : table.value)
    for (uint8_t& v : row) v = uint8_t(rng());
  ExpectSameBytes([&](uint8_t* p, size_t n) { MeanTableRow(p, n, table, {}); }, "random table");
}

// The cache refills on any change of the parameter's bits (also 0 against -0) and only then.
TEST(PalRows, MeanTableCacheRefillsWhenTheParameterChanges) {
  static MeanTableCache cache;
  int fills = 0;
  const auto prepare = [&](float parameter) {
    cache.Prepare(parameter, [&](MeanChannelTable& t) {
      ++fills;
      FillOverexposure(t, parameter);
      return MeanArithmetic{MeanRule::kAddMean, parameter};
    });
  };
  static MeanChannelTable expected;
  for (float intensity : {2.0f, 2.0f, 3.0f, 2.0f, 0.0f, -0.0f, -0.0f}) {
    prepare(intensity);
    FillOverexposure(expected, intensity);
    ASSERT_EQ(std::memcmp(cache.table().value, expected.value, sizeof expected.value), 0) << intensity;
    EXPECT_EQ(cache.arithmetic().rule, Checked({MeanRule::kAddMean, intensity}, expected).rule) << intensity;
  }
  EXPECT_EQ(fills, 5);
}

}  // namespace
