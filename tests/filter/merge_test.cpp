// The merge of a filter's result: mask stage, alpha stage, zone handling, and MaskGrey.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "filter/mask_merge.h"

namespace {

using namespace ombrix::engine;

void Fill(Picture& p, int w, int h, uint8_t b, uint8_t g, uint8_t r) {
  ASSERT_TRUE(p.Create(w, h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t c[3] = {b, g, r};
      p.SetPixel(x, y, c);
    }
}

void Noise(Picture& p, int w, int h, unsigned seed) {
  ASSERT_TRUE(p.Create(w, h));
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < 3 * w; ++x) p.Row(y)[x] = uint8_t(rng());
}

uint8_t Channel(const Picture& p, int x, int y, int c) { return p.Row(y)[3 * x + c]; }

// The merge written pixel by pixel from its description, without tables.
void ReferenceMerge(Picture& input, const Picture& work_in, const MaskState& mask, int type, float alpha, int x0,
                    int y0, int x1, int y1) {
  Picture work;
  work.CopyFrom(&work_in);
  const long double c = 1.0f / 255.0f;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      if (mask.picture != nullptr) {
        const int g = MaskGrey(mask, x, y);
        for (int ch = 0; ch < 3; ++ch) {
          const int i = Channel(input, x, y, ch), w = Channel(work, x, y, ch);
          if (type == 1) work.Row(y)[3 * x + ch] = uint8_t(i + int(std::trunc((long double)(w - i) * (255 - g) * c)));
          if (type == 2 && g > 128) work.Row(y)[3 * x + ch] = uint8_t(i);
        }
      }
      for (int ch = 0; ch < 3; ++ch) {
        const int i = Channel(input, x, y, ch), w = Channel(work, x, y, ch);
        const long double l = 255.0L - 255.0L * alpha;
        int v;
        if (alpha == 0)
          v = w;
        else if (l >= 0)
          v = i + int(std::trunc((w - i) * l * c));
        else
          v = w + int(std::trunc((i - w) * -l * c));
        input.Row(y)[3 * x + ch] = uint8_t(v);
      }
    }
}

TEST(MergeAlpha, HalfAlphaGives127AndZeroCopies) {
  Picture input, work;
  Fill(input, 4, 4, 0, 0, 0);
  Fill(work, 4, 4, 255, 255, 255);
  MaskState none;
  Merge(input, work, none, false, 0, 0.5f, 0, 0, 4, 4);
  EXPECT_EQ(Channel(input, 2, 2, 1), 127);
  EXPECT_EQ(Channel(work, 2, 2, 1), 127);  // WORK is refreshed from INPUT

  Picture a, b;
  Noise(a, 9, 7, 1);
  Noise(b, 9, 7, 2);
  Picture expected;
  expected.CopyFrom(&a);
  Merge(a, b, none, false, 0, -0.0f, 2, 1, 6, 5);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 9; ++x) {
      const bool in_zone = x >= 2 && x < 6 && y >= 1 && y < 5;
      for (int c = 0; c < 3; ++c) {
        // Inside the zone the result is WORK; outside INPUT is untouched.
        EXPECT_EQ(Channel(a, x, y, c), in_zone ? Channel(b, x, y, c) : Channel(expected, x, y, c));
      }
    }
}

TEST(MergeAlpha, MatchesPerPixelFormulaForManyAlphas) {
  MaskState none;
  for (float alpha : {0.01f, 0.25f, 0.5f, 0.999f, 1.0f, 1.5f, -0.3f}) {
    Picture input, work, expected;
    Noise(input, 11, 6, 3);
    Noise(work, 11, 6, 4);
    expected.CopyFrom(&input);
    ReferenceMerge(expected, work, none, 0, alpha, 1, 1, 10, 5);
    Merge(input, work, none, false, 0, alpha, 10, 5, 1, 1);  // swapped corners
    EXPECT_EQ(std::memcmp(input.Bits(), expected.Bits(), size_t(input.Stride()) * 6), 0) << alpha;
  }
}

