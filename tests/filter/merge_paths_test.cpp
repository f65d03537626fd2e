// The fast merge against the plain one: identical bytes in INPUT and WORK for every kernel
// level, zone, mask and alpha; and the arithmetic the fast kernels rest on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <random>
#include <string>

#include "core/kit/simd.h"
#include "filter/mask_merge.h"
#include "filter/merge_kernels.h"
#include "tests/support/simd_levels.h"

namespace {

using namespace ombrix::engine;
using ombrix::kit::simd::Level;
using ombrix::kit::simd::ScopedLevel;
using ombrix::kit::simd::SetLevel;

void Noise(Picture& p, int w, int h, unsigned seed) {
  ASSERT_TRUE(p.Create(w, h));
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < 3 * w; ++x) p.Row(y)[x] = uint8_t(rng());
}

// Everything CopyFrom would make equal: the info record and the block's meaningful bytes.
std::string Difference(const Picture& a, const Picture& b) {
  const PictureInfo &ia = *a.Info(), &ib = *b.Info();
  if (ia.width != ib.width || ia.height != ib.height || ia.bit_count != ib.bit_count ||
      ia.block_size != ib.block_size || ia.stride != ib.stride ||
      std::memcmp(ia.type_text, ib.type_text, sizeof ia.type_text) != 0 ||
      std::memcmp(ia.source_text, ib.source_text, sizeof ia.source_text) != 0)
    return "info records differ";
  const size_t bytes = a.Info()->block_size;
  for (size_t i = 0; i < bytes; ++i)
    if (a.Dib()[i] != b.Dib()[i]) return "byte " + std::to_string(i) + " differs";
  for (int y = 0; y < a.Height(); ++y)
    if (a.Row(y) - a.Dib() != b.Row(y) - b.Dib()) return "row " + std::to_string(y) + " differs";
  return "";
}

// The merge at the plain level: the steps as written.
void MergePlain(Picture& input, Picture& work, const MaskState& mask, bool present, int type, float alpha, int x0,
                int y0, int x1, int y1) {
  const ScopedLevel plain(Level::kPlain);
  Merge(input, work, mask, present, type, alpha, x0, y0, x1, y1);
}

// Restores the level in force when a test changed it.
struct LevelGuard : ScopedLevel {
  LevelGuard() : ScopedLevel(ombrix::kit::simd::CurrentLevel()) {}
};

struct Zone {
  int x0, y0, x1, y1;
};

// Merges fresh noise pictures of the given size both ways and compares every byte.
void ExpectFastIsPlain(int width, int height, const MaskState& mask, int type, float alpha, const Zone& z,
                       unsigned& seed, const std::string& what) {
  Picture input, work, plain_input, plain_work;
  Noise(input, width, height, seed++);
  Noise(work, width, height, seed++);
  plain_input.CopyFrom(&input);
  plain_work.CopyFrom(&work);
  const bool present = mask.picture != nullptr;
  MergePlain(plain_input, plain_work, mask, present, type, alpha, z.x0, z.y0, z.x1, z.y1);
  Merge(input, work, mask, present, type, alpha, z.x0, z.y0, z.x1, z.y1);
  const std::string where = "level " + std::to_string(int(ombrix::kit::simd::CurrentLevel())) + ", " +
                            std::to_string(width) + " x " + std::to_string(height) + ", zone (" + std::to_string(z.x0) +
                            ", " + std::to_string(z.y0) + ", " + std::to_string(z.x1) + ", " + std::to_string(z.y1) +
                            "), alpha " + std::to_string(alpha) + ", " + what;
  ASSERT_EQ(Difference(input, plain_input), "") << "INPUT, " << where;
  ASSERT_EQ(Difference(work, plain_work), "") << "WORK, " << where;
}

MaskState Stretched(Picture& m, int width, int height) {
  MaskState mask;
  mask.picture = &m;
  mask.scale_x = float(m.Width()) / float(width);
  mask.scale_y = float(m.Height()) / float(height);
  return mask;
}

