// The random filters against the generator's sequence: each test loads the module afresh, so its
// generator starts from seed 1, and computes the expected bytes from the same sequence. Any
// change in the order or number of draws fails. This program holds no other handle on the module.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "tests/pic/pic_test_support.h"

namespace pic_test {
namespace {

// A fresh load of the module: its generator starts at seed 1.
struct FreshModule {
  TestHost host{"ZvPic.Omp"};
  Outcome Apply(const Entry& entry, const Picture& input) {
    Outcome out = host.Apply(entry, input);
    EXPECT_EQ(out.result, 1);
    return out;
  }
};

uint8_t ClampByte(int v) { return uint8_t(std::clamp(v, 0, 255)); }

// Magnitude first: rand() mod m, then an odd draw negates.
int MagnitudeFirst(ReferenceRandom& r, int m) {
  int magnitude = m >= 1 ? r.Next() % m : 0;
  if (r.Next() % 2 != 0) magnitude = -magnitude;
  return magnitude;
}
// Sign first: an even draw means negative, then rand() mod m.
int SignFirst(ReferenceRandom& r, int m) {
  const bool negative = r.Next() % 2 == 0;
  const int magnitude = m >= 1 ? r.Next() % m : 0;
  return negative ? -magnitude : magnitude;
}

Bgr NoiseReference(ReferenceRandom& r, Bgr p, int n, int mr, int mg, int mb) {
  if (n >= 1 && r.Next() % n != 0) return p;
  const int red = MagnitudeFirst(r, mr), green = MagnitudeFirst(r, mg), blue = MagnitudeFirst(r, mb);
  return Bgr{ClampByte(p.blue + blue), ClampByte(p.green + green), ClampByte(p.red + red)};
}

TEST(AddNoise, FollowsTheGeneratorPixelByPixel) {
  auto input = Noise(13, 9);
  FreshModule module;
  const Outcome out = module.Apply(module.host.MakeEntry("Add Noise"), *input);  // 25 %: n = 4
  ReferenceRandom r;
  EXPECT_EQ(CheckPixels(*input, *out.work, Corners{0, 0, 13, 9},
                        [&](Bgr p, int, int) { return NoiseReference(r, p, 4, 128, 128, 128); }),
            "");
  // The generator continues: a second call differs from the first.
  const Outcome again = module.Apply(module.host.MakeEntry("Add Noise"), *input);
  EXPECT_NE(CheckUnchanged(*out.work, *again.work), "");
  EXPECT_EQ(CheckPixels(*input, *again.work, Corners{0, 0, 13, 9},
                        [&](Bgr p, int, int) { return NoiseReference(r, p, 4, 128, 128, 128); }),
            "");
}

TEST(AddNoise, MaximaOfOneChangeNothingButStillDraw) {
  auto input = Noise(10, 6);
  FreshModule module;
  Entry ones = module.host.MakeEntry("Add Noise").Value(2, "1").Value(3, "1").Value(4, "0");  // 0 counts as 1
  EXPECT_EQ(CheckUnchanged(*input, *module.Apply(ones, *input).work), "");
  ReferenceRandom r;
  for (int i = 0; i < 60; ++i) NoiseReference(r, Bgr{}, 4, 1, 1, 1);
  const Outcome next =
      module.Apply(module.host.MakeEntry("Add Noise").Value(1, "150 %"), *input);  // n = 0: every pixel
  EXPECT_EQ(CheckPixels(*input, *next.work, Corners{0, 0, 10, 6},
                        [&](Bgr p, int, int) { return NoiseReference(r, p, 0, 128, 128, 128); }),
            "");
  EXPECT_EQ(CheckUnchanged(*input, *module.Apply(module.host.MakeEntry("Add Noise").Value(1, "0 %"), *input).work), "");
}

TEST(AddDust, TurnsChosenPixelsGreyOrKeepsTheirTint) {
  auto input = Noise(11, 7);
  FreshModule module;
  const Outcome out = module.Apply(module.host.MakeEntry("Add Dust"), *input);  // 50 %: n = 2, m = 128
  ReferenceRandom r;
  EXPECT_EQ(CheckPixels(*input, *out.work, Corners{0, 0, 11, 7},
                        [&](Bgr p, int, int) {
                          if (r.Next() % 2 != 0) return p;
                          const uint8_t l = ClampByte((p.blue + p.green + p.red) / 3 + MagnitudeFirst(r, 128));
                          return Bgr{l, l, l};
                        }),
            "");
}

TEST(Displace, ExchangesPixelsDrawnFromTheGenerator) {
  auto input = Noise(12, 10);
  FreshModule module;
  const Outcome out = module.Apply(module.host.MakeEntry("Displace").Value(2, "3"), *input);
  auto expected = CopyOf(*input);
  ReferenceRandom r;
  for (int y = 0; y < 10 - 3; ++y)
    for (int x = 0; x < 12 - 3; ++x) {
      if (r.Next() % 2 == 0) continue;
      const int ax = x + r.Next() % 3, ay = y + r.Next() % 3, bx = x + r.Next() % 3, by = y + r.Next() % 3;
      const Bgr a = PixelAt(*expected, ax, ay);
      SetPixelAt(*expected, ax, ay, PixelAt(*expected, bx, by));
      SetPixelAt(*expected, bx, by, a);
    }
  EXPECT_EQ(CheckUnchanged(*expected, *out.work), "");
}

TEST(Scratch, SlidesEveryRowByItsOwnOffset) {
  auto input = Noise(16, 8);
  FreshModule module;
  const Outcome out = module.Apply(module.host.MakeEntry("Scratch"), *input);  // horizontal, solid: d = 255
  ReferenceRandom r;
  int row = -1, e = 0;
  EXPECT_EQ(CheckPixels(*input, *out.work, Corners{0, 0, 16, 8},
                        [&](Bgr p, int x, int y) {
                          if (y != row) row = y, e = SignFirst(r, 5);
                          const int sx = x - e;
                          return ReferenceMix(p, sx >= 0 && sx < 16 ? PixelAt(*input, sx, y) : Bgr{}, 255);
                        }),
            "");
}

TEST(Title, LaysTilesWithSignFirstOffsets) {
  auto input = Noise(20, 10);
  FreshModule module;
  Entry entry = module.host.MakeEntry("Title").Select(3);  // keep the background; solid: f = 0 copies
  const Outcome out = module.Apply(entry, *input);
  auto expected = CopyOf(*input);
  ReferenceRandom r;
  for (int y = 0; y < 10; y += 10)
    for (int x = 0; x < 20; x += 10) {
      const int u = SignFirst(r, 5), v = SignFirst(r, 5);
      for (int j = 0; j < 10; ++j)
        for (int i = 0; i < 10; ++i) {
          const int tx = x + u + i, ty = y + v + j, sx = tx + u, sy = ty + v;
          if (tx >= 0 && tx < 20 && ty >= 0 && ty < 10 && sx >= 0 && sx < 20 && sy >= 0 && sy < 10)
            SetPixelAt(*expected, tx, ty, PixelAt(*input, sx, sy));
        }
    }
  EXPECT_EQ(CheckUnchanged(*expected, *out.work), "");
}

TEST(RangeWind, ThresholdZeroSeedsOnlyAtTheBasedLuminosity) {
  // One row of grey 100 with one white pixel at column 10; every pixel is offered as a seed.
  auto input = MakePicture(16, 1, [](int x, int) { return x == 10 ? Rgb(255, 255, 255) : Rgb(100, 100, 100); });
  FreshModule module;
  const Outcome out = module.Apply(module.host.MakeEntry("Range Wind").Value(1, "100 %").Value(4, "0"), *input);
  ReferenceRandom r;
  for (int x = 0; x <= 10; ++x) r.Next();  // the chance draws up to the seed
  const int length = std::min(r.Next() % 15 + 1, 10);
  EXPECT_EQ(PixelAt(*out.work, 10, 0), Rgb(255, 255, 255));  // the streak ends at its seed
  for (int x = 0; x < 16; ++x) {
    const int t = x - (10 - length);
    const int v = x >= 10 - length && x < 10 ? 100 + int(155.0L / length * t) : (x == 10 ? 255 : 100);
    EXPECT_EQ(PixelAt(*out.work, x, 0), Rgb(v, v, v)) << x;
  }
}

TEST(Wind, StreaksFadeIntoTheirSeedFromTheLeft) {
  auto input = MakePicture(16, 1, [](int x, int) { return x == 12 ? Rgb(250, 0, 50) : Rgb(10, 200, 0); });
  FreshModule module;
  // Quantity 100 %: every pixel seeds; length 1 when the maximum is below 1, with no draw.
  const Outcome out = module.Apply(module.host.MakeEntry("Wind").Value(2, "100 %").Value(3, "0"), *input);
  // A streak of one pixel keeps its far end: nothing changes.
  EXPECT_EQ(CheckUnchanged(*input, *out.work), "");
}

}  // namespace
}  // namespace pic_test