TEST(MergeZone, OutsideOrEmptyZonesMergeNothing) {
  Picture input, work, before;
  Noise(input, 5, 5, 5);
  Noise(work, 5, 5, 6);
  before.CopyFrom(&input);
  MaskState none;
  Merge(input, work, none, false, 0, 0.0f, 6, 0, 9, 5);  // x0 right of the picture
  EXPECT_EQ(std::memcmp(input.Bits(), before.Bits(), size_t(input.Stride()) * 5), 0);
  Merge(input, work, none, false, 0, 0.0f, -4, -4, -1, 2);
  EXPECT_EQ(std::memcmp(input.Bits(), before.Bits(), size_t(input.Stride()) * 5), 0);
  // WORK always comes back as a copy of INPUT.
  EXPECT_EQ(std::memcmp(work.Bits(), input.Bits(), size_t(input.Stride()) * 5), 0);
  // A zone reaching past the picture is clipped to it.
  Noise(work, 5, 5, 7);
  Merge(input, work, none, false, 0, 0.0f, 3, 3, 50, 50);
  EXPECT_EQ(Channel(input, 4, 4, 2), Channel(work, 4, 4, 2));
}

TEST(MergeMask, ThresholdAndGradualExtremes) {
  Picture input, work, mask_picture;
  Fill(input, 3, 1, 10, 20, 30);
  Fill(work, 3, 1, 200, 100, 0);
  ASSERT_TRUE(mask_picture.Create(3, 1));
  const uint8_t g128[3] = {128, 128, 128}, g129[3] = {129, 129, 129}, white[3] = {255, 255, 255};
  mask_picture.SetPixel(0, 0, g128);
  mask_picture.SetPixel(1, 0, g129);
  mask_picture.SetPixel(2, 0, white);
  MaskState mask{&mask_picture, -1, -1};
  Picture in2, work2;
  in2.CopyFrom(&input);
  work2.CopyFrom(&work);
  Merge(input, work, mask, true, 2, 0.0f, 0, 0, 3, 1);
  EXPECT_EQ(Channel(input, 0, 0, 0), 200);  // grey 128 keeps the filtered pixel
  EXPECT_EQ(Channel(input, 1, 0, 0), 10);   // grey 129 keeps INPUT
  EXPECT_EQ(Channel(input, 2, 0, 2), 30);

  // Gradual: black keeps the filtered pixel exactly, white keeps INPUT exactly, for every difference.
  Picture gi, gw, gm;
  ASSERT_TRUE(gi.Create(256, 2));
  ASSERT_TRUE(gw.Create(256, 2));
  ASSERT_TRUE(gm.Create(1, 2));
  for (int x = 0; x < 256; ++x)
    for (int y = 0; y < 2; ++y) {
      const uint8_t i[3] = {uint8_t(x), uint8_t(255 - x), 0}, w[3] = {uint8_t(255 - x), uint8_t(x), 255};
      gi.SetPixel(x, y, i);
      gw.SetPixel(x, y, w);
    }
  const uint8_t black[3] = {0, 0, 0};
  gm.SetPixel(0, 0, black);
  gm.SetPixel(0, 1, white);
  Picture filtered;
  filtered.CopyFrom(&gw);
  Picture original;
  original.CopyFrom(&gi);
  MaskState tiled{&gm, -1, -1};
  Merge(gi, gw, tiled, true, 1, 0.0f, 0, 0, 256, 2);
  EXPECT_EQ(std::memcmp(gi.Row(0), filtered.Row(0), 768), 0);
  EXPECT_EQ(std::memcmp(gi.Row(1), original.Row(1), 768), 0);
  // Type 0 loads a mask but does not apply it.
  Merge(in2, work2, mask, true, 0, 0.0f, 0, 0, 3, 1);
  EXPECT_EQ(Channel(in2, 1, 0, 0), 200);
}

TEST(MergeMask, GradualMatchesReferenceOnNoise) {
  Picture input, work, mask_picture, expected;
  Noise(input, 17, 9, 8);
  Noise(work, 17, 9, 9);
  Noise(mask_picture, 5, 3, 10);
  expected.CopyFrom(&input);
  MaskState mask{&mask_picture, -1, -1};
  ReferenceMerge(expected, work, mask, 1, 0.3f, 2, 1, 15, 8);
  Merge(input, work, mask, true, 1, 0.3f, 2, 1, 15, 8);
  EXPECT_EQ(std::memcmp(input.Bits(), expected.Bits(), size_t(input.Stride()) * 9), 0);
}