MaskState Tiled(Picture& m) {
  MaskState mask;
  mask.picture = &m;
  return mask;
}

TEST(MergePaths, FastGivesThePlainBytes) {
  LevelGuard guard;
  // Widths with and without row padding; the zones cover whole rows, odd pieces (tails shorter
  // than a vector step), reversed corners, clipping and a zone that lies outside.
  const int sizes[][2] = {{37, 23}, {64, 9}, {5, 3}};
  const Zone zones[] = {{0, 0, 99, 99}, {3, 2, 30, 20}, {30, 20, 3, 2}, {-5, -5, 1, 40}, {40, 1, 50, 2}, {2, 2, 2, 9}};
  const float alphas[] = {0.0f, -0.0f, 0.5f, 0.25f, 1e-6f, 0.999f, 1.5f, 3.0f, -0.5f};
  Picture masks[3];
  Noise(masks[0], 7, 4, 50);    // smaller than the pictures: tiles, or is stretched up
  Noise(masks[1], 80, 30, 51);  // larger: stretched down
  Noise(masks[2], 37, 23, 52);
  int cases = 0;
  for (Level level : ombrix::testing::SimdLevels()) {
    SetLevel(level);
    unsigned seed = 1;
    for (const auto& size : sizes) {
      for (const Zone& z : zones) {
        for (float alpha : alphas) {
          for (int mask_case = 0; mask_case < 7; ++mask_case) {
            // 0: no mask; 1-3: gradual over each mask, tiled or stretched; 4-6: threshold.
            MaskState mask;
            int type = 0;
            if (mask_case > 0) {
              Picture& m = masks[(mask_case - 1) % 3];
              type = mask_case <= 3 ? 1 : 2;
              mask = mask_case % 2 == 0 ? Stretched(m, size[0], size[1]) : Tiled(m);
            }
            ExpectFastIsPlain(size[0], size[1], mask, type, alpha, z, seed, "mask case " + std::to_string(mask_case));
            if (HasFatalFailure()) return;
            ++cases;
          }
        }
      }
    }
  }
  EXPECT_GT(cases, 1000);
}

TEST(MergePaths, WideZonesGiveThePlainBytesForEveryWeightLayout) {
  LevelGuard guard;
  // Rows wide enough for whole vector steps of mask weights: a mask as large as the picture
  // (one run of consecutive mask columns), tiles wider than 16 pixels (runs restarting at each
  // tile), tiles narrower (shuffled from a few columns), masks stretched up (columns repeated)
  // and stretched far down (pieces whose columns lie too far apart for one shuffle).
  const int width = 203, height = 11;
  Picture same, wide_tile, narrow_tile, small, huge;
  Noise(same, width, height, 70);
  Noise(wide_tile, 41, 3, 71);
  Noise(narrow_tile, 9, 5, 72);
  Noise(small, 67, 4, 73);
  Noise(huge, 1500, 30, 74);
  const MaskState masks[] = {Tiled(same),        Stretched(same, width, height),  Tiled(wide_tile),
                             Tiled(narrow_tile), Stretched(small, width, height), Stretched(huge, width, height),
                             Tiled(huge)};
  const Zone zones[] = {{0, 0, width, height}, {17, 2, 190, 9}, {1, 0, 50, 11}};
  for (Level level : ombrix::testing::SimdLevels()) {
    SetLevel(level);
    unsigned seed = 100;
    for (size_t m = 0; m < std::size(masks); ++m)
      for (const Zone& z : zones)
        for (int type : {1, 2})
          for (float alpha : {0.0f, 0.4f}) {
            ExpectFastIsPlain(width, height, masks[m], type, alpha, z, seed,
                              "mask " + std::to_string(m) + ", type " + std::to_string(type));
            if (HasFatalFailure()) return;
          }
  }
}

