// Twirl: turns the pixels about a centre by an angle that falls from the full angle at the
// centre to nothing at the outer radius, fading the effect out between the two radii.
#include <cmath>
#include <cstdlib>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

int32_t ApplyTwirl(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const int32_t cx = TruncateToInt(ParameterValue(*context, 2));
  const int32_t cy = TruncateToInt(ParameterValue(*context, 3));
  const int64_t r = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 5))));
  const int64_t b = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 6))));
  const float angle = ParameterValue(*context, 8);
  // With an outer radius of 0 only the centre itself would be reached, by an angle of 0 x A/0.
  if (b == 0) return 1;
  const int32_t option = FirstSetOption(*context, {1, 2, 3});
  const Background mode = option == 2 ? Background::kKeep : option == 3 ? Background::kRepeat : Background::kClear;
  const Bgr clear = ColourParameter(*context, 10);
  const long double per_distance = static_cast<long double>(angle) / b;
  const Picture& input = *pictures->input;
  return WalkRows(*zone, [&](int32_t y, uint8_t* p) {
    const int64_t dy = int64_t(y) - cy;
    for (int32_t x = zone->x0; x < zone->x1; ++x, p += 3) {
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
    {2, "X Center", "320", "0", kKindHorizontal}, {3, "Y Center", "240", "0", kKindVertical},
    {5, "Radius", "100", "0", kKindHorizontal},   {6, "B-Radius", "200", "0", kKindHorizontal},
    {8, "Angle", "45", "0", kKindReal},           {10, "Clear Color", "0 0 0", "0 0 0", kKindColour},
};
// "Box" and "Circle" do not change the result.
const OptionRow kOptions[] = {
    {1, "Clear Background", 1, 3}, {2, "Keep Background", 0, 3}, {3, "Repeat", 0, 3}, {6, "Box", 1, 2},
    {7, "Circle", 0, 2},
};

}  // namespace

const CatalogueRow kTwirl = {"Twirl", ApplyTwirl, kHelpFile, 30, kParameters, kOptions};

}  // namespace ombrix::pic
