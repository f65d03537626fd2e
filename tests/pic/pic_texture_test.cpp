// The texture, streak and cover filters that draw no random numbers, and the zone rules of the
// ones that stay inside their zone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

#include "tests/pic/pic_test_support.h"

namespace pic_test {
namespace {

Outcome ApplyOn(const Entry& entry, const Picture& input, Corners zone) {
  ApplyCall call;
  call.zone = zone;
  Outcome out = Pic().Apply(entry, input, call);
  EXPECT_EQ(out.result, 1) << entry.descriptor().name;
  return out;
}
Outcome ApplyFull(const Entry& entry, const Picture& input) {
  return ApplyOn(entry, input, Corners{0, 0, input.Width(), input.Height()});
}

class ZoneBoundFilter : public ::testing::TestWithParam<const char*> {};

TEST_P(ZoneBoundFilter, LeavesPixelsOutsideItsZoneAndDoesNothingOnAnEmptyZone) {
  auto input = Noise(96, 64);
  Entry entry = Pic().MakeEntry(GetParam());
  const Corners zone{20, 10, 70, 50};
  const Outcome out = ApplyOn(entry, *input, zone);
  EXPECT_EQ(OutsideUnchanged(*input, *out.work, zone), "");
  const Outcome none = ApplyOn(entry, *input, Corners{0, 70, 50, 90});  // wholly below
  EXPECT_EQ(CheckUnchanged(*input, *none.work), "");
}

INSTANTIATE_TEST_SUITE_P(Filters, ZoneBoundFilter,
                         ::testing::Values("Emboss", "Interlace", "Displace", "Displace Mosaic", "Scratch", "Line Art",
                                           "Motion Blur", "Camera View", "Lazer", "Lazer Morph", "Add Noise",
                                           "Add Dust", "Brick"),
                         [](const auto& test_info) {
                           std::string name;
                           for (const char* c = test_info.param; *c; ++c)
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           return name;
                         });

TEST(CameraView, ChangeColorHalvesEverySecondRow) {
  auto input = MakePicture(6, 7, [](int, int) { return Rgb(200, 100, 50); });
  const Corners zone{1, 2, 5, 7};
  const Outcome out = ApplyOn(Pic().MakeEntry("Camera View").Select(2), *input, zone);
  EXPECT_EQ(CheckPixels(*input, *out.work, zone, [](Bgr p, int, int y) { return y % 2 == 0 ? Rgb(100, 50, 25) : p; }),
            "");
  // Vertical, solid: columns 1 and 3 of the zone.
  const Outcome columns = ApplyOn(Pic().MakeEntry("Camera View").Select(4).Value(2, "1 2 3"), *input, zone);
  EXPECT_EQ(CheckPixels(*input, *columns.work, zone, [](Bgr p, int x, int) { return x % 2 == 1 ? Rgb(1, 2, 3) : p; }),
            "");
}

TEST(Interlace, ExchangesPairsKeepsTheLastOddRowAndTwiceRestores) {
  auto input = Noise(9, 12);
  const Corners zone{1, 2, 8, 9};  // 7 rows: row 8 stays
  const Outcome once = ApplyOn(Pic().MakeEntry("Interlace"), *input, zone);
  EXPECT_EQ(CheckPixels(
                *input, *once.work, zone,
                [&](Bgr p, int x, int y) { return y == 8 ? p : PixelAt(*input, x, (y - 2) % 2 == 0 ? y + 1 : y - 1); }),
            "");
  EXPECT_EQ(CheckUnchanged(*input, *ApplyOn(Pic().MakeEntry("Interlace"), *once.work, zone).work), "");
  const Outcome columns = ApplyOn(Pic().MakeEntry("Interlace").Select(3), *input, zone);
  EXPECT_EQ(CheckPixels(
                *input, *columns.work, zone,
                [&](Bgr p, int x, int y) { return x == 7 ? p : PixelAt(*input, (x - 1) % 2 == 0 ? x + 1 : x - 1, y); }),
            "");
}

TEST(Mosaic, BoxAverageOverAThreeByThreeZoneReachesBeyondIt) {
  auto input = Noise(8, 8);
  const Outcome out = ApplyOn(Pic().MakeEntry("Mosaic").Select(8), *input, Corners{2, 2, 5, 5});
  for (int by = 2; by <= 4; by += 2)
    for (int bx = 2; bx <= 4; bx += 2) {
      int sum[3] = {0, 0, 0};
      for (int y = by; y < by + 2; ++y)
        for (int x = bx; x < bx + 2; ++x) {
          const Bgr p = PixelAt(*input, x, y);
          sum[0] += p.blue, sum[1] += p.green, sum[2] += p.red;
        }
      const Bgr mean{uint8_t(sum[0] / 4), uint8_t(sum[1] / 4), uint8_t(sum[2] / 4)};
      for (int y = by; y < by + 2; ++y)
        for (int x = bx; x < bx + 2; ++x) EXPECT_EQ(PixelAt(*out.work, x, y), mean) << x << ", " << y;
    }
  EXPECT_EQ(OutsideUnchanged(*input, *out.work, Corners{2, 2, 6, 6}), "");
  // Middle pixel of 3 x 3 blocks at the picture's edge.
  const Outcome middle = ApplyOn(Pic().MakeEntry("Mosaic").Value(2, "3").Value(3, "3"), *input, Corners{0, 0, 3, 3});
  EXPECT_EQ(PixelAt(*middle.work, 0, 0), PixelAt(*input, 1, 1));
  EXPECT_EQ(PixelAt(*middle.work, 4, 5), PixelAt(*input, 4, 4));
}

TEST(SizedFilters, OneSizeZeroLeavesThePicture) {
  auto input = Noise(40, 30);
  const struct {
    const char* filter;
    int slot;
  } cases[] = {{"Mosaic", 2}, {"Mosaic", 3}, {"Title", 1},           {"Title", 2},
               {"Brick", 1},  {"Brick", 2},  {"Displace Mosaic", 3}, {"Displace Mosaic", 4}};
  for (const auto& c : cases)
    EXPECT_EQ(CheckUnchanged(*input, *ApplyFull(Pic().MakeEntry(c.filter).Value(c.slot, "0"), *input).work), "")
        << c.filter << " slot " << c.slot;
}

TEST(Blur, AUniformPictureStaysUniformAndEdgesAverageFewerNeighbours) {
  auto uniform = MakePicture(10, 7, [](int, int) { return Rgb(90, 45, 201); });
  EXPECT_EQ(CheckUnchanged(*uniform, *ApplyFull(Pic().MakeEntry("Blur"), *uniform).work), "");
  auto input = MakePicture(4, 3, [](int x, int y) { return Rgb(x * 30, y * 40, 200); });
  const Outcome out = ApplyFull(Pic().MakeEntry("Blur").Value(2, "2"), *input);
  EXPECT_EQ(out.info_texts, (std::vector<std::string>{"Filtering picture ( 1/2 )...", "Filtering picture ( 2/2 )..."}));
  const Outcome once = ApplyFull(Pic().MakeEntry("Blur"), *input);
  // Corner (0, 0): the mean of 4 neighbours; red (0 + 30 + 0 + 30) / 4, green (0 + 0 + 40 + 40) / 4.
  EXPECT_EQ(PixelAt(*once.work, 0, 0), Rgb(15, 20, 200));
  EXPECT_EQ(PixelAt(*once.work, 1, 1), Rgb(30, 40, 200));
}

TEST(Lazer, DrawsEveryColumnTowardItsFirstPixel) {
  auto input = Noise(10, 8);
  const Corners zone{2, 1, 9, 7};
  const Outcome out = ApplyOn(Pic().MakeEntry("Lazer"), *input, zone);
  EXPECT_EQ(CheckPixels(*input, *out.work, zone,
                        [&](Bgr p, int x, int) { return ReferenceMix(p, PixelAt(*input, x, 1), 127); }),
            "");
  // 20 %: (1 - 0.01 * 20) * 255 lies just below 204 in extended precision, so k = 203.
  const Outcome rows = ApplyOn(Pic().MakeEntry("Lazer").Select(3).Value(2, "20 %"), *input, zone);
  EXPECT_EQ(CheckPixels(*input, *rows.work, zone,
                        [&](Bgr p, int, int y) { return ReferenceMix(p, PixelAt(*input, 2, y), 203); }),
            "");
  EXPECT_EQ(CheckUnchanged(*input, *ApplyOn(Pic().MakeEntry("Lazer").Value(2, "100 %"), *input, zone).work), "");
}

TEST(LazerMorph, ReplacesColumnsByTheGradientOfTheirEnds) {
  auto input = Noise(6, 11);
  const Outcome out = ApplyFull(Pic().MakeEntry("Lazer Morph"), *input);
  for (int y : {0, 3, 10}) {
    const Bgr a = PixelAt(*input, 4, 0), b = PixelAt(*input, 4, 10);
    auto g = [&](int ca, int cb) { return uint8_t(int(static_cast<long double>(cb - ca) / 10 * y + ca)); };
    // Level 255: truncate(255 * (g - c) * 256 + c * 65536) >> 16.
    const Bgr p = PixelAt(*input, 4, y);
    auto m = [&](int c, int gv) { return uint8_t(int(255.0L * ((gv - c) * 256) + c * 65536) >> 16); };
    EXPECT_EQ(PixelAt(*out.work, 4, y),
              (Bgr{m(p.blue, g(a.blue, b.blue)), m(p.green, g(a.green, b.green)), m(p.red, g(a.red, b.red))}))
        << y;
  }
}

TEST(Emboss, FlatAreasTakeTheMiddleOfTheGradient) {
  auto flat = MakePicture(12, 10, [](int, int) { return Rgb(80, 80, 80); });
  // Index (-80 - 80 + 255) / 2 + 80 = 127; the ramp divides by 256: 255 / 256 * 127 -> 126.
  const Outcome grey = ApplyOn(Pic().MakeEntry("Emboss"), *flat, Corners{0, 0, 10, 8});
  EXPECT_EQ(PixelAt(*grey.work, 5, 5), Rgb(126, 126, 126));
  const Outcome colour = ApplyOn(Pic().MakeEntry("Emboss").Select(4), *flat, Corners{0, 0, 10, 8});
  EXPECT_EQ(PixelAt(*colour.work, 5, 5), Rgb(127, 127, 127));
  // Rows whose neighbour row is outside the picture stay.
  EXPECT_EQ(CheckUnchanged(*flat, *ApplyOn(Pic().MakeEntry("Emboss"), *flat, Corners{0, 8, 12, 10}).work), "");
}

TEST(Emboss, NeighboursAreReadBeforeTheyChange) {
  auto input = Noise(12, 10);
  const Outcome out = ApplyFull(Pic().MakeEntry("Emboss").Select(4), *input);
  for (auto [x, y] : {std::pair{0, 0}, {9, 7}, {11, 3}}) {
    const Bgr p = PixelAt(*input, x, y);
    const Bgr n = x + 2 < 12 ? PixelAt(*input, x + 2, y + 2) : Bgr{};
    EXPECT_EQ(PixelAt(*out.work, x, y),
              (Bgr{uint8_t((p.blue - n.blue + 255) / 2), uint8_t((p.green - n.green + 255) / 2),
                   uint8_t((p.red - n.red + 255) / 2)}))
        << x << ", " << y;
  }
}

TEST(LineArt, FlatAreasTakeTheExitColourAndEdgesTheEntryColour) {
  auto input = MakePicture(12, 10, [](int x, int) { return x < 6 ? Rgb(0, 0, 0) : Rgb(255, 255, 255); });
  const Outcome out = ApplyFull(Pic().MakeEntry("Line Art").Value(1, "-2").Value(2, "0"), *input);
  EXPECT_EQ(PixelAt(*out.work, 3, 4), Rgb(255, 255, 255));
  // White with a black neighbour: index (0 - 255 + 255) / 2 + 255 = 255, the table's last entry.
  EXPECT_EQ(PixelAt(*out.work, 7, 4), Rgb(0, 0, 0));
}

// The 3 x 3 mean over the neighbours inside the picture, truncated, one pass.
std::unique_ptr<Picture> ReferenceBlur(const Picture& in) {
  auto out = CopyOf(in);
  const int w = in.Width(), h = in.Height();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int sum[3] = {0, 0, 0}, count = 0;
      for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, h - 1); ++ny)
        for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, w - 1); ++nx, ++count) {
          const Bgr p = PixelAt(in, nx, ny);
          sum[0] += p.blue, sum[1] += p.green, sum[2] += p.red;
        }
      SetPixelAt(*out, x, y, Bgr{uint8_t(sum[0] / count), uint8_t(sum[1] / count), uint8_t(sum[2] / count)});
    }
  return out;
}