TEST(MergePaths, PicturesOfAnotherLayoutFallBackToFullCopies) {
  // WORK with an extra plane, and WORK of another width than INPUT: the fast path must still
  // leave WORK as CopyFrom(INPUT) leaves it.
  Picture input, work, plain_input, plain_work;
  Noise(input, 9, 6, 60);
  Noise(work, 9, 6, 61);
  ASSERT_TRUE(work.AllocExtraPlane());
  plain_input.CopyFrom(&input);
  plain_work.CopyFrom(&work);
  MaskState none;
  MergePlain(plain_input, plain_work, none, false, 0, 0.5f, 1, 1, 8, 5);
  Merge(input, work, none, false, 0, 0.5f, 1, 1, 8, 5);
  EXPECT_EQ(Difference(input, plain_input), "");
  EXPECT_EQ(Difference(work, plain_work), "");
  EXPECT_EQ(work.ExtraPlane(), nullptr);

  Picture narrow;
  Noise(narrow, 4, 6, 62);
  Merge(input, narrow, none, false, 0, 0.0f, 0, 0, 9, 6);
  EXPECT_EQ(narrow.Width(), 9);
  EXPECT_EQ(Difference(narrow, input), "");
}

TEST(MergeKernels, GradualWeightIsAnIntegerQuotient) {
  // truncate(d * k * c) in extended precision, c the float nearest to 1/255, equals the
  // truncated integer quotient d * k / 255 for every difference and weight.
  const long double c = 1.0f / 255.0f;
  for (int d = -255; d <= 255; ++d)
    for (int k = 0; k <= 255; ++k)
      ASSERT_EQ(int(std::trunc(static_cast<long double>(d) * k * c)), d * k / 255) << d << " " << k;
}

TEST(MergeKernels, EveryLevelMatchesTheFormulaForEveryBytePair) {
  LevelGuard guard;
  // All 65536 (INPUT, WORK) pairs in one row, so every vector step and the scalar tail see them.
  std::vector<uint8_t> in(65536 + 7), work(65536 + 7), weights(in.size());
  for (Level level : ombrix::testing::SimdLevels()) {
    SetLevel(level);
    for (int k : {0, 1, 127, 128, 200, 254, 255}) {
      for (size_t i = 0; i < in.size(); ++i) {
        in[i] = uint8_t(i >> 8);
        work[i] = uint8_t(i);
        weights[i] = uint8_t(k);
      }
      GradualMaskRow(in.data(), work.data(), weights.data(), in.size());
      for (size_t i = 0; i < in.size(); ++i) {
        const int d = int(uint8_t(i)) - int(uint8_t(i >> 8));
        ASSERT_EQ(work[i], uint8_t((i >> 8) + d * k / 255)) << "level " << int(level) << " k " << k << " at " << i;
      }
    }
    for (float alpha : {0.5f, 0.3f, 0.01f, 0.99f, 1e-7f, 1.25f, 2.5f, -1.0f}) {
      const AlphaBlend blend(alpha);
      const long double l = 255.0L - 255.0L * static_cast<long double>(alpha);
      const long double c = 1.0f / 255.0f;
      for (size_t i = 0; i < in.size(); ++i) {
        in[i] = uint8_t(i >> 8);
        work[i] = uint8_t(i);
      }
      blend.Row(in.data(), work.data(), in.size());
      for (size_t i = 0; i < in.size(); ++i) {
        const int a = int(uint8_t(i >> 8)), b = int(uint8_t(i));
        const int expected = l >= 0 ? a + int(std::trunc((b - a) * l * c)) : b + int(std::trunc((a - b) * -l * c));
        ASSERT_EQ(in[i], uint8_t(expected)) << "level " << int(level) << " alpha " << alpha << " at " << i;
        ASSERT_EQ(work[i], in[i]);
      }
    }
  }
  // The common alphas find a multiplier, so the vector loops are what runs; weights above 1
  // cannot be one and take the table.
  EXPECT_TRUE(AlphaBlend(0.5f).HasMultiplier());
  EXPECT_TRUE(AlphaBlend(0.3f).HasMultiplier());
  EXPECT_FALSE(AlphaBlend(-1.0f).HasMultiplier());
}

