// Rotate: turns the zone, or only the inside of an ellipse, about a centre.
#include <cmath>
#include <cstdlib>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t {
  kXCenter = 1,
  kYCenter = 2,
  kAngle = 4,
  kClearColour = 5,
  kEllipseXCenter = 7,
  kEllipseYCenter = 8,
  kEllipseRadius1 = 9,
  kEllipseRadius2 = 10
};
enum Option : int32_t { kClearBackground = 2, kKeepBackground = 3, kRepeat = 4, kTurnBox = 7, kTurnEllipse = 8 };

int32_t ApplyRotate(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  const int32_t cx = TruncateToInt(ParameterValue(context, kXCenter));
  const int32_t cy = TruncateToInt(ParameterValue(context, kYCenter));
  const int32_t angle = TruncateToInt(ParameterValue(context, kAngle)) % 360;
  // The quarter turns take exact values so that they move pixels without blur; every other
  // angle (negative quarter turns included) goes through the single-precision factor, with
  // sine and cosine in double precision.
  double cosine = 0, sine = 0;
  switch (angle) {
    case 0:
      cosine = 1, sine = 0;
      break;
    case 90:
      cosine = 0, sine = 1;
      break;
    case 180:
      cosine = -1, sine = 0;
      break;
    case 270:
      cosine = 0, sine = -1;
      break;
    default: {
      const float radians = float(angle) * kRadiansPerDegreeSingle;
      cosine = std::cos(double(radians));
      sine = std::sin(double(radians));
    }
  }
  const int32_t mode_option = FirstSetOption(context, {kClearBackground, kKeepBackground, kRepeat});
  const Background mode = mode_option == kKeepBackground ? Background::kKeep
                          : mode_option == kRepeat       ? Background::kRepeat
                                                         : Background::kClear;
  const Bgr clear = ColourParameter(context, kClearColour);
  const bool ellipse = FirstSetOption(context, {kTurnBox, kTurnEllipse}) == kTurnEllipse;
  SpanMask mask;
  if (ellipse) {
    if (!mask.Reset(pictures.height)) return 0;
    mask.AddEllipse(TruncateToInt(ParameterValue(context, kEllipseXCenter)),
                    TruncateToInt(ParameterValue(context, kEllipseYCenter)),
                    std::abs(TruncateToInt(ParameterValue(context, kEllipseRadius1))),
                    std::abs(TruncateToInt(ParameterValue(context, kEllipseRadius2))));
  }
  const Picture& input = *pictures.input;
  const BilinearSampler bilinear(input);
  const Zone area = zone;
  return WalkRows(area, [&](int32_t y, uint8_t* p) {
    // Locals for the row: stores into the picture would otherwise reload every captured value.
    const BilinearSampler sampler = bilinear;
    const double cs = cosine, sn = sine;
    const double dy = double(y) - cy;
    // The row's terms of u and v; (cx + dx cos) - dy sin and (cy + dx sin) + dy cos are summed in
    // that order per pixel.
    const double dy_sin = dy * sn, dy_cos = dy * cs;
    const uint8_t* const clear_colour = clear.data();
    if (!ellipse) {
      if (mode == Background::kRepeat) {
        for (int32_t x = area.x0; x < area.x1; ++x, p += 3) {
          const double dx = double(x) - cx;
          SampleWrapped(input, float(cx + dx * cs - dy_sin), float(cy + dx * sn + dy_cos), p);
        }
      } else {
        const bool keep = mode == Background::kKeep;
        for (int32_t x = area.x0; x < area.x1; ++x, p += 3) {
          const double dx = double(x) - cx;
          uint8_t s[3];
          sampler.Sample(float(cx + dx * cs - dy_sin), float(cy + dx * sn + dy_cos), keep ? p : clear_colour, s);
          CopyPixel(p, s);
        }
      }
      return;
    }
    const bool clear_inside = mode == Background::kClear && mode_option == kClearBackground;
    for (int32_t x = area.x0; x < area.x1; ++x, p += 3) {
      const double dx = double(x) - cx;
      const double u = cx + dx * cs - dy_sin;
      const double v = cy + dx * sn + dy_cos;
      if (mask.Inside(TruncateToInt(u), TruncateToInt(v))) {
        // Inside the ellipse the sample is never wrapped.
        uint8_t s[3];
        sampler.Sample(float(u), float(v), mode == Background::kKeep ? p : clear_colour, s);
        CopyPixel(p, s);
      } else if (clear_inside && mask.Inside(x, y)) {
        CopyPixel(p, clear_colour);
      }
    }
  });
}

const ParameterRow kParameters[] = {
    {kXCenter, "X Center", "320", "0", kKindHorizontal},
    {kYCenter, "Y Center", "240", "0", kKindVertical},
    {kAngle, "Angle (degree)", "45", "0", kKindReal},
    {kClearColour, "Clear Color", "0 0 0", "0 0 0", kKindColour},
    {kEllipseXCenter, "Ellipse X Center", "100", "0", kKindHorizontal},
    {kEllipseYCenter, "Ellipse Y Center", "100", "0", kKindVertical},
    {kEllipseRadius1, "Ellipse Radius 1", "100", "0", kKindHorizontal},
    {kEllipseRadius2, "Ellipse Radius 2", "100", "0", kKindVertical},
};
const OptionRow kOptions[] = {
    {kClearBackground, "Clear Background", 1, 2},
    {kKeepBackground, "Keep Background", 0, 2},
    {kRepeat, "Repeat", 0, 2},
    {kTurnBox, "Turn Box", 1, 4},
    {kTurnEllipse, "Turn Ellipse", 0, 4},
};

}  // namespace

const CatalogueRow kRotate = {"Rotate", ApplyWithPictures<ApplyRotate>, kHelpFile, 25, kParameters, kOptions};

}  // namespace ombrix::pic