TEST(Blur, EveryPassTakesTheTruncatedMeanOfThePreviousOne) {
  // Widths that leave every kind of row tail, a single row and a single column.
  for (auto [w, h] : {std::pair{37, 23}, {6, 5}, {2, 9}, {1, 4}, {50, 1}}) {
    auto input = Noise(w, h, uint32_t(w * 100 + h));
    const Outcome out = ApplyFull(Pic().MakeEntry("Blur").Value(2, "3"), *input);
    auto expected = ReferenceBlur(*ReferenceBlur(*ReferenceBlur(*input)));
    EXPECT_EQ(CheckUnchanged(*expected, *out.work), "") << w << " x " << h;
  }
}

TEST(LazerMorph, BothDirectionsAtAnyLevelMatchTheGradientRule) {
  auto input = Noise(45, 31, 5);
  const Corners zone{3, 2, 41, 29};
  for (const char* level : {"0 %", "35 %", "-20 %", "130 %"}) {
    const long double k = (1 - 0.01 * static_cast<long double>(std::strtof(level, nullptr))) * 255;
    auto morph = [&](int c, int a, int b, int span, int t) {
      const int g = span == 0 ? a : int(static_cast<long double>(b - a) / span * t + a);
      return uint8_t(int(k * ((g - c) * 256) + c * 65536) >> 16);
    };
    for (int option : {2, 3}) {
      const Outcome out = ApplyOn(Pic().MakeEntry("Lazer Morph").Select(option).Value(2, level), *input, zone);
      EXPECT_EQ(
          CheckPixels(*input, *out.work, zone,
                      [&](Bgr p, int x, int y) {
                        const bool vertical = option == 2;
                        const Bgr a = vertical ? PixelAt(*input, x, zone.y0) : PixelAt(*input, zone.x0, y);
                        const Bgr b = vertical ? PixelAt(*input, x, zone.y1 - 1) : PixelAt(*input, zone.x1 - 1, y);
                        const int span = vertical ? zone.y1 - 1 - zone.y0 : zone.x1 - 1 - zone.x0;
                        const int t = vertical ? y - zone.y0 : x - zone.x0;
                        return Bgr{morph(p.blue, a.blue, b.blue, span, t), morph(p.green, a.green, b.green, span, t),
                                   morph(p.red, a.red, b.red, span, t)};
                      }),
          "")
          << level << " option " << option;
    }
  }
}