TEST(MergeKernels, PixelWeightsFollowTheGreyLevel) {
  LevelGuard guard;
  // Every channel sum from 0 to 765, split over the channels in changing ways, so that each
  // pixel position of a vector step sees sums on both sides of the threshold and of every third.
  std::vector<uint8_t> pixels;
  std::mt19937 rng(80);
  for (int pass = 0; pass < 3; ++pass)
    for (int sum = 0; sum <= 765; ++sum) {
      int b = std::min(255, int(rng() % 256)), g, r;
      b = std::min(b, sum);
      g = std::min(255, sum - b);
      r = sum - b - g;
      if (r > 255) {
        b += r - 255;
        r = 255;
      }
      const uint8_t p[3] = {uint8_t(b), uint8_t(g), uint8_t(r)};
      const int rot = (sum + pass) % 3;
      for (int c = 0; c < 3; ++c) pixels.push_back(p[(c + rot) % 3]);
    }
  const size_t count = pixels.size() / 3;  // not a multiple of 16: the tail goes pixel by pixel
  for (Level level : ombrix::testing::SimdLevels()) {
    SetLevel(level);
    for (int type : {1, 2})
      for (int copies : {1, 3}) {
        std::vector<uint8_t> out(count * size_t(copies) + 1, 0xA5);
        PixelWeights(pixels.data(), count, type, copies, out.data());
        for (size_t i = 0; i < count; ++i) {
          const int grey = (pixels[3 * i] + pixels[3 * i + 1] + pixels[3 * i + 2]) / 3;
          const int expected = type == 1 ? 255 - grey : grey > 128 ? 255 : 0;
          for (int c = 0; c < copies; ++c)
            ASSERT_EQ(out[i * size_t(copies) + size_t(c)], expected)
                << "level " << int(level) << " type " << type << " copies " << copies << " pixel " << i;
        }
        EXPECT_EQ(out.back(), 0xA5) << "wrote past the end";
      }
  }
}

TEST(MergeKernels, WeightSpreadFollowsItsColumnMap) {
  LevelGuard guard;
  std::vector<uint8_t> weights(4000 + 16);
  for (size_t i = 0; i < weights.size(); ++i) weights[i] = uint8_t(i * 7 + 3);
  std::vector<std::vector<int>> maps;
  // Stretched; from 3.2 on some pieces span 16 columns or more and go byte by byte.
  for (const float scale : {1.0f, 0.33f, 2.5f, 3.2f, 4.0f, 6.0f, 13.0f}) {
    std::vector<int> map;
    float f = 0.5f;
    for (int x = 0; x < 301; ++x, f += scale) map.push_back(int(f));
    maps.push_back(map);
  }
  for (const int tile : {3, 16, 40}) {
    std::vector<int> map;
    map.reserve(150);
    for (int x = 0; x < 150; ++x) map.push_back((x + 5) % tile);
    maps.push_back(map);
  }
  std::mt19937 rng(81);
  std::vector<int> scattered;
  scattered.reserve(77);
  for (int x = 0; x < 77; ++x) scattered.push_back(int(rng() % 4000));
  maps.push_back(scattered);
  maps.push_back({4, 5});  // shorter than one piece
  for (Level level : ombrix::testing::SimdLevels()) {
    SetLevel(level);
    for (size_t m = 0; m < maps.size(); ++m) {
      const WeightSpread spread(maps[m]);
      std::vector<uint8_t> out(3 * maps[m].size() + 1, 0x5A);
      spread.Row(weights.data(), out.data());
      for (size_t t = 0; t < 3 * maps[m].size(); ++t)
        ASSERT_EQ(out[t], weights[size_t(maps[m][t / 3])]) << "level " << int(level) << " map " << m << " byte " << t;
      EXPECT_EQ(out.back(), 0x5A) << "wrote past the end";
    }
  }
}

}  // namespace