TEST(MaskSampling, TiledAndStretched) {
  Picture m;
  ASSERT_TRUE(m.Create(2, 2));
  const uint8_t v[4][3] = {{0, 0, 0}, {30, 30, 30}, {60, 60, 60}, {90, 90, 90}};
  m.SetPixel(0, 0, v[0]);
  m.SetPixel(1, 0, v[1]);
  m.SetPixel(0, 1, v[2]);
  m.SetPixel(1, 1, v[3]);
  MaskState tiled{&m, -1, -1};
  EXPECT_EQ(MaskGrey(tiled, 0, 0), 0);
  EXPECT_EQ(MaskGrey(tiled, 3, 0), 30);
  EXPECT_EQ(MaskGrey(tiled, 1, 1), 90);
  EXPECT_EQ(MaskGrey(tiled, 4, 5), 60);
  EXPECT_EQ(MaskGrey(tiled, -1, -1), 90);  // left of the picture still tiles

  // A threshold mask tiled over a zone from (1, 1): pixel (1, 1) takes mask pixel (1, 1).
  Picture input, work;
  Fill(input, 5, 5, 1, 1, 1);
  Fill(work, 5, 5, 2, 2, 2);
  const uint8_t w[3] = {255, 255, 255};
  m.SetPixel(1, 1, w);
  Merge(input, work, tiled, true, 2, 0.0f, 1, 1, 5, 5);
  EXPECT_EQ(Channel(input, 1, 1, 0), 1);
  EXPECT_EQ(Channel(input, 2, 1, 0), 2);
  EXPECT_EQ(Channel(input, 3, 3, 0), 1);

  // A 100 x 50 mask stretched over 200 x 200 samples (x / 2, y / 4).
  Picture big, mask_picture;
  ASSERT_TRUE(big.Create(200, 200));
  Noise(mask_picture, 100, 50, 11);
  XAlphaRecord xalpha{};
  xalpha.stretch = 1;
  MaskState stretched{&mask_picture};
  SetMaskScale(stretched, xalpha, big);
  EXPECT_FLOAT_EQ(stretched.scale_x, 0.5f);
  EXPECT_FLOAT_EQ(stretched.scale_y, 0.25f);
  for (int y : {0, 3, 4, 199})
    for (int x : {0, 1, 2, 199}) {
      const uint8_t* p = mask_picture.Row(y / 4) + 3 * (x / 2);
      EXPECT_EQ(MaskGrey(stretched, x, y), (p[0] + p[1] + p[2]) / 3);
    }
  EXPECT_EQ(MaskGrey(stretched, 400, 0), 0);
  xalpha.stretch = 0;
  SetMaskScale(stretched, xalpha, big);
  EXPECT_EQ(stretched.scale_x, -1.0f);

  // The merge's running sums give the same pixels as the sampling above.
  Picture in200, work200, expected;
  Noise(in200, 200, 200, 12);
  Noise(work200, 200, 200, 13);
  expected.CopyFrom(&in200);
  xalpha.stretch = 1;
  SetMaskScale(stretched, xalpha, big);
  ReferenceMerge(expected, work200, stretched, 1, 0.0f, 0, 0, 200, 200);
  Merge(in200, work200, stretched, true, 1, 0.0f, 0, 0, 200, 200);
  EXPECT_EQ(std::memcmp(in200.Bits(), expected.Bits(), size_t(in200.Stride()) * 200), 0);
}

TEST(MaskSampling, NegativeThresholdKeepsInputWhereDark) {
  Picture m;
  Fill(m, 1, 1, 10, 10, 10);
  InvertMask(m);
  EXPECT_EQ(Channel(m, 0, 0, 0), 245);
  Picture input, work;
  Fill(input, 1, 1, 5, 5, 5);
  Fill(work, 1, 1, 99, 99, 99);
  MaskState mask{&m, -1, -1};
  Merge(input, work, mask, true, 2, 0.0f, 0, 0, 1, 1);
  EXPECT_EQ(Channel(input, 0, 0, 0), 5);
}

}  // namespace