TEST(MotionBlur, OverlaysEveryShiftedCopyAtHalfStrength) {
  auto input = Noise(53, 21, 9);
  const Outcome out =
      ApplyFull(Pic().MakeEntry("Motion Blur").Select(3).Value(1, "4").Value(3, "-3").Value(4, "2"), *input);
  auto expected = CopyOf(*input);
  for (int i = 0; i < 4; ++i)
    for (int y = 0; y < 21; ++y)
      for (int x = 0; x < 53; ++x) {
        const int sx = x + 3 * i, sy = y - 2 * i;
        if (sx < 0 || sx >= 53 || sy < 0 || sy >= 21) continue;
        const Bgr c = PixelAt(*expected, x, y), s = PixelAt(*input, sx, sy);
        auto overlay = [](int cv, int sv) { return uint8_t(sv + int(128.0L * (cv - sv) * 0.003921569)); };
        SetPixelAt(*expected, x, y, Bgr{overlay(c.blue, s.blue), overlay(c.green, s.green), overlay(c.red, s.red)});
      }
  EXPECT_EQ(CheckUnchanged(*expected, *out.work), "");
}

// Filters that report progress by column stop at a column as a column-by-column walk would:
// the columns before it are done, the others untouched, whatever the bands the filter uses.
TEST(ColumnOrderedFilters, AStopLeavesTheColumnsFromThereOn) {
  auto input = Noise(700, 9, 4);
  const Corners zone{0, 0, 700, 9};
  const int stop = 300;
  Pic().CancelFromRow(stop);
  const Outcome lazer = Pic().Apply(Pic().MakeEntry("Lazer"), *input, ZoneCall(zone));
  const Outcome interlace = Pic().Apply(Pic().MakeEntry("Interlace").Select(3), *input, ZoneCall(zone));
  const Outcome morph = Pic().Apply(Pic().MakeEntry("Lazer Morph").Value(2, "50 %"), *input, ZoneCall(zone));
  Pic().CancelFromRow(-1);
  const Outcome lazer_all = ApplyOn(Pic().MakeEntry("Lazer"), *input, zone);
  const Outcome interlace_all = ApplyOn(Pic().MakeEntry("Interlace").Select(3), *input, zone);
  const Outcome morph_all = ApplyOn(Pic().MakeEntry("Lazer Morph").Value(2, "50 %"), *input, zone);
  for (const auto& pair : {std::pair{&lazer, &lazer_all}, {&interlace, &interlace_all}, {&morph, &morph_all}}) {
    const Outcome* stopped = pair.first;
    const Outcome* whole = pair.second;
    EXPECT_EQ(stopped->result, 0);
    EXPECT_EQ(stopped->steps.back(), stop);
    EXPECT_EQ(CheckPixels(*input, *stopped->work, zone,
                          [&](Bgr p, int x, int y) { return x < stop ? PixelAt(*whole->work, x, y) : p; }),
              "");
  }
}

}  // namespace
}  // namespace pic_test
