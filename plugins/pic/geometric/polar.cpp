// Polar Coordinates (the zone unrolled around a centre: angle across, radius down) and Reverse
// Polar (the zone's rows wrapped around a centre as circles).
#include <cmath>

#include "plugins/pic/geometric/polar_angle.h"
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// Both filters have the same slots.
enum Slot : int32_t { kXCenter = 2, kYCenter = 3, kRotateAngle = 5, kClearColour = 7 };
enum Option : int32_t { kDrawEdges = 1, kKeepBackground = 2, kClearBackground = 3, kRepeat = 4 };

Background PolarBackground(const ApplyContext& context) {
  switch (FirstSetOption(context, {kDrawEdges, kKeepBackground, kClearBackground, kRepeat})) {
    case kKeepBackground:
      return Background::kKeep;
    case kClearBackground:
      return Background::kClear;
    case kRepeat:
      return Background::kRepeat;
    default:
      return Background::kDrawEdges;
  }
}

int32_t ApplyPolarCoordinates(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  const int32_t cx = TruncateToInt(ParameterValue(context, kXCenter));
  const int32_t cy = TruncateToInt(ParameterValue(context, kYCenter));
  const double turn = double(ParameterValue(context, kRotateAngle)) * kRadiansPerDegree;
  const Background mode = PolarBackground(context);
  const Bgr clear = ColourParameter(context, kClearColour);
  // Draw Edges brings outside points back to half the zone's longer side (halves of the
  // corners in integer division).
  const float fixed_radius = zone.y1 / 2 - zone.y0 / 2 < zone.x1 / 2 - zone.x0 / 2 ? float(zone.x1 * 0.5 - zone.x0 / 2)
                                                                                   : float(zone.y1 * 0.5 - zone.y0 / 2);
  const Picture& input = *pictures.input;
  const int32_t w = input.Width(), h = input.Height();
  // The source column depends on the angle step n only: one table of the 360 columns, each
  // computed in extended precision as the formula has it, and whether it lies inside the picture.
  float column_of[360];
  bool column_inside[360];
  for (int32_t n = 0; n < 360; ++n) {
    column_of[n] = float(zone.x0 + static_cast<long double>(zone.Width()) * n * 0.0027777778);
    column_inside[n] = !(column_of[n] < 0 || column_of[n] >= w);
  }
  // The angle step of each pixel from a table of where it changes (see PolarAngleSteps).
  const PolarAngleSteps steps(turn);
  // A row is worked in two passes: first every pixel's radius and angle step, then the samples,
  // so that the square roots and divisions of one pass and the memory reads of the other overlap
  // from pixel to pixel instead of waiting on each other.
  const size_t columns = size_t(zone.Width() > 0 ? zone.Width() : 0);
  auto radius_of = Scratch<float>(columns);
  auto step_of = Scratch<int32_t>(columns);
  const BilinearSampler bilinear(input);
  const Zone area = zone;
  return WalkRows(area, [&](int32_t y, uint8_t* p) {
    const BilinearSampler sampler = bilinear;
    float* const v_of = radius_of.get();
    int32_t* const n_of = step_of.get();
    const double dy = double(cy) - y;
    const bool below = dy < 0;
    size_t interval = PolarAngleSteps::kFromCell;
    for (size_t i = 0; i < columns; ++i) {
      const double dx = double(area.x0 + int32_t(i)) - cx;
      const double r = std::sqrt(dx * dx + dy * dy);
      double ratio = dx / r;
      if (std::isnan(ratio)) ratio = -1;  // the centre itself
      n_of[i] = steps.Step(ratio, below, interval);
      v_of[i] = float(r);
    }
    const uint8_t* const clear_colour = clear.c;
    if (mode == Background::kDrawEdges) {
      const float v_limit = float(h), radius = fixed_radius;
      const uint8_t* previous = p;
      for (size_t i = 0; i < columns; ++i, p += 3) {
        const int32_t n = n_of[i];
        float v = v_of[i];
        if (!column_inside[n] || v < 0 || v >= v_limit) v = radius;
        uint8_t s[3];
        sampler.Sample(column_of[n], v, previous, s);
        CopyPixel(p, s);
        previous = p;
      }
    } else if (mode == Background::kRepeat) {
      for (size_t i = 0; i < columns; ++i, p += 3) SampleWrapped(input, column_of[n_of[i]], v_of[i], p);
    } else {
      const bool keep = mode == Background::kKeep;
      for (size_t i = 0; i < columns; ++i, p += 3) {
        uint8_t s[3];
        sampler.Sample(column_of[n_of[i]], v_of[i], keep ? p : clear_colour, s);
        CopyPixel(p, s);
      }
    }
  });
}

