// Filters that recolour by level or tone: Black && White, Gray Scale, Brightness, Gamma
// Correction, Overexposure, Contrast, Antique, Fade and Replace Color.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/pal/pal_test_support.h"

namespace pal_test {
namespace {

// ---- Black && White ----------------------------------------------------------------------------

TEST(BlackAndWhite, ThresholdIsThreeTimesTheTruncatedMiddle) {
  Entry e = Pal().MakeEntry("Black && White");
  EXPECT_EQ(ApplyToPixel(e, Rgb(128, 128, 127)), Rgb(0, 0, 0));  // 383 < 384
  EXPECT_EQ(ApplyToPixel(e, Rgb(128, 128, 128)), Rgb(255, 255, 255));
  e.Value(4, "10.9");
  EXPECT_EQ(ApplyToPixel(e, Rgb(10, 10, 9)), Rgb(0, 0, 0));  // 29 < 30
  EXPECT_EQ(ApplyToPixel(e, Rgb(10, 10, 10)), Rgb(255, 255, 255));
}

TEST(BlackAndWhite, ColoursMoveWithTheirStepAndClamp) {
  Entry e = Pal().MakeEntry("Black && White");
  e.Value(1, "0 0 0").Step(1, "10 20 100").Value(2, "255 255 255").Step(2, "-1 0 1");
  EXPECT_EQ(ApplyToPixel(e, Rgb(0, 0, 0), 3), Rgb(30, 60, 255));
  EXPECT_EQ(ApplyToPixel(e, Rgb(255, 255, 255), 3), Rgb(252, 255, 255));
}

TEST(BlackAndWhite, UnreadableColourLeavesThePicture) {
  auto input = TestPicture();
  ApplyCall call;
  call.parameter_count = 1;  // colour 2 lies beyond the count the host claims
  const Outcome out = Pal().Apply("Black && White", *input, call);
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(CheckUnchanged(*input, *out.work), "");
}

TEST(BlackAndWhite, MatchesReference) {
  Entry e = Pal().MakeEntry("Black && White");
  e.Value(1, "12 34 56").Value(2, "200 150 100").Value(4, "97.5");
  ExpectMatchesReference(
      e, [](Bgr in, int, int) { return in.red + in.green + in.blue < 97 * 3 ? Rgb(12, 34, 56) : Rgb(200, 150, 100); });
}

// ---- Gray Scale --------------------------------------------------------------------------------

TEST(GrayScale, TheRampStopsOneStepShortOfTheExitColour) {
  Entry e = Pal().MakeEntry("Gray Scale");
  EXPECT_EQ(ApplyToPixel(e, Rgb(255, 255, 255)), Rgb(254, 254, 254));
  EXPECT_EQ(ApplyToPixel(e, Rgb(0, 0, 0)), Rgb(0, 0, 0));
  EXPECT_EQ(ApplyToPixel(e, Rgb(100, 101, 102)), Rgb(100, 100, 100));  // 255/256 * 101 = 100.6
}

TEST(GrayScale, FallingRampsTruncateTowardTheEntryColour) {
  Entry e = Pal().MakeEntry("Gray Scale");
  e.Value(5, "200 10 50").Value(6, "20 250 50").Select(2);
  // Index = red 255: red 200 - 180/256 * 255 = 20.70 -> 21; green 10 + 239.06 -> 249.
  EXPECT_EQ(ApplyToPixel(e, Rgb(255, 0, 0)), Rgb(21, 249, 50));
  // Index 1: -0.70 truncates to 0, so red stays 200.
  EXPECT_EQ(ApplyToPixel(e, Rgb(1, 0, 0)), Rgb(200, 10, 50));
}

TEST(GrayScale, NoOptionChangesNothing) {
  EXPECT_EQ(ApplyToPixel(Pal().MakeEntry("Gray Scale").ClearOptions(), Rgb(10, 20, 30)), Rgb(10, 20, 30));
}

TEST(GrayScale, MatchesReferenceForEveryBasis) {
  for (int basis = 1; basis <= 4; ++basis) {
    SCOPED_TRACE(basis);
    Entry e = Pal().MakeEntry("Gray Scale");
    e.Value(5, "30 240 0").Value(6, "250 5 128").Select(basis);
    ExpectMatchesReference(e, [basis](Bgr in, int, int) {
      const int i = basis == 1 ? MeanRef(in) : basis == 2 ? in.red : basis == 3 ? in.green : in.blue;
      auto ramp = [i](int from, int to) { return uint8_t(from + (int)std::trunc((to - from) * i / 256.0L)); };
      return Rgb(ramp(30, 250), ramp(240, 5), ramp(0, 128));
    });
  }
}

// ---- Brightness --------------------------------------------------------------------------------

TEST(Brightness, FactorArrivesJustBelowItsText) {
  Entry e = Pal().MakeEntry("Brightness");
  EXPECT_EQ(ApplyToPixel(e, Rgb(200, 100, 0)), Rgb(255, 139, 0));
  EXPECT_EQ(ApplyToPixel(e.Value(2, "0.5"), Rgb(255, 3, 1)), Rgb(127, 1, 0));
  EXPECT_EQ(ApplyToPixel(e.Value(2, "2.55"), Rgb(100, 99, 0)).red, 254);  // 2.55f * 100 = 254.99999
}

TEST(Brightness, NegativeFactorGivesBlack) {
  EXPECT_EQ(ApplyToPixel(Pal().MakeEntry("Brightness").Value(2, "-1.5"), Rgb(200, 100, 0)), Rgb(0, 0, 0));
}

TEST(Brightness, MatchesReference) {
  for (const char* factor : {"1.4", "0.7", "3"}) {
    SCOPED_TRACE(factor);
    const long double f = std::stof(factor);
    ExpectMatchesReference(Pal().MakeEntry("Brightness").Value(2, factor), [f](Bgr in, int, int) {
      auto scale = [f](int c) { return uint8_t(std::min<long double>(std::trunc(c * f), 255)); };
      return Bgr{scale(in.blue), scale(in.green), scale(in.red)};
    });
  }
}

// ---- Gamma Correction --------------------------------------------------------------------------

TEST(GammaCorrection, ScalesEachChannelByItsPercentage) {
  Entry e = Pal().MakeEntry("Gamma Correction");
  EXPECT_EQ(ApplyToPixel(e, Rgb(100, 200, 250)), Rgb(110, 220, 255));
  e.Value(1, "-50 %").Value(2, "150 %").Value(3, "-200 %");
  EXPECT_EQ(ApplyToPixel(e, Rgb(201, 100, 100)), Rgb(100, 250, 0));
}

// The factor 1 + 0.01 * 60 is stored as the float nearest to 1.6 (just above it), so 100 gives
// 160; an all-single-precision computation would give 1.5999999 and 159.
TEST(GammaCorrection, FactorIsComputedWideAndStoredSingle) {
  Entry e = Pal().MakeEntry("Gamma Correction");
  e.Value(1, "60 %").Value(2, "32 %").Value(3, "-30 %");
  // 0.7 is stored just below itself, so 100 gives 69.
  EXPECT_EQ(ApplyToPixel(e, Rgb(100, 100, 100)), Rgb(160, 132, 69));
}

TEST(GammaCorrection, MatchesReference) {
  Entry e = Pal().MakeEntry("Gamma Correction");
  e.Value(1, "33 %").Value(2, "-17 %").Value(3, "5.5 %").Step(3, "1.25 %");
  auto factor = [](float percent) { return (long double)(float)(1 + 0.01 * (long double)percent); };
  const long double f[3] = {factor(5.5f + 1.25f * 2), factor(-17), factor(33)};  // blue, green, red
  ExpectMatchesReference(
      e,
      [&](Bgr in, int, int) {
        return Bgr{ClampRef((long long)std::trunc(in.blue * f[0])), ClampRef((long long)std::trunc(in.green * f[1])),
                   ClampRef((long long)std::trunc(in.red * f[2]))};
      },
      2);
}

// ---- Overexposure ------------------------------------------------------------------------------

TEST(Overexposure, AddsMeanOverIntensityRoundingHalvesUp) {
  Entry e = Pal().MakeEntry("Overexposure");
  EXPECT_EQ(ApplyToPixel(e, Rgb(10, 20, 30)), Rgb(20, 30, 40));
  e.Value(2, "4");
  EXPECT_EQ(ApplyToPixel(e, Rgb(1, 2, 3)), Rgb(2, 3, 4));  // a = 0.5
  e.Value(2, "-4");
  EXPECT_EQ(ApplyToPixel(e, Rgb(1, 2, 3)), Rgb(1, 2, 3));  // 0.5, 1.5, 2.5 round up again
  e.Value(2, "0.1");                                       // a = 20 / 0.1f = 199.99999702
  EXPECT_EQ(ApplyToPixel(e, Rgb(10, 20, 30)), Rgb(210, 220, 230));
}

TEST(Overexposure, IntensityZeroWhitensAllButBlack) {
  Entry e = Pal().MakeEntry("Overexposure");
  e.Value(2, "0");
  EXPECT_EQ(ApplyToPixel(e, Rgb(10, 0, 0)), Rgb(255, 255, 255));
  EXPECT_EQ(ApplyToPixel(e, Rgb(1, 1, 0)), Rgb(1, 1, 0));  // mean 0
  EXPECT_EQ(ApplyToPixel(e.Value(2, "-0"), Rgb(0, 0, 0)), Rgb(0, 0, 0));
}

TEST(Overexposure, MatchesReference) {
  for (const char* intensity : {"2", "0.3", "-3", "7.77"}) {
    SCOPED_TRACE(intensity);
    const long double k = std::stof(intensity);
    ExpectMatchesReference(Pal().MakeEntry("Overexposure").Value(2, intensity), [k](Bgr in, int, int) {
      const long double a = MeanRef(in) / k;
      return Bgr{ClampRef(RoundRef(in.blue + a)), ClampRef(RoundRef(in.green + a)), ClampRef(RoundRef(in.red + a))};
    });
  }
}

// ---- Contrast ----------------------------------------------------------------------------------

TEST(Contrast, PushesChannelsAwayFromMiddleGrey) {
  Entry e = Pal().MakeEntry("Contrast");
  EXPECT_EQ(ApplyToPixel(e, Rgb(200, 200, 200)), Rgb(255, 255, 255));  // 200 + 225
  EXPECT_EQ(ApplyToPixel(e, Rgb(100, 50, 60)), Rgb(10, 5, 6));         // -90.6, -45.3, -54.4 truncate
  EXPECT_EQ(ApplyToPixel(e, Rgb(161, 160, 160)), Rgb(242, 240, 240));  // 80.5 rounds up
  EXPECT_EQ(ApplyToPixel(e, Rgb(1, 143, 144)), Rgb(1, 72, 72));        // -0.5 and -71.5 truncate
  EXPECT_EQ(ApplyToPixel(e.Value(2, "0"), Rgb(1, 143, 144)), Rgb(1, 143, 144));
}

TEST(Contrast, HugeCoefficientSaturates) {
  Entry e = Pal().MakeEntry("Contrast");
  e.Value(2, "1e30");
  EXPECT_EQ(ApplyToPixel(e, Rgb(200, 210, 220)), Rgb(255, 255, 255));
  EXPECT_EQ(ApplyToPixel(e, Rgb(10, 20, 30)), Rgb(0, 0, 0));
}

TEST(Contrast, MatchesReference) {
  for (const char* coefficient : {"2", "-1.3", "0.77"}) {
    SCOPED_TRACE(coefficient);
    const long double k = std::stof(coefficient) / 128.0L;
    ExpectMatchesReference(Pal().MakeEntry("Contrast").Value(2, coefficient), [k](Bgr in, int, int) {
      const int d = MeanRef(in) - 128;
      auto adjust = [&](int c) { return ClampRef(c + RoundRef((long double)(c * d) * k)); };
      return Bgr{adjust(in.blue), adjust(in.green), adjust(in.red)};
    });
  }
}

// ---- Antique -----------------------------------------------------------------------------------

TEST(Antique, DefaultGivesWarmTones) {
  Entry e = Pal().MakeEntry("Antique");
  // v = truncate(765 / (1.4f * 3)) = 182: red 4v/3 = 242, green 182, blue 2v/3 = 121.
  EXPECT_EQ(ApplyToPixel(e, Rgb(255, 255, 255)), Rgb(242, 182, 121));
  EXPECT_EQ(ApplyToPixel(e, Rgb(0, 0, 0)), Rgb(0, 0, 0));
}

// When the largest share passes 255 it is red that becomes 255, whichever mode holds that share.
TEST(Antique, LargestShareAbove255SetsRed) {
  Entry e = Pal().MakeEntry("Antique");
  e.Value(2, "0.5");  // v = 300 / 1.5 = 200, 4v/3 = 266
  EXPECT_EQ(ApplyToPixel(e, Rgb(100, 100, 100)), Rgb(255, 200, 133));
  EXPECT_EQ(ApplyToPixel(e.Select(6), Rgb(100, 100, 100)), Rgb(255, 133, 255));
  EXPECT_EQ(ApplyToPixel(e.Select(8), Rgb(100, 100, 100)), Rgb(255, 255, 200));
}

TEST(Antique, IndexZeroWhitensAllButBlackAndNoOptionChangesNothing) {
  Entry e = Pal().MakeEntry("Antique");
  e.Value(2, "0");
  EXPECT_EQ(ApplyToPixel(e, Rgb(1, 0, 0)), Rgb(255, 255, 255));
  EXPECT_EQ(ApplyToPixel(e, Rgb(0, 0, 0)), Rgb(0, 0, 0));
  EXPECT_EQ(ApplyToPixel(e.Value(2, "-1"), Rgb(90, 90, 90)), Rgb(0, 0, 0));
  EXPECT_EQ(ApplyToPixel(e.ClearOptions(), Rgb(10, 20, 30)), Rgb(10, 20, 30));
}

TEST(Antique, MatchesReferenceInEveryMode) {
  for (int mode : {6, 7, 8}) {
    for (const char* index : {"1.4", "0.45"}) {
      SCOPED_TRACE(std::to_string(mode) + " " + index);
      const long double divisor = std::stof(index) * 3.0L;
      ExpectMatchesReference(Pal().MakeEntry("Antique").Select(mode).Value(2, index), [&](Bgr in, int, int) {
        const long long v = (long long)std::trunc((in.red + in.green + in.blue) / divisor);
        const long long shares[3] = {v, 2 * v / 3, 4 * v / 3};  // v, small, large
        long long red = 0, green = 0, blue = 0;
        if (mode == 6) red = shares[0], green = shares[1], blue = shares[2];
        if (mode == 7) red = shares[2], green = shares[0], blue = shares[1];
        if (mode == 8) red = shares[1], green = shares[2], blue = shares[0];
        if (shares[2] > 255) red = 255;
        return Rgb(ClampRef(red), ClampRef(green), ClampRef(blue));
      });
    }
  }
}

// ---- Fade --------------------------------------------------------------------------------------

Entry FadeTo(const char* colour, int start, int end, int option) {
  Entry e = Pal().MakeEntry("Fade");
  e.Value(2, colour).Frames(start, end).Select(option);
  return e;
}

TEST(Fade, InGoesFromThePictureToTheColour) {
  auto input = TestPicture();
  const Entry in = FadeTo("200 100 50", 0, 10, 2);
  const Outcome start = Pal().Apply(in, *input);
  EXPECT_EQ(CheckUnchanged(*input, *start.work), "");
  EXPECT_TRUE(start.starts.empty());
  ApplyCall end_frame;
  end_frame.frame_offset = 10;
  const Outcome end = Pal().Apply(in, *input, end_frame);
  EXPECT_EQ(CheckPixels(*input, *end.work, Corners{0, 0, 41, 33}, [](Bgr, int, int) { return Rgb(200, 100, 50); }), "");
  // Half way: 0 + (200 - 0) / 10 * 5 = 100; 255 + (50 - 255) / 10 * 5 = 152.5 -> 255 - 102.
  EXPECT_EQ(ApplyToPixel(in, Rgb(0, 100, 255), 5), Rgb(100, 100, 153));
}

TEST(Fade, OutGoesFromTheColourToThePicture) {
  auto input = TestPicture();
  const Entry out = FadeTo("200 100 50", 0, 10, 3);
  ApplyCall end_frame;
  end_frame.frame_offset = 10;
  const Outcome end = Pal().Apply(out, *input, end_frame);
  EXPECT_EQ(CheckUnchanged(*input, *end.work), "");
  EXPECT_TRUE(end.starts.empty());
  EXPECT_EQ(ApplyToPixel(out, Rgb(0, 100, 255), 0), Rgb(200, 100, 50));
  // Half way: 200 + (0 - 200) / 10 * 5 = 100; 50 + (255 - 50) / 10 * 5 = 50 + 102.5 -> 152.
  EXPECT_EQ(ApplyToPixel(out, Rgb(0, 100, 255), 5), Rgb(100, 100, 152));
  // With no option set the fade runs "Out".
  EXPECT_EQ(ApplyToPixel(FadeTo("200 100 50", 0, 10, 2).ClearOptions(), Rgb(0, 0, 0), 0), Rgb(200, 100, 50));
}

TEST(Fade, FramesOutsideTheRangeExtrapolateAndWrap) {
  // In, 15 frames into a 10-frame fade: 0 + 200 / 10 * 15 = 300, stored as 44.
  EXPECT_EQ(ApplyToPixel(FadeTo("200 0 0", 0, 10, 2), Rgb(0, 0, 0), 15).red, 44);
  // In, before the start: Kc + (c - Kc) / N * 5 = 200 - 200 / 10 * 5.
  EXPECT_EQ(ApplyToPixel(FadeTo("200 0 0", 0, 10, 2), Rgb(0, 0, 0), -5).red, 100);
  EXPECT_EQ(ApplyToPixel(FadeTo("200 0 0", 0, 10, 2), Rgb(0, 0, 0), -20).red, 56);    // -200 wraps
  EXPECT_EQ(ApplyToPixel(FadeTo("0 0 0", 0, 10, 2), Rgb(200, 0, 0), -20).red, 144);   // 400 wraps
  EXPECT_EQ(ApplyToPixel(FadeTo("100 0 0", 0, 10, 3), Rgb(200, 0, 0), -5).red, 150);  // 200 + -100/10*5
}

TEST(Fade, StartFrameEqualToEndFrame) {
  // Past the start the fade is complete; before it, it has not begun.
  EXPECT_EQ(ApplyToPixel(FadeTo("200 100 50", 5, 5, 2), Rgb(1, 2, 3), 3), Rgb(200, 100, 50));
  EXPECT_EQ(ApplyToPixel(FadeTo("200 100 50", 5, 5, 2), Rgb(1, 2, 3), -2), Rgb(1, 2, 3));
  EXPECT_EQ(ApplyToPixel(FadeTo("200 100 50", 5, 5, 3), Rgb(1, 2, 3), 3), Rgb(1, 2, 3));
  EXPECT_EQ(ApplyToPixel(FadeTo("200 100 50", 5, 5, 3), Rgb(1, 2, 3), -2), Rgb(200, 100, 50));
  EXPECT_EQ(ApplyToPixel(FadeTo("200 100 50", 5, 5, 3), Rgb(1, 2, 3), 0), Rgb(1, 2, 3));
}

TEST(Fade, MatchesReference) {
  for (int option : {2, 3}) {
    for (int s : {3, -4}) {
      SCOPED_TRACE(std::to_string(option) + " at " + std::to_string(s));
      const int k[3] = {70, 180, 30};  // blue, green, red of "30 180 70"
      const long double n = 7;
      ExpectMatchesReference(
          FadeTo("30 180 70", 2, 9, option),
          [&](Bgr in, int, int) {
            const uint8_t c[3] = {in.blue, in.green, in.red};
            uint8_t out[3];
            for (int i = 0; i < 3; ++i) {
              const bool toward_colour = (option == 2) == (s >= 0);
              const int from = toward_colour ? c[i] : k[i];
              const int to = toward_colour ? k[i] : c[i];
              out[i] = LowByte(from + (long long)std::trunc((to - from) / n * std::abs(s)));
            }
            return Bgr{out[0], out[1], out[2]};
          },
          s);
    }
  }
}

// ---- Replace Color -----------------------------------------------------------------------------

TEST(ReplaceColor, ThresholdsAreInclusivePerChannel) {
  Entry e = Pal().MakeEntry("Replace Color");
  e.Value(1, "100 100 100").Value(3, "0 0 255").Value(5, "10").Value(6, "20").Value(7, "0");
  EXPECT_EQ(ApplyToPixel(e, Rgb(110, 80, 100)), Rgb(0, 0, 255));
  EXPECT_EQ(ApplyToPixel(e, Rgb(111, 80, 100)), Rgb(111, 80, 100));
  EXPECT_EQ(ApplyToPixel(e, Rgb(90, 120, 101)), Rgb(90, 120, 101));
}

TEST(ReplaceColor, KeepIntensityMovesTheNewColourToThePixelsMean) {
  Entry e = Pal().MakeEntry("Replace Color");
  e.Value(1, "100 100 100").Value(3, "0 0 255").Value(5, "50").Value(6, "50").Value(7, "50").Select(7);
  // New colour mean 85, pixel mean 100: every channel + 15.
  EXPECT_EQ(ApplyToPixel(e, Rgb(100, 100, 100)), Rgb(15, 15, 255));
  EXPECT_EQ(ApplyToPixel(e, Rgb(60, 60, 60)), Rgb(0, 0, 230));
}

TEST(ReplaceColor, MatchesReference) {
  for (int option : {6, 7}) {
    SCOPED_TRACE(option);
    Entry e = Pal().MakeEntry("Replace Color");
    e.Value(1, "120 130 140").Value(3, "250 20 90").Value(5, "90.9").Value(6, "100").Value(7, "70").Select(option);
    ExpectMatchesReference(e, [option](Bgr in, int, int) {
      const bool match =
          std::abs(in.red - 120) <= 90 && std::abs(in.green - 130) <= 100 && std::abs(in.blue - 140) <= 70;
      if (!match) return in;
      if (option == 6) return Rgb(250, 20, 90);
      const int d = (250 + 20 + 90) / 3 - MeanRef(in);
      return Rgb(ClampRef(250 - d), ClampRef(20 - d), ClampRef(90 - d));
    });
  }
}

}  // namespace
}  // namespace pal_test
