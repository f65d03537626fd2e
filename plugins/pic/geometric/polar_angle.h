// The angle step of Polar Coordinates: a pixel's direction from the centre as a whole degree
// 0..359, by arccos per pixel or from a table of where the degree changes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ombrix::pic {

// A whole number of degrees brought into 0..359.
inline int32_t WrapDegrees(int32_t n) { return ((n % 360) + 360) % 360; }

// truncate((theta - turn) * 57.297469361769856) with theta = arccos(ratio), negated when the
// pixel lies below the centre; saturating like TruncateToInt, 0 for NaN.
int32_t PolarAngleTruncated(double ratio, bool below, double turn);
// That value brought into 0..359.
int32_t PolarAngleStepPlain(double ratio, bool below, double turn);

// The same steps without an arccos per pixel. The step is a monotone function of the ratio
// (arccos is monotone, and rounding, subtracting the turn, scaling and truncating keep the
// order), so the range -1..1 falls into intervals of constant step, bounded where the scaled
// angle crosses a whole number. A ratio well inside an interval takes the interval's step; one
// within kGuard of a bound, or anything the table does not vouch for, takes the plain path.
// Each interval's step is checked with the plain path at both of its ends, just outside the part
// that the table answers for, so arccos need only be accurate to far better than kGuard / 2
// (any libm's is, by nine orders of magnitude) for the answer to be exact.
class PolarAngleSteps {
 public:
  static constexpr double kGuard = 1.0e-9;

  explicit PolarAngleSteps(double turn);
  // `at` is the interval where the search starts, updated to where it ended: a row's ratios grow
  // from left to right, so passing the same one along a row makes the search a short step
  // forward. Start each row with kFromCell.
  static constexpr size_t kFromCell = SIZE_MAX;
  int32_t Step(double ratio, bool below, size_t& at) const {
    const Side& side = sides_[below ? 1 : 0];
    if (side.usable && ratio >= -1.0 && ratio <= 1.0) {
      size_t j = at;
      if (j >= side.count || ratio < side.intervals[j].low) j = side.first[size_t((ratio + 1.0) * kCellsPerUnit)];
      while (ratio > side.intervals[j].high) ++j;  // the last interval's high is above 1
      at = j;
      const Interval& i = side.intervals[j];
      if (ratio >= i.low && i.step >= 0) return i.step;
    }
    return PolarAngleStepPlain(ratio, below, turn_);
  }
  int32_t Step(double ratio, bool below) const {
    size_t at = kFromCell;
    return Step(ratio, below, at);
  }

 private:
  static constexpr int kCellsPerUnit = 2048;
  static constexpr int kCells = 2 * kCellsPerUnit + 1;  // (ratio + 1) * kCellsPerUnit for ratio = 1
  // A half turn covers 180 whole scaled degrees, so at most 186 intervals and the sentinel.
  static constexpr size_t kMostIntervals = 200;
  struct Interval {
    double low, high;  // the ratios the step is vouched for, both included
    int32_t step;      // -1: ask the plain path
  };
  struct Side {
    bool usable = false;
    size_t count = 0;
    Interval intervals[kMostIntervals];  // ascending, with a sentinel that takes everything above
    uint8_t first[kCells];               // per cell of ratios the first interval whose high reaches it
  };
  void Build(bool below);

  double turn_;
  Side sides_[2];
};

}  // namespace ombrix::pic
