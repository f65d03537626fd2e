// Spherize: wraps the picture around a turned sphere seen inside a disc, then smooths the disc's
// edge.
#include <cmath>
#include <cstdlib>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

constexpr double kPi = 3.1415926535;
constexpr double kDegreeFactor = 0.017453292519444445;

// v - floor(v) for v below 0 or above 1; values from 0 to 1 (1 included) stay.
double IntoRange(double v) { return v < 0 || v > 1 ? v - std::floor(v) : v; }

struct Turn {
  double cosine, sine;
  explicit Turn(float degrees) : cosine(std::cos(degrees * kDegreeFactor)), sine(std::sin(degrees * kDegreeFactor)) {}
};

enum Slot : int32_t {
  kXCenter = 1,
  kYCenter = 2,
  kRoundFactor = 3,
  kRadius = 4,
  kClearColour = 5,
  kXRotation = 6,
  kYRotation = 7,
  kZRotation = 8,
  kXRep = 9,
  kYRep = 10
};
enum Option : int32_t { kClearBackground = 2, kKeepBackground = 3, kXAxis = 6, kYAxis = 7, kZAxis = 8 };

int32_t ApplySpherize(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  const int32_t cx = TruncateToInt(ParameterValue(context, kXCenter));
  const int32_t cy = TruncateToInt(ParameterValue(context, kYCenter));
  const float round_factor = ParameterValue(context, kRoundFactor);
  const int64_t radius = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kRadius))));
  if (radius == 0) return 1;
  const Bgr clear = ColourParameter(context, kClearColour);
  const Turn about_x(ParameterValue(context, kXRotation)), about_y(ParameterValue(context, kYRotation)),
      about_z(ParameterValue(context, kZRotation));
  const float repeat_x = ParameterValue(context, kXRep), repeat_y = ParameterValue(context, kYRep);
  const int32_t axis_option = FirstSetOption(context, {kXAxis, kYAxis, kZAxis});
  const int axis = axis_option == kXAxis ? 0 : axis_option == kYAxis ? 1 : 2;
  const bool clear_outside = FirstSetOption(context, {kClearBackground, kKeepBackground}) != kKeepBackground;
  const int64_t r2 = radius * radius;
  const Picture& input = *pictures.input;
  const int32_t result = WalkRows(zone, [&](int32_t y, uint8_t* p) {
    const int64_t dy = int64_t(y) - cy;
    for (int32_t x = zone.x0; x < zone.x1; ++x, p += 3) {
      const int64_t dx = int64_t(x) - cx;
      const int64_t d2 = dx * dx + dy * dy;
      if (d2 > r2) {
        if (clear_outside) CopyPixel(p, clear.data());
        continue;
      }
      // The sphere point, turned about x, then y, then z; each coordinate kept in single precision.
      float px = float(dx), py = float(dy), pz = float(-std::sqrt(double(r2 - d2)) * round_factor);
      float ny = float(py * about_x.cosine - pz * about_x.sine);
      float nz = float(py * about_x.sine + pz * about_x.cosine);
      py = ny, pz = nz;
      float nx = float(px * about_y.cosine + pz * about_y.sine);
      nz = float(pz * about_y.cosine - px * about_y.sine);
      px = nx, pz = nz;
      nx = float(px * about_z.cosine - py * about_z.sine);
      ny = float(py * about_z.cosine + px * about_z.sine);
      px = nx, py = ny;
      // Sphere mapping of the point relative to the centre.
      double a, b, c;
      if (axis == 0)
        a = pz, b = px, c = -py;
      else if (axis == 1)
        a = -px, b = py, c = pz;
      else
        a = -px, b = pz, c = -py;
      double longitude, latitude;
      if (c > 0)
        longitude = -std::atan(a / c);
      else if (c < 0)
        longitude = kPi - std::atan(a / c);
      else
        longitude = a > 0 ? -kPi / 2 : a < 0 ? kPi / 2 : 0;
      if (a == 0 && c == 0) {
        latitude = b > 0 ? kPi / 2 : b < 0 ? -kPi / 2 : 0;
      } else {
        const float rr = float(std::sqrt(a * a + c * c));
        latitude = std::atan(b / rr);
      }
      double s = 1 - longitude * 0.15915494309644432;
      double t = 0.5 - latitude * 0.31830988619288864;
      if (repeat_x != 1.0f) s = repeat_x * IntoRange(s);
      if (repeat_y != 1.0f) t = repeat_y * IntoRange(t);
      s = IntoRange(s);
      t = IntoRange(t);
      uint8_t sample[3];
      SampleWrapped(input, float(zone.x0 + zone.Width() * s), float(zone.y1 - zone.Height() * t), sample);
      CopyPixel(p, sample);
    }
  });
  if (result == 0) return 0;
  SmoothDiscEdge(pictures.out, pictures.width, pictures.height, cx, cy, int32_t(radius));
  return 1;
}

const ParameterRow kParameters[] = {
    {kXCenter, "X Center", "320", "0", kKindHorizontal},          {kYCenter, "Y Center", "240", "0", kKindVertical},
    {kRoundFactor, "Round factor", "1", "0.0", kKindReal},        {kRadius, "Radius", "240", "0", kKindHorizontal},
    {kClearColour, "Clear Color", "0 0 0", "0 0 0", kKindColour}, {kXRotation, "X Rotation", "0.0", "0.0", kKindReal},
    {kYRotation, "Y Rotation", "0.0", "0.0", kKindReal},          {kZRotation, "Z Rotation", "0.0", "0.0", kKindReal},
    {kXRep, "X Rep.", "1.0", "0.0", kKindPositiveReal},           {kYRep, "Y Rep.", "1.0", "0.0", kKindPositiveReal},
};
const OptionRow kOptions[] = {
    {kClearBackground, "Clear Background", 1, 1},
    {kKeepBackground, "Keep Background", 0, 1},
    {kXAxis, "X Axis", 0, 2},
    {kYAxis, "Y Axis", 1, 2},
    {kZAxis, "Z Axis", 0, 2},
};

}  // namespace

const CatalogueRow kSpherize = {"Spherize", ApplyWithPictures<ApplySpherize>, kHelpFile, 28, kParameters, kOptions};

}  // namespace ombrix::pic
