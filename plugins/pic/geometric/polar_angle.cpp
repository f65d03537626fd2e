// Polar Coordinates' angle steps: per pixel and tabulated.
#include "plugins/pic/geometric/polar_angle.h"

#include <algorithm>
#include <cmath>

namespace ombrix::pic {
namespace {

constexpr double kDegreesPerRadian = 57.297469361769856;  // with pi taken as 3.1415

int32_t TruncateDouble(double v) {
  if (v > -2147483649.0 && v < 2147483648.0) return int32_t(v);  // NaN fails
  return v > 0 ? INT32_MAX : v < 0 ? INT32_MIN : 0;
}

}  // namespace

int32_t PolarAngleTruncated(double ratio, bool below, double turn) {
  double theta = std::acos(ratio);
  if (below) theta = -theta;
  return TruncateDouble((theta - turn) * kDegreesPerRadian);
}

int32_t PolarAngleStepPlain(double ratio, bool below, double turn) {
  return WrapDegrees(PolarAngleTruncated(ratio, below, turn));
}

PolarAngleSteps::PolarAngleSteps(double turn) : turn_(turn) {
  Build(false);
  Build(true);
}

void PolarAngleSteps::Build(bool below) {
  Side& side = sides_[below ? 1 : 0];
  if (!std::isfinite(turn_)) return;
  // The angles of this side and the scaled angles they give; a turn so large that the scaled
  // angles leave any sensible range keeps the plain path.
  const double pi = std::acos(-1.0);
  const double low_theta = below ? -pi : 0.0, high_theta = below ? 0.0 : pi;
  const double w0 = (low_theta - turn_) * kDegreesPerRadian, w1 = (high_theta - turn_) * kDegreesPerRadian;
  if (!(std::fabs(w0) < 1.0e6 && std::fabs(w1) < 1.0e6)) return;
  // Where the scaled angle crosses a whole number m: theta = m / factor + turn, ratio = cos theta.
  // These need only be near the true bounds; the checks below decide what the table vouches for.
  double bounds[kMostIntervals + 2];
  size_t count = 0;
  bounds[count++] = -1.0;
  bounds[count++] = 1.0;
  for (double m = std::floor(std::min(w0, w1)) - 1; m <= std::ceil(std::max(w0, w1)) + 1; ++m) {
    const double theta = m / kDegreesPerRadian + turn_;
    if (!(theta > low_theta && theta < high_theta)) continue;
    if (count == kMostIntervals) return;  // cannot happen for a half turn; the plain path then
    bounds[count++] = std::cos(theta);
  }
  std::sort(bounds, bounds + count);
  side.count = 0;
  for (size_t b = 0; b + 1 < count; ++b) {
    const double low = bounds[b] + kGuard, high = bounds[b + 1] - kGuard;
    if (!(low < high)) continue;
    const int32_t at_low = PolarAngleTruncated(bounds[b] + kGuard / 2, below, turn_);
    const int32_t at_high = PolarAngleTruncated(bounds[b + 1] - kGuard / 2, below, turn_);
    side.intervals[side.count++] = {low, high, at_low == at_high ? WrapDegrees(at_low) : -1};
  }
  side.intervals[side.count++] = {2.0, 2.0, -1};  // above every ratio: the scan always stops
  size_t j = 0;
  for (int c = 0; c < kCells; ++c) {
    // The lowest ratio that can land in cell c, with room for the rounding of the cell index.
    const double lowest = double(c) / kCellsPerUnit - 1.0 - 1.0e-9;
    while (side.intervals[j].high < lowest) ++j;
    side.first[c] = uint8_t(j);
  }
  side.usable = true;
}

}  // namespace ombrix::pic
