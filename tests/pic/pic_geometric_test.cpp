// The geometric picture filters through the staged module: exact pixels for the defaults and
// other settings, and the properties each filter must keep.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/pic/pic_test_support.h"

namespace pic_test {
namespace {

constexpr double kDegree = 0.01745277777777778;
const Bgr kBlack{0, 0, 0};

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

// ---- Every geometric filter ---------------------------------------------------------------------

class EveryGeometricFilter : public ::testing::TestWithParam<const char*> {};

TEST_P(EveryGeometricFilter, LeavesPixelsOutsideItsZoneAndDoesNothingOnAnEmptyZone) {
  auto input = Noise(96, 64);
  Entry entry = Pic().MakeEntry(GetParam());
  const Corners zone{20, 10, 70, 50};
  const Outcome out = ApplyOn(entry, *input, zone);
  EXPECT_EQ(OutsideUnchanged(*input, *out.work, zone), "");
  // A zone wholly right of the picture.
  const Outcome none = ApplyOn(entry, *input, Corners{200, 0, 300, 10});
  EXPECT_EQ(CheckUnchanged(*input, *none.work), "");
}

INSTANTIATE_TEST_SUITE_P(Filters, EveryGeometricFilter,
                         ::testing::Values("Vertical Flip", "Horizontal Flip", "Spherize", "Zoom", "Rotate", "Twirl",
                                           "Move", "Polar Coordinates", "16/9", "Speed Zoom", "Roll", "Reverse Polar"),
                         [](const auto& test_info) {
                           std::string name;
                           for (const char* c = test_info.param; *c; ++c)
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           return name;
                         });

TEST(Flag, WritesOnlyWithinItsAmplitudesAroundTheZone) {
  auto input = Noise(96, 64);
  const Outcome out = ApplyOn(Pic().MakeEntry("Flag"), *input, Corners{40, 30, 50, 34});
  EXPECT_EQ(OutsideUnchanged(*input, *out.work, Corners{25, 15, 65, 49}), "");
}

// ---- Flips, Roll, Move ---------------------------------------------------------------------------

TEST(VerticalFlip, TurnsTheZoneUpsideDownAndTwiceRestoresIt) {
  auto input = Noise(30, 21);
  const Corners zone{3, 2, 25, 19};  // 17 rows: the middle row stays
  const Outcome once = ApplyOn(Pic().MakeEntry("Vertical Flip"), *input, zone);
  EXPECT_EQ(CheckPixels(*input, *once.work, zone, [&](Bgr, int x, int y) { return PixelAt(*input, x, 2 + 18 - y); }),
            "");
  const Outcome twice = ApplyOn(Pic().MakeEntry("Vertical Flip"), *once.work, zone);
  EXPECT_EQ(CheckUnchanged(*input, *twice.work), "");
  EXPECT_EQ(once.starts, (std::vector<std::pair<int32_t, int32_t>>{{0, 8}}));
  EXPECT_EQ(once.steps, (std::vector<int32_t>{0}));
}

TEST(VerticalFlip, LargerStepsExchangeEveryNthPairOfRows) {
  auto input = Noise(10, 10);
  const Outcome out = ApplyFull(Pic().MakeEntry("Vertical Flip").Value(3, "2"), *input);
  // Pairs i = 0, 2, 4: rows 0<->9, 2<->7, 4<->5; rows 1, 3, 6, 8 stay.
  EXPECT_EQ(CheckPixels(*input, *out.work, Corners{0, 0, 10, 10},
                        [&](Bgr p, int x, int y) {
                          return y == 0 || y == 2 || y == 4 || y == 5 || y == 7 || y == 9 ? PixelAt(*input, x, 9 - y)
                                                                                          : p;
                        }),
            "");
  EXPECT_EQ(CheckUnchanged(*input, *ApplyFull(Pic().MakeEntry("Vertical Flip").Value(3, "0"), *input).work), "");
}

TEST(HorizontalFlip, MirrorsColumnsAndKeepsTheMiddleOfAnOddZone) {
  auto input = Noise(20, 8);
  const Corners zone{2, 1, 15, 7};  // 13 columns: column 8 stays
  const Outcome out = ApplyOn(Pic().MakeEntry("Horizontal Flip"), *input, zone);
  EXPECT_EQ(CheckPixels(*input, *out.work, zone, [&](Bgr, int x, int y) { return PixelAt(*input, 2 + 14 - x, y); }),
            "");
  // Steps 2 and 2: columns i = 0, 2, 4 of every second row.
  const Outcome stepped = ApplyOn(Pic().MakeEntry("Horizontal Flip").Value(2, "2").Value(3, "2"), *input, zone);
  EXPECT_EQ(CheckPixels(*input, *stepped.work, zone,
                        [&](Bgr p, int x, int y) {
                          const int i = x - 2 < 7 ? x - 2 : 14 - x;
                          return (y - 1) % 2 == 0 && i % 2 == 0 && i < 6 ? PixelAt(*input, 16 - x, y) : p;
                        }),
            "");
}

TEST(Roll, ShiftsAroundTheZoneAndTheZoneSizeIsTheIdentity) {
  auto input = Noise(40, 30);
  const Outcome out = ApplyFull(Pic().MakeEntry("Roll").Value(2, "3").Value(3, "-2"), *input);
  EXPECT_EQ(CheckPixels(*input, *out.work, Corners{0, 0, 40, 30},
                        [&](Bgr, int x, int y) { return PixelAt(*input, (x - 3 + 40) % 40, (y + 2) % 30); }),
            "");
  EXPECT_EQ(CheckUnchanged(*input, *ApplyFull(Pic().MakeEntry("Roll").Value(2, "40").Value(3, "30"), *input).work), "");
  // A zone away from the origin rolls its own pixels.
  const Corners zone{10, 5, 20, 25};
  const Outcome inner = ApplyOn(Pic().MakeEntry("Roll").Value(2, "100").Value(3, "100"), *input, zone);
  EXPECT_EQ(
      CheckPixels(*input, *inner.work, zone,
                  [&](Bgr, int x, int y) { return PixelAt(*input, 10 + (x - 10) % 10, 5 + (y - 5 + 20 - 0) % 20); }),
      "");
}

TEST(Move, DefaultsMoveBeyondASmallPicture) {
  auto input = Noise(64, 48);
  const Outcome cleared = ApplyFull(Pic().MakeEntry("Move"), *input);
  EXPECT_EQ(CheckPixels(*input, *cleared.work, Corners{0, 0, 64, 48}, [](Bgr, int, int) { return kBlack; }), "");
  const Outcome kept = ApplyFull(Pic().MakeEntry("Move").Select(3), *input);
  EXPECT_EQ(CheckUnchanged(*input, *kept.work), "");
}

TEST(Move, ShiftsSolidOrMixesAtTheTransparencyLevel) {
  auto input = Noise(64, 48);
  Entry entry = Pic().MakeEntry("Move").Value(1, "5").Value(2, "-3").Value(4, "10 20 30");
  const Bgr clear = Rgb(10, 20, 30);
  const Outcome solid = ApplyFull(entry, *input);
  EXPECT_EQ(
      CheckPixels(*input, *solid.work, Corners{0, 0, 64, 48},
                  [&](Bgr, int x, int y) { return x >= 5 && y + 3 < 48 ? PixelAt(*input, x - 5, y + 3) : clear; }),
      "");
  const Outcome mixed = ApplyFull(Entry(entry).Select(7).Select(3), *input);  // kept background, k = 127
  EXPECT_EQ(CheckPixels(*input, *mixed.work, Corners{0, 0, 64, 48},
                        [&](Bgr p, int x, int y) {
                          return ReferenceMix(p, x >= 5 && y + 3 < 48 ? PixelAt(*input, x - 5, y + 3) : clear, 127);
                        }),
            "");
  const Outcome repeated = ApplyFull(Entry(entry).Select(3).State(4, 1), *input);
  EXPECT_EQ(CheckPixels(*input, *repeated.work, Corners{0, 0, 64, 48},
                        [&](Bgr, int x, int y) { return PixelAt(*input, (x + 59) % 64, (y + 3) % 48); }),
            "");
}

// ---- Rotate ------------------------------------------------------------------------------------------

TEST(Rotate, ZeroAndFullTurnsLeaveThePicture) {
  auto input = Noise(64, 48);
  for (const char* angle : {"0", "360", "-720"})
    EXPECT_EQ(CheckUnchanged(*input, *ApplyFull(Pic().MakeEntry("Rotate").Value(4, angle), *input).work), "") << angle;
}

TEST(Rotate, QuarterTurnMapsPixelsExactly) {
  auto input = Noise(41, 41);
  const Outcome out = ApplyFull(Pic().MakeEntry("Rotate").Value(1, "20").Value(2, "20").Value(4, "90"), *input);
  // Source (cx - dy, cy + dx): every point of the square zone falls on a pixel.
  EXPECT_EQ(CheckPixels(*input, *out.work, Corners{0, 0, 41, 41},
                        [&](Bgr, int x, int y) { return PixelAt(*input, 20 - (y - 20), 20 + (x - 20)); }),
            "");
}

TEST(Rotate, DefaultAngleSamplesBilinearlyWithTheBackground) {
  auto input = Noise(640, 480);
  const float radians = 45.0f * 0.017452778f;
  const double c = std::cos(double(radians)), s = std::sin(double(radians));
  auto expected = [&](int x, int y, Bgr outside) {
    const double dx = x - 320.0, dy = y - 240.0;
    return ReferenceBilinear(*input, float(320 + dx * c - dy * s), float(240 + dx * s + dy * c), outside);
  };
  const Outcome out = ApplyFull(Pic().MakeEntry("Rotate"), *input);
  for (auto [x, y] : {std::pair{0, 0}, {100, 50}, {320, 240}, {639, 479}, {600, 10}})
    EXPECT_EQ(PixelAt(*out.work, x, y), expected(x, y, kBlack)) << x << ", " << y;
  // Keep Background: a source wholly outside keeps the pixel.
  const Outcome kept = ApplyFull(Pic().MakeEntry("Rotate").Select(3), *input);
  EXPECT_EQ(PixelAt(*kept.work, 0, 0), PixelAt(*input, 0, 0));
  EXPECT_EQ(PixelAt(*kept.work, 100, 50), expected(100, 50, PixelAt(*input, 100, 50)));
  const Outcome wrapped = ApplyFull(Pic().MakeEntry("Rotate").Select(4), *input);
  const double dx = -320.0, dy = -240.0;
  EXPECT_EQ(PixelAt(*wrapped.work, 0, 0),
            ReferenceWrapped(*input, float(320 + dx * c - dy * s), float(240 + dx * s + dy * c)));
}

TEST(Rotate, EllipseTurnsOnlyItsInside) {
  auto input = Noise(200, 200);
  const Outcome out =
      ApplyFull(Pic().MakeEntry("Rotate").Value(1, "100").Value(2, "100").Value(4, "90").Select(8), *input);
  // Inside the ellipse (centre 100, 100, radius 100) the quarter turn is exact; corners stay.
  EXPECT_EQ(PixelAt(*out.work, 110, 95), PixelAt(*input, 105, 110));
  EXPECT_EQ(PixelAt(*out.work, 100, 100), PixelAt(*input, 100, 100));
  EXPECT_EQ(PixelAt(*out.work, 2, 2), PixelAt(*input, 2, 2));
  EXPECT_EQ(PixelAt(*out.work, 197, 3), PixelAt(*input, 197, 3));
}

// ---- Flag, Mirror ---------------------------------------------------------------------------------------

TEST(Flag, WavesRowsAndColumnsBySines) {
  auto input = Noise(120, 90);
  auto expected = [&](int x, int y, Bgr outside) {
    const double u = x - 15 * std::sin(double(y) * 1 * kDegree);
    const double v = y - std::sin(double(x) * 1 * kDegree) * 15;
    return ReferenceBilinear(*input, float(u), float(v), outside);
  };
  const Outcome out = ApplyFull(Pic().MakeEntry("Flag"), *input);
  for (auto [x, y] : {std::pair{0, 0}, {60, 45}, {119, 89}, {7, 80}})
    EXPECT_EQ(PixelAt(*out.work, x, y), expected(x, y, kBlack)) << x << ", " << y;
  // Keep Background takes the pixel to the right as the outside colour.
  const Outcome kept = ApplyFull(Pic().MakeEntry("Flag").Select(2).Value(2, "40").Value(4, "3"), *input);
  const double u = 5 - 40 * std::sin(double(30) * 3 * kDegree), v = 30 - std::sin(5 * kDegree) * 15;
  EXPECT_EQ(PixelAt(*kept.work, 5, 30), ReferenceBilinear(*input, float(u), float(v), PixelAt(*input, 6, 30)));
}

TEST(Mirror, CopiesOneSideOntoTheOtherScaled) {
  auto input = Noise(40, 20);
  EXPECT_EQ(CheckUnchanged(*input, *ApplyFull(Pic().MakeEntry("Mirror").Value(2, "0"), *input).work), "");
  const Outcome out = ApplyFull(Pic().MakeEntry("Mirror").Value(2, "12"), *input);
  EXPECT_EQ(CheckPixels(*input, *out.work, Corners{0, 0, 40, 20},
                        [&](Bgr p, int x, int y) { return x > 12 && x < 24 ? PixelAt(*input, 24 - x, y) : p; }),
            "");
  // Second half, horizontal, red doubled: rows 12 - k take rows 12 + k; sources beyond the
  // picture are black.
  const Outcome rows = ApplyFull(Pic().MakeEntry("Mirror").Value(2, "12").Value(5, "2").Select(2).Select(4), *input);
  for (int y = 1; y <= 12; ++y) {
    const int source = 24 - y;
    Bgr want = source < 20 ? PixelAt(*input, 3, source) : kBlack;
    want.red = uint8_t(std::min(255, want.red * 2));
    EXPECT_EQ(PixelAt(*rows.work, 3, y), want) << y;
  }
  EXPECT_EQ(PixelAt(*rows.work, 3, 0), PixelAt(*input, 3, 0));
}

// ---- Zoom, 16/9 ------------------------------------------------------------------------------------------

uint8_t Blend(long double t, int c, int s) { return uint8_t(int32_t(t * ((s - c) * 256) + c * 65536) >> 16); }
Bgr BlendPixel(long double t, Bgr c, Bgr s) {
  return Bgr{Blend(t, c.blue, s.blue), Blend(t, c.green, s.green), Blend(t, c.red, s.red)};
}

TEST(Zoom, DefaultsDoubleTheTopLeftQuarter) {
  auto input = Noise(640, 480);
  const Outcome out = ApplyFull(Pic().MakeEntry("Zoom"), *input);
  // Nearest pixel at steps 0.5, blended in at 255 / 256 over the cleared (black) zone.
  EXPECT_EQ(CheckPixels(*input, *out.work, Corners{0, 0, 640, 480},
                        [&](Bgr, int x, int y) { return BlendPixel(255, kBlack, PixelAt(*input, x / 2, y / 2)); }),
            "");
  EXPECT_EQ(out.info_texts, (std::vector<std::string>{"Scaling picture...", "Rebuilding picture..."}));
}

TEST(Zoom, TransparentOverTheKeptPicture) {
  auto input = Noise(64, 48);
  const Outcome out = ApplyFull(
      Pic().MakeEntry("Zoom").Value(1, "40").Value(2, "24").Value(3, "8").Value(4, "12").Select(3).Select(7), *input);
  // Cut-out columns 8..39, rows 12..23, scaled by 0.5 and 0.25; level 50 % of 255.
  const long double t = 50.0L * 0.01 * 255;
  EXPECT_EQ(CheckPixels(*input, *out.work, Corners{0, 0, 64, 48},
                        [&](Bgr p, int x, int y) { return BlendPixel(t, p, PixelAt(*input, 8 + x / 2, 12 + y / 4)); }),
            "");
}

TEST(SixteenNine, KillEdgesCoversThirtyRowsTopAndBottom) {
  auto input = Noise(320, 240);
  const Outcome out = ApplyFull(Pic().MakeEntry("16/9").Select(4).Value(5, "1 2 3"), *input);
  EXPECT_EQ(CheckPixels(*input, *out.work, Corners{0, 0, 320, 240},
                        [&](Bgr p, int, int y) { return y < 30 || y >= 210 ? Rgb(1, 2, 3) : p; }),
            "");
}

TEST(SixteenNine, StretchSqueezesThePictureBetweenBarsOf31Rows) {
  // A picture whose colour depends on the column only: the height pass keeps it exactly.
  auto input = MakePicture(320, 240, [](int x, int) { return Rgb(x % 256, 255 - x % 256, 7); });
  const Outcome out = ApplyFull(Pic().MakeEntry("16/9"), *input);
  for (int y : {0, 30, 209, 239}) EXPECT_EQ(PixelAt(*out.work, 100, y), kBlack) << y;
  for (int y : {31, 120, 208}) EXPECT_EQ(PixelAt(*out.work, 100, y), PixelAt(*input, 100, y)) << y;
  // Transparent bars at 50 %: k = 127.5.
  const Outcome mixed = ApplyFull(Pic().MakeEntry("16/9").Select(4).Select(7), *input);
  EXPECT_EQ(PixelAt(*mixed.work, 200, 5), BlendPixel(127.5L, PixelAt(*input, 200, 5), kBlack));
}

// ---- Twirl, Polar, Spherize, Speed Zoom ---------------------------------------------------------------

TEST(Twirl, TurnsInsideTheOuterRadiusOnly) {
  auto input = Noise(640, 480);
  const Outcome out = ApplyFull(Pic().MakeEntry("Twirl"), *input);
  EXPECT_EQ(PixelAt(*out.work, 320 + 201, 240), PixelAt(*input, 521, 240));
  EXPECT_EQ(PixelAt(*out.work, 0, 0), PixelAt(*input, 0, 0));
  // Inside the radius the full weight: (50, 30) from the centre.
  auto turned = [&](int dx, int dy) {
    const float d = std::sqrt(float(dx * dx + dy * dy));
    const double theta = double((200 - static_cast<long double>(d)) * (45.0L / 200) * kDegree);
    return ReferenceBilinear(*input, float(320 + dx * std::cos(theta) - dy * std::sin(theta)),
                             float(240 + dx * std::sin(theta) + dy * std::cos(theta)), kBlack);
  };
  EXPECT_EQ(PixelAt(*out.work, 370, 270), ReferenceMix(PixelAt(*input, 370, 270), turned(50, 30), 255));
  // Between the radii the weight falls: d = 150, w = (150 - 100) / (100 - 200) + 1 = 0.5.
  EXPECT_EQ(PixelAt(*out.work, 470, 240), ReferenceMix(PixelAt(*input, 470, 240), turned(150, 0), 127));
  EXPECT_EQ(CheckUnchanged(*input, *ApplyFull(Pic().MakeEntry("Twirl").Value(8, "0"), *input).work), "");
}

TEST(PolarCoordinates, UnrollsAngleAcrossAndRadiusDown) {
  auto input = Noise(360, 200);
  const Outcome out = ApplyFull(Pic().MakeEntry("Polar Coordinates").Value(2, "180").Value(3, "100").Select(3), *input);
  auto expected = [&](int x, int y) {
    const double dx = x - 180.0, dy = 100.0 - y, r = std::sqrt(dx * dx + dy * dy);
    double theta = std::acos(dx / r);
    if (dy < 0) theta = -theta;
    int n = int((theta - (-90.0f) * kDegree) * 57.297469361769856) % 360;
    if (n < 0) n += 360;
    return ReferenceBilinear(*input, float(360.0L * n * 0.0027777778), float(r), kBlack);
  };
  for (auto [x, y] : {std::pair{0, 0}, {200, 50}, {250, 150}, {100, 199}})
    EXPECT_EQ(PixelAt(*out.work, x, y), expected(x, y)) << x << ", " << y;
}

TEST(ReversePolar, WrapsRowsAroundTheCentre) {
  auto input = Noise(360, 200);
  const Outcome out = ApplyFull(Pic().MakeEntry("Reverse Polar").Value(2, "180").Value(3, "100").Select(3), *input);
  auto expected = [&](int x, int y) {
    int n = int(x * 360.0L / 360 - (-90.0f)) % 360;
    if (n < 0) n += 360;
    return ReferenceBilinear(*input, float(180 + y * std::cos(n * kDegree)), float(100 + y * std::sin(n * kDegree)),
                             kBlack);
  };
  for (auto [x, y] : {std::pair{0, 0}, {45, 50}, {300, 80}, {100, 199}})
    EXPECT_EQ(PixelAt(*out.work, x, y), expected(x, y)) << x << ", " << y;
  EXPECT_EQ(out.steps.size(), 200u);  // a progress step at every row
}

TEST(ReversePolar, DrawEdgesRunsTheLastColourDown) {
  auto input = Noise(100, 100);
  const Outcome out = ApplyFull(Pic().MakeEntry("Reverse Polar").Value(2, "50").Value(3, "50"), *input);
  // Column 0 points at angle 90 (just short of it, pi being 3.1415): the rows whose source row
  // lies inside the picture are sampled; from the last of them down, the row before it repeats.
  int last = 0;
  while (50 + (last + 1) * std::sin(90 * kDegree) < 100) ++last;
  ASSERT_GE(last, 49);
  for (int y = last; y < 100; ++y) EXPECT_EQ(PixelAt(*out.work, 0, y), PixelAt(*out.work, 0, last - 1)) << y;
}

TEST(Spherize, ClearsOutsideTheDiscAndMapsItsCentre) {
  auto input = Noise(640, 480);
  const Outcome out = ApplyFull(Pic().MakeEntry("Spherize").Value(5, "9 8 7"), *input);
  EXPECT_EQ(PixelAt(*out.work, 0, 0), Rgb(9, 8, 7));
  EXPECT_EQ(PixelAt(*out.work, 320 + 241, 240), Rgb(9, 8, 7));
  // The centre: (0, 0, -240) gives longitude pi - atan(0) and latitude 0.
  const double s = 1 - 3.1415926535 * 0.15915494309644432, t = 0.5;
  EXPECT_EQ(PixelAt(*out.work, 320, 240), ReferenceWrapped(*input, float(640 * s), float(480 - 480 * t)));
  const Outcome kept = ApplyFull(Pic().MakeEntry("Spherize").Select(3), *input);
  EXPECT_EQ(PixelAt(*kept.work, 0, 0), PixelAt(*input, 0, 0));
  EXPECT_EQ(CheckUnchanged(*input, *ApplyFull(Pic().MakeEntry("Spherize").Value(4, "0"), *input).work), "");
}

TEST(SpeedZoom, OneStepRedrawsTheZoneOverItself) {
  auto input = Noise(64, 48);
  EXPECT_EQ(CheckUnchanged(*input, *ApplyFull(Pic().MakeEntry("Speed Zoom").Value(2, "1"), *input).work), "");
  EXPECT_EQ(CheckUnchanged(*input, *ApplyFull(Pic().MakeEntry("Speed Zoom").Value(2, "0"), *input).work), "");
  // Two steps at factor 0.5: the sides move by (8, 6, -8, -6) per step, so the second copy
  // fills (8, 6) - (56, 42) at level 127.5 -> 127, stepping 64 / 48 and 48 / 36 through the zone
  // with sums in single precision.
  const Outcome out = ApplyFull(Pic().MakeEntry("Speed Zoom").Value(2, "2"), *input);
  float u = 0, v = 0;
  for (int i = 8; i < 20; ++i) u += 64.0f / 48.0f;
  for (int i = 6; i < 14; ++i) v += 48.0f / 36.0f;
  EXPECT_EQ(PixelAt(*out.work, 20, 14), ReferenceMix(PixelAt(*input, 20, 14), PixelAt(*input, int(u), int(v)), 127));
  EXPECT_EQ(PixelAt(*out.work, 5, 5), PixelAt(*input, 5, 5));
  EXPECT_EQ(out.steps, (std::vector<int32_t>{0, 1}));
}

TEST(HorizontalFlip, AStopLeavesTheColumnPairsFromThereOn) {
  auto input = Noise(701, 5, 8);
  const Corners zone{0, 0, 701, 5};
  Pic().CancelFromRow(280);
  const Outcome out = Pic().Apply(Pic().MakeEntry("Horizontal Flip"), *input, ZoneCall(zone));
  Pic().CancelFromRow(-1);
  EXPECT_EQ(out.result, 0);
  EXPECT_EQ(out.starts, (std::vector<std::pair<int32_t, int32_t>>{{0, 350}}));
  EXPECT_EQ(out.steps.back(), 280);
  // Pairs i < 280 exchanged: columns 0 .. 279 and 421 .. 700.
  EXPECT_EQ(CheckPixels(*input, *out.work, zone,
                        [&](Bgr p, int x, int y) { return x < 280 || x > 420 ? PixelAt(*input, 700 - x, y) : p; }),
            "");
}

}  // namespace
}  // namespace pic_test