const ParameterRow kPolarParameters[] = {
    {kXCenter, "X Center", "320", "0", kKindHorizontal},
    {kYCenter, "Y Center", "240", "0", kKindVertical},
    {kRotateAngle, "Rotate Angle", "-90", "0", kKindReal},
    {kClearColour, "Clear Color", "0 0 0", "0 0 0", kKindColour},
};
const OptionRow kPolarOptions[] = {
    {kDrawEdges, "Draw Edges", 1, 1},
    {kKeepBackground, "Keep Background", 0, 1},
    {kClearBackground, "Clear Background", 0, 1},
    {kRepeat, "Repeat", 0, 1},
};

int32_t ApplyReversePolar(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  const int32_t cx = TruncateToInt(ParameterValue(context, kXCenter));
  const int32_t cy = TruncateToInt(ParameterValue(context, kYCenter));
  const float turn = ParameterValue(context, kRotateAngle);
  const Background mode = PolarBackground(context);
  const Bgr clear = ColourParameter(context, kClearColour);
  if (zone.Width() < 1) return 1;
  // Per column the angle and its sine and cosine; for Draw Edges the last row sampled.
  auto cosine = Scratch<double>(size_t(zone.Width()));
  auto sine = Scratch<double>(size_t(zone.Width()));
  auto last_row = Scratch<int32_t>(size_t(zone.Width()));
  for (int32_t i = 0; i < zone.Width(); ++i) {
    // The column's share of the full turn is taken in floating point.
    const int32_t n = WrapDegrees(TruncateToInt(static_cast<long double>(i) * 360 / zone.Width() - turn));
    cosine[i] = std::cos(n * kRadiansPerDegree);
    sine[i] = std::sin(n * kRadiansPerDegree);
    last_row[i] = zone.y1;
  }
  const Picture& input = *pictures.input;
  const BilinearSampler sampler(input);
  const double* const cos_of = cosine.get();
  const double* const sin_of = sine.get();
  int32_t* const noted_row = last_row.get();
  const int32_t columns = zone.Width();
  const double w = input.Width(), h = input.Height();
  StartProgress(zone.y0, zone.y1);
  for (int32_t y = zone.y0; y < zone.y1; ++y) {
    if (!Continue(y)) return 0;
    const double r = double(y) - zone.y0;
    uint8_t* p = PixelAt(pictures.out, zone.x0, y);
    const uint8_t* own = PixelAt(pictures.in, zone.x0, y);
    if (mode == Background::kDrawEdges) {
      for (int32_t i = 0; i < columns; ++i, p += 3) {
        const double u = cx + r * cos_of[i], v = cy + r * sin_of[i];
        if (!(u >= 0 && v >= 0 && u < w && v < h)) continue;
        uint8_t s[3];
        sampler.Sample(float(u), float(v), p, s);
        CopyPixel(p, s);
        noted_row[i] = y;
      }
    } else if (mode == Background::kRepeat) {
      for (int32_t i = 0; i < columns; ++i, p += 3)
        SampleWrapped(input, float(cx + r * cos_of[i]), float(cy + r * sin_of[i]), p);
    } else {
      const bool keep = mode == Background::kKeep;
      const uint8_t* const clear_colour = clear.c;
      for (int32_t i = 0; i < columns; ++i, p += 3, own += 3) {
        uint8_t s[3];
        sampler.Sample(float(cx + r * cos_of[i]), float(cy + r * sin_of[i]), keep ? own : clear_colour, s);
        CopyPixel(p, s);
      }
    }
  }
  if (mode == Background::kDrawEdges) {
    // The last colour sampled in each column runs down to the bottom of the zone. A column whose
    // noted row is the picture's first has no row before it and stays as sampled.
    for (int32_t i = 0; i < zone.Width(); ++i) {
      const int32_t noted = last_row[i];
      if (noted < 1) continue;
      const uint8_t* from = PixelAt(pictures.out, zone.x0 + i, noted - 1);
      for (int32_t y = noted; y < zone.y1; ++y) CopyPixel(PixelAt(pictures.out, zone.x0 + i, y), from);
    }
  }
  return 1;
}

const ParameterRow kReverseParameters[] = {
    {kXCenter, "X Center", "320", "0", kKindHorizontal},
    {kYCenter, "Y Center", "240", "0", kKindVertical},
    {kRotateAngle, "Rotate Angle", "-90", "0", kKindReal},
    {kClearColour, "Clear Color", "0 0 0", "0 0 0", kKindColour},
};

}  // namespace

const CatalogueRow kPolarCoordinates = {
    "Polar Coordinates", ApplyWithPictures<ApplyPolarCoordinates>, kHelpFile, 21, kPolarParameters, kPolarOptions};
const CatalogueRow kReversePolar = {
    "Reverse Polar", ApplyWithPictures<ApplyReversePolar>, kHelpFile, 23, kReverseParameters, kPolarOptions};

}  // namespace ombrix::pic
