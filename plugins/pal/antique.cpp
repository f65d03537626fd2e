// Antique: replaces every pixel by a tone of one hue whose strength follows the channel sum.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"
#include "plugins/pal/pixel_rows.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kIndex = 2 };
enum Option : int32_t { kBasedOnRed = 6, kBasedOnGreen = 7, kBasedOnBlue = 8 };

int32_t ApplyAntique(const ApplyContext& context, const Zone zone) {
  const int32_t basis = FirstSetOption(context, {kBasedOnRed, kBasedOnGreen, kBasedOnBlue});
  // Hosts always send one set option; with none there is no hue to choose, so nothing changes.
  if (basis == 0) return 1;
  const float index = ParameterValue(context, kIndex);
  // tone[S] = (red, green, blue) for the channel sum S, with v = truncate(S / (Index * 3)).
  // Index 0 would divide by zero: a black pixel (S = 0) stays black and every other pixel takes
  // the value of an unbounded v, which is white.
  uint32_t tone[766];
  for (int32_t sum = 0; sum < 766; ++sum) {
    int64_t v = 0;
    if (sum > 0) v = index == 0 ? INT32_MAX : TruncateToInt(sum / (static_cast<long double>(index) * 3));
    const int64_t largest = 4 * v / 3;
    const int64_t smaller = 2 * v / 3;
    int64_t red = 0, green = 0, blue = 0;
    switch (basis) {
      case kBasedOnRed:
        red = v, green = smaller, blue = largest;
        break;
      case kBasedOnGreen:
        red = largest, green = v, blue = smaller;
        break;
      default:
        red = smaller, green = largest, blue = v;
        break;
    }
    // Whichever channel holds the largest share, it is red that goes to 255 when that share
    // exceeds 255; the other channels are then clamped.
    if (largest > 255) red = 255;
    tone[sum] = PackColour(Clamp(blue), Clamp(green), Clamp(red));
  }
  const size_t count = size_t(zone.Width() > 0 ? zone.Width() : 0);
  return WalkRows(zone, [&](int32_t, uint8_t* p) { ColourByIndexRow(p, count, ColourIndex::kSum, tone); });
}

const ParameterRow kParameters[] = {
    {kIndex, "Index", "1.4", "0.0", kKindReal},
};
const OptionRow kOptions[] = {
    {kBasedOnRed, "Based on Red", 0, 1},
    {kBasedOnGreen, "Based on Green", 1, 1},
    {kBasedOnBlue, "Based on Blue", 0, 1},
};

}  // namespace

const CatalogueRow kAntique = {"Antique", ApplyInZone<ApplyAntique>, kHelpFile, 0, kParameters, kOptions};

}  // namespace ombrix::pal
