// Filters that move, swap, set or invert channels: Negative, Negative Light, Swap RGB,
// RGB Calculations, Shift RGB, Move Plane and Kill Colors.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/pal/pal_test_support.h"

namespace pal_test {
namespace {

// ---- Negative --------------------------------------------------------------------------------

TEST(Negative, DefaultsInvertEveryChannel) {
  Entry e = Pal().MakeEntry("Negative");
  EXPECT_EQ(ApplyToPixel(e, Rgb(10, 20, 30)), Rgb(245, 235, 225));
}

TEST(Negative, OverflowModes) {
  Entry e = Pal().MakeEntry("Negative");
  e.Value(1, "100");
  EXPECT_EQ(ApplyToPixel(e, Rgb(200, 0, 0)).red, 0);  // check: -100 clamps
  e.Select(2);
  EXPECT_EQ(ApplyToPixel(e, Rgb(200, 0, 0)).red, 156);  // circular: -100 + 256
  e.Select(3);
  EXPECT_EQ(ApplyToPixel(e, Rgb(200, 0, 0)).red, 100);  // absolute
  // Differences beyond one turn: -300 is 212 circularly, and |-300| = 300 is 44.
  e.Value(1, "-100");
  EXPECT_EQ(ApplyToPixel(e, Rgb(200, 0, 0)).red, 44);
  e.Select(2);
  EXPECT_EQ(ApplyToPixel(e, Rgb(200, 0, 0)).red, 212);
  // With no option set the mode is check; the value is truncated first.
  e.ClearOptions().Value(1, "99.9");
  EXPECT_EQ(ApplyToPixel(e, Rgb(50, 0, 0)).red, 49);
}

TEST(Negative, MatchesReferenceInEveryMode) {
  for (int mode = 1; mode <= 3; ++mode) {
    SCOPED_TRACE(mode);
    Entry e = Pal().MakeEntry("Negative");
    e.Value(1, "100").Value(2, "300.7").Value(3, "-20").Select(mode);
    const long long target[3] = {-20, 300, 100};  // blue, green, red
    ExpectMatchesReference(e, [&](Bgr in, int, int) {
      const uint8_t c[3] = {in.blue, in.green, in.red};
      uint8_t out[3];
      for (int i = 0; i < 3; ++i) {
        long long d = target[i] - c[i];
        if (mode == 2) d = LowByte(d);
        if (mode == 3) d = LowByte(std::llabs(d));
        out[i] = ClampRef(d);
      }
      return Bgr{out[0], out[1], out[2]};
    });
  }
}

TEST(Negative, ValuesBeyondTheIntegerRangeAreDefined) {
  Entry e = Pal().MakeEntry("Negative");
  e.Value(1, "1e12").Value(2, "-1e12").Value(3, "nan");
  EXPECT_EQ(ApplyToPixel(e, Rgb(10, 20, 30)), Rgb(255, 0, 0));
}

// ---- Negative Light ----------------------------------------------------------------------------

TEST(NegativeLight, BlackBecomesWhiteAndGreysInvert) {
  Entry e = Pal().MakeEntry("Negative Light");
  EXPECT_EQ(ApplyToPixel(e, Rgb(0, 0, 0)), Rgb(255, 255, 255));
  EXPECT_EQ(ApplyToPixel(e, Rgb(255, 255, 255)), Rgb(0, 0, 0));
  for (int g : {1, 77, 128, 254}) EXPECT_EQ(ApplyToPixel(e, Rgb(g, g, g)), Rgb(255 - g, 255 - g, 255 - g)) << g;
}

TEST(NegativeLight, MatchesReference) {
  ExpectMatchesReference(Pal().MakeEntry("Negative Light"), [](Bgr in, int, int) {
    const int m = MeanRef(in);
    const int level = 255 - m;
    if (m == 0) return Bgr{ClampRef(level), ClampRef(level), ClampRef(level)};
    const float q = float(level) / float(m);
    auto scale = [q](int c) { return ClampRef(RoundRef(static_cast<float>(q * float(c)))); };
    return Bgr{scale(in.blue), scale(in.green), scale(in.red)};
  });
}

// ---- Swap RGB ----------------------------------------------------------------------------------

TEST(SwapRgb, EachOptionExchangesItsPair) {
  Entry e = Pal().MakeEntry("Swap RGB");
  EXPECT_EQ(ApplyToPixel(e, Rgb(10, 20, 30)), Rgb(20, 10, 30));
  EXPECT_EQ(ApplyToPixel(e.Select(2), Rgb(10, 20, 30)), Rgb(30, 20, 10));
  EXPECT_EQ(ApplyToPixel(e.Select(3), Rgb(10, 20, 30)), Rgb(10, 30, 20));
  // The first set option wins; none set changes nothing.
  EXPECT_EQ(ApplyToPixel(e.State(1, 1), Rgb(10, 20, 30)), Rgb(20, 10, 30));
  EXPECT_EQ(ApplyToPixel(e.ClearOptions(), Rgb(10, 20, 30)), Rgb(10, 20, 30));
}

TEST(SwapRgb, MatchesReference) {
  Entry e = Pal().MakeEntry("Swap RGB");
  ExpectMatchesReference(e.Select(2), [](Bgr in, int, int) { return Rgb(in.blue, in.green, in.red); });
}

// ---- RGB Calculations --------------------------------------------------------------------------

TEST(RgbCalculations, ResultsWrapModulo256) {
  Entry e = Pal().MakeEntry("RGB Calculations");
  e.Value(1, "100").Value(2, "-5.5").Value(3, "0.9");
  EXPECT_EQ(ApplyToPixel(e, Rgb(200, 0, 7)), Rgb(44, 251, 7));  // -5.5 truncates to -5
  e.Select(3).Value(1, "1.5").Value(2, "-1").Value(3, "0.5");
  EXPECT_EQ(ApplyToPixel(e, Rgb(200, 5, 7)), Rgb(44, 251, 3));
  // Beyond the int32 range the low 8 bits are still those of the exact product.
  e.Value(1, "1e10");
  EXPECT_EQ(ApplyToPixel(e, Rgb(1, 0, 0)).red, uint8_t(10000000000LL % 256));
  EXPECT_EQ(ApplyToPixel(e.ClearOptions(), Rgb(200, 5, 7)), Rgb(200, 5, 7));
}

TEST(RgbCalculations, ValuesFollowTheirStepAcrossFrames) {
  Entry e = Pal().MakeEntry("RGB Calculations");
  e.Value(1, "10").Step(1, "2.5");
  EXPECT_EQ(ApplyToPixel(e, Rgb(0, 0, 0), 4).red, 20);
}

TEST(RgbCalculations, MatchesReference) {
  for (int operation : {2, 3}) {
    SCOPED_TRACE(operation);
    Entry e = Pal().MakeEntry("RGB Calculations");
    e.Select(operation).Value(1, "1.7").Value(2, "-0.6").Value(3, "91.25");
    const long double v[3] = {91.25f, -0.6f, 1.7f};  // blue, green, red as the host hands them
    ExpectMatchesReference(e, [&](Bgr in, int, int) {
      const uint8_t c[3] = {in.blue, in.green, in.red};
      uint8_t out[3];
      for (int i = 0; i < 3; ++i) out[i] = LowByte((long long)std::trunc(operation == 2 ? c[i] + v[i] : c[i] * v[i]));
      return Bgr{out[0], out[1], out[2]};
    });
  }
}

// ---- Shift RGB ---------------------------------------------------------------------------------

TEST(ShiftRgb, RotatesByOneOrTwoPlaces) {
  Entry e = Pal().MakeEntry("Shift RGB");
  EXPECT_EQ(ApplyToPixel(e, Rgb(10, 20, 30)), Rgb(30, 10, 20));  // blue <- green <- red <- blue
  EXPECT_EQ(ApplyToPixel(e.Value(2, "2"), Rgb(10, 20, 30)), Rgb(20, 30, 10));
  EXPECT_EQ(ApplyToPixel(e.Value(2, "2.9"), Rgb(10, 20, 30)), Rgb(20, 30, 10));
  EXPECT_EQ(ApplyToPixel(e.Value(2, "4"), Rgb(10, 20, 30)), Rgb(30, 10, 20));
}

TEST(ShiftRgb, MultiplesOfThreeAndNegativeShiftsChangeNothing) {
  auto input = TestPicture();
  Entry e = Pal().MakeEntry("Shift RGB");
  const Outcome three = Pal().Apply(e.Value(2, "3"), *input);
  EXPECT_EQ(three.result, 1);
  EXPECT_EQ(CheckUnchanged(*input, *three.work), "");
  EXPECT_TRUE(three.starts.empty());  // returns before reporting progress
  for (const char* negative : {"-1", "-2", "-4"}) {
    const Outcome out = Pal().Apply(e.Value(2, negative), *input);
    EXPECT_EQ(out.result, 1);
    EXPECT_EQ(CheckUnchanged(*input, *out.work), "");
    EXPECT_EQ(out.starts.size(), 1u) << negative;  // the rows are still walked
    EXPECT_EQ(out.steps.size(), 4u) << negative;
  }
}

TEST(ShiftRgb, MatchesReference) {
  ExpectMatchesReference(Pal().MakeEntry("Shift RGB").Value(2, "-7"), [](Bgr in, int, int) { return in; });
  ExpectMatchesReference(Pal().MakeEntry("Shift RGB").Value(2, "5"),
                         [](Bgr in, int, int) { return Rgb(in.green, in.blue, in.red); });
}

// ---- Move Plane --------------------------------------------------------------------------------

TEST(MovePlane, DefaultOffsetsBlackenTheUncoveredRedBorder) {
  auto input = TestPicture();
  const Outcome out = Pal().Apply("Move Plane", *input);
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(CheckPixels(*input, *out.work, Corners{0, 0, 41, 33},
                        [&](Bgr in, int x, int y) {
                          in.red = x < 2 || y < 2 ? 0 : PixelAt(*input, x - 2, y - 2).red;
                          return in;
                        }),
            "");
}

TEST(MovePlane, ZeroOffsetsOrNoOptionChangeNothing) {
  auto input = TestPicture();
  Entry e = Pal().MakeEntry("Move Plane");
  const Outcome still = Pal().Apply(e.Value(2, "0.5").Value(3, "-0.9"), *input);
  EXPECT_EQ(CheckUnchanged(*input, *still.work), "");
  const Outcome none = Pal().Apply(Pal().MakeEntry("Move Plane").ClearOptions(), *input);
  EXPECT_EQ(CheckUnchanged(*input, *none.work), "");
}

// The source is INPUT, also where it lies outside the zone or was already written in WORK.
TEST(MovePlane, MatchesReferenceForEveryChannelAndDirection) {
  struct Case {
    int option;
    const char* dx;
    const char* dy;
  };
  for (const Case c :
       {Case{1, "1", "0"}, Case{2, "-3.7", "5"}, Case{3, "6", "-2"}, Case{2, "0", "-40"}, Case{1, "2000000000", "1"}}) {
    SCOPED_TRACE(std::string(c.dx) + ", " + c.dy);
    Entry e = Pal().MakeEntry("Move Plane");
    e.Select(c.option).Value(2, c.dx).Value(3, c.dy);
    const long long dx = (long long)std::trunc(std::stold(c.dx));
    const long long dy = (long long)std::trunc(std::stold(c.dy));
    auto input = TestPicture();
    ExpectMatchesReference(e, [&](Bgr in, int x, int y) {
      const long long sx = x - dx;
      const long long sy = y - dy;
      const bool inside = sx >= 0 && sx < input->Width() && sy >= 0 && sy < input->Height();
      const Bgr source = inside ? PixelAt(*input, int(sx), int(sy)) : Bgr{};
      if (c.option == 1) in.red = source.red;
      if (c.option == 2) in.green = source.green;
      if (c.option == 3) in.blue = source.blue;
      return in;
    });
  }
}

// ---- Kill Colors -------------------------------------------------------------------------------

TEST(KillColors, SetsTheChosenChannelToTheTruncatedByte) {
  Entry e = Pal().MakeEntry("Kill Colors");
  EXPECT_EQ(ApplyToPixel(e, Rgb(10, 20, 30)), Rgb(0, 20, 30));
  EXPECT_EQ(ApplyToPixel(e.Select(2).Value(2, "7.9"), Rgb(10, 20, 30)), Rgb(10, 7, 30));
  EXPECT_EQ(ApplyToPixel(e.Select(3).Value(2, "300"), Rgb(10, 20, 30)), Rgb(10, 20, 44));
  EXPECT_EQ(ApplyToPixel(e.Value(2, "-1"), Rgb(10, 20, 30)), Rgb(10, 20, 255));
  EXPECT_EQ(ApplyToPixel(e.ClearOptions(), Rgb(10, 20, 30)), Rgb(10, 20, 30));
}

TEST(KillColors, MatchesReference) {
  ExpectMatchesReference(Pal().MakeEntry("Kill Colors").Select(2).Value(2, "99"), [](Bgr in, int, int) {
    in.green = 99;
    return in;
  });
}

}  // namespace
}  // namespace pal_test
