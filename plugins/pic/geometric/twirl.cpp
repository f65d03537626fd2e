// Twirl: turns the pixels about a centre by an angle that falls from the full angle at the
// centre to nothing at the outer radius, fading the effect out between the two radii.
#include <cmath>
#include <cstdlib>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kXCenter = 2, kYCenter = 3, kRadius = 5, kBRadius = 6, kAngle = 8, kClearColour = 10 };
enum Option : int32_t { kClearBackground = 1, kKeepBackground = 2, kRepeat = 3, kBox = 6, kCircle = 7 };

int32_t ApplyTwirl(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  const int32_t cx = TruncateToInt(ParameterValue(context, kXCenter));
  const int32_t cy = TruncateToInt(ParameterValue(context, kYCenter));
  const int64_t r = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kRadius))));
  const int64_t b = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kBRadius))));
  const float angle = ParameterValue(context, kAngle);
  // With an outer radius of 0 only the centre itself would be reached, by an angle of 0 x A/0.
  if (b == 0) return 1;
  const int32_t option = FirstSetOption(context, {kClearBackground, kKeepBackground, kRepeat});
  const Background mode = option == kKeepBackground ? Background::kKeep
                          : option == kRepeat       ? Background::kRepeat
                                                    : Background::kClear;
  const Bgr clear = ColourParameter(context, kClearColour);
  const long double per_distance = static_cast<long double>(angle) / b;
  const Picture& input = *pictures.input;
  return WalkRows(zone, [&](int32_t y, uint8_t* p) {
    const int64_t dy = int64_t(y) - cy;
    for (int32_t x = zone.x0; x < zone.x1; ++x, p += 3) {
      const int64_t dx = int64_t(x) - cx;
      const float d = std::sqrt(float(dx * dx + dy * dy));
      if (d > b) continue;
      const double theta = double((b - static_cast<long double>(d)) * per_distance * kRadiansPerDegree);
      const double c = std::cos(theta), s = std::sin(theta);
      const float u = float(cx + dx * c - dy * s);
      const float v = float(cy + dx * s + dy * c);
      uint8_t sample[3];
      SampleWithBackground(input, u, v, mode, mode == Background::kKeep ? p : clear.data(), sample);
      const long double weight =
          RoundBelow(d) <= r ? 1.0L : (static_cast<long double>(d) - r) / static_cast<long double>(r - b) + 1;
      MixPixel(p, sample, TruncateToInt(weight * 255));
    }
  });
}

const ParameterRow kParameters[] = {
    {kXCenter, "X Center", "320", "0", kKindHorizontal},
    {kYCenter, "Y Center", "240", "0", kKindVertical},
    {kRadius, "Radius", "100", "0", kKindHorizontal},
    {kBRadius, "B-Radius", "200", "0", kKindHorizontal},
    {kAngle, "Angle", "45", "0", kKindReal},
    {kClearColour, "Clear Color", "0 0 0", "0 0 0", kKindColour},
};
// "Box" and "Circle" do not change the result.
const OptionRow kOptions[] = {
    {kClearBackground, "Clear Background", 1, 3},
    {kKeepBackground, "Keep Background", 0, 3},
    {kRepeat, "Repeat", 0, 3},
    {kBox, "Box", 1, 2},
    {kCircle, "Circle", 0, 2},
};

}  // namespace

const CatalogueRow kTwirl = {"Twirl", ApplyWithPictures<ApplyTwirl>, kHelpFile, 30, kParameters, kOptions};

}  // namespace ombrix::pic
