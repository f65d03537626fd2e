// Polar Coordinates' angle steps: the table gives the same step as the per-pixel arccos for the
// ratios of real pixels, for ratios a hair either side of every place the step changes, and at
// the ends of the range, over ordinary, large, negative and unusable turns.
#include "plugins/pic/geometric/polar_angle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using ombrix::pic::PolarAngleStepPlain;
using ombrix::pic::PolarAngleSteps;

constexpr double kRadiansPerDegree = 0.01745277777777778;

// Turns as the filter makes them: the Rotate Angle parameter (a float) times the factor.
const float kAngles[] = {-90.0f, 0.0f, 45.3f, -0.001f, 359.99f, 720.0f, -1000.5f, 12345.678f, 1.0e-30f, 3.0e7f};

void ExpectSame(const PolarAngleSteps& steps, double ratio, bool below, double turn) {
  ASSERT_EQ(steps.Step(ratio, below), PolarAngleStepPlain(ratio, below, turn))
      << "ratio " << ratio << (below ? " below" : " above") << ", turn " << turn;
}

TEST(PolarAngleSteps, TableMatchesArccosForPixelRatios) {
  for (const float angle : kAngles) {
    const double turn = double(angle) * kRadiansPerDegree;
    const PolarAngleSteps steps(turn);
    for (int dy = -260; dy <= 260; dy += 3) {
      // Along the row as the filter walks it, the search carried from pixel to pixel.
      size_t at = PolarAngleSteps::kFromCell;
      for (int dx = -700; dx <= 700; ++dx) {
        const double r = std::sqrt(double(dx) * dx + double(dy) * dy);
        double ratio = dx / r;
        if (std::isnan(ratio)) ratio = -1;
        ASSERT_EQ(steps.Step(ratio, dy < 0, at), PolarAngleStepPlain(ratio, dy < 0, turn)) << dx << ", " << dy;
        ExpectSame(steps, ratio, dy > 0, turn);
      }
      // Backwards, so the carried search must notice that it is past the ratio.
      for (int dx = 700; dx >= -700; dx -= 7) {
        const double ratio = dx / std::sqrt(double(dx) * dx + double(dy) * dy);
        if (std::isnan(ratio)) continue;
        ASSERT_EQ(steps.Step(ratio, dy < 0, at), PolarAngleStepPlain(ratio, dy < 0, turn)) << dx << ", " << dy;
      }
    }
  }
}

TEST(PolarAngleSteps, TableMatchesArccosBesideEveryChange) {
  for (const float angle : kAngles) {
    const double turn = double(angle) * kRadiansPerDegree;
    const PolarAngleSteps steps(turn);
    for (const bool below : {false, true}) {
      for (int m = -2000; m <= 2000; ++m) {
        const double theta = m / 57.297469361769856 + turn;
        if (std::fabs(theta) > 3.2 || (below ? theta > 0 : theta < 0)) continue;
        const double bound = std::cos(theta);
        // Walk outward from the bound by single ulps, then by growing steps up to past the guard.
        for (const double direction : {-1.0, 1.0}) {
          double x = bound;
          for (int i = 0; i < 40; ++i) {
            ExpectSame(steps, x, below, turn);
            x = std::nextafter(x, direction * 2);
          }
          for (double d = 1.0e-15; d < 1.0e-7; d *= 1.7) ExpectSame(steps, bound + direction * d, below, turn);
        }
      }
      for (const double x : {-1.0, -0.0, 0.0, 1.0, std::nextafter(-1.0, 0.0), std::nextafter(1.0, 0.0), 0.5, -0.5,
                             std::numeric_limits<double>::quiet_NaN(), 1.5, -2.0})
        ExpectSame(steps, x, below, turn);
    }
  }
}

TEST(PolarAngleSteps, UnusableTurnsFallBackToArccos) {
  for (const double turn : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity(), 1.0e300}) {
    const PolarAngleSteps steps(turn);
    for (double x = -1.0; x <= 1.0; x += 0.0625) {
      ExpectSame(steps, x, false, turn);
      ExpectSame(steps, x, true, turn);
    }
  }
}

}  // namespace
