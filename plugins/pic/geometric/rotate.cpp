// Rotate: turns the zone, or only the inside of an ellipse, about a centre.
#include <cmath>
#include <cstdlib>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

int32_t ApplyRotate(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const int32_t cx = TruncateToInt(ParameterValue(*context, 1));
  const int32_t cy = TruncateToInt(ParameterValue(*context, 2));
  const int32_t angle = TruncateToInt(ParameterValue(*context, 4)) % 360;
  // The quarter turns take exact values so that they move pixels without blur; every other
  // angle (negative quarter turns included) goes through the single-precision factor, with
  // sine and cosine in double precision.
  double cosine = 0, sine = 0;
  switch (angle) {
    case 0: cosine = 1, sine = 0; break;
    case 90: cosine = 0, sine = 1; break;
    case 180: cosine = -1, sine = 0; break;
    case 270: cosine = 0, sine = -1; break;
    default: {
      const float radians = float(angle) * kRadiansPerDegreeSingle;
      cosine = std::cos(double(radians));
      sine = std::sin(double(radians));
    }
  }
  const int32_t mode_option = FirstSetOption(*context, {2, 3, 4});
  const Background mode = mode_option == 3 ? Background::kKeep : mode_option == 4 ? Background::kRepeat
                                                                                    : Background::kClear;
  const Bgr clear = ColourParameter(*context, 5);
  const bool ellipse = FirstSetOption(*context, {7, 8}) == 8;
  SpanMask mask;
  if (ellipse) {
    if (!mask.Reset(pictures->height)) return 0;
    mask.AddEllipse(TruncateToInt(ParameterValue(*context, 7)), TruncateToInt(ParameterValue(*context, 8)),
                    std::abs(TruncateToInt(ParameterValue(*context, 9))),
                    std::abs(TruncateToInt(ParameterValue(*context, 10))));
  }
  const Picture& input = *pictures->input;
  return WalkRows(*zone, [&](int32_t y, uint8_t* p) {
    const double dy = double(y) - cy;
    for (int32_t x = zone->x0; x < zone->x1; ++x, p += 3) {
      const double dx = double(x) - cx;
      const double u = cx + dx * cosine - dy * sine;
      const double v = cy + dx * sine + dy * cosine;
      const uint8_t* outside = mode == Background::kKeep ? p : clear.data();
      uint8_t s[3];
      if (!ellipse) {
        SampleWithBackground(input, float(u), float(v), mode, outside, s);
        CopyPixel(p, s);
      } else if (mask.Inside(TruncateToInt(u), TruncateToInt(v))) {
        // Inside the ellipse the sample is never wrapped.
        SampleBilinear(input, float(u), float(v), outside, s);
        CopyPixel(p, s);
      } else if (mode == Background::kClear && mode_option == 2 && mask.Inside(x, y)) {
        CopyPixel(p, clear.data());
      }
    }
  });
}

const ParameterRow kParameters[] = {
    {1, "X Center", "320", "0", kKindHorizontal},
    {2, "Y Center", "240", "0", kKindVertical},
    {4, "Angle (degree)", "45", "0", kKindReal},
    {5, "Clear Color", "0 0 0", "0 0 0", kKindColour},
    {7, "Ellipse X Center", "100", "0", kKindHorizontal},
    {8, "Ellipse Y Center", "100", "0", kKindVertical},
    {9, "Ellipse Radius 1", "100", "0", kKindHorizontal},
    {10, "Ellipse Radius 2", "100", "0", kKindVertical},
};
const OptionRow kOptions[] = {
    {2, "Clear Background", 1, 2}, {3, "Keep Background", 0, 2}, {4, "Repeat", 0, 2},
    {7, "Turn Box", 1, 4},         {8, "Turn Ellipse", 0, 4},
};

}  // namespace

const CatalogueRow kRotate = {"Rotate", ApplyRotate, kHelpFile, 25, kParameters, kOptions};

}  // namespace ombrix::pic
