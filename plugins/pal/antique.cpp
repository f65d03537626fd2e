// Antique: replaces every pixel by a tone of one hue whose strength follows the channel sum.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"
#include "plugins/pal/pixel_rows.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

int32_t ApplyAntique(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const int32_t basis = FirstSetOption(*context, {6, 7, 8});
  // Hosts always send one set option; with none there is no hue to choose, so nothing changes.
  if (basis == 0) return 1;
  const float index = ParameterValue(*context, 2);
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
      case 6:
        red = v, green = smaller, blue = largest;
        break;
      case 7:
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
  const size_t count = size_t(zone->Width() > 0 ? zone->Width() : 0);
  return WalkRows(*zone, [&](int32_t, uint8_t* p) { ColourByIndexRow(p, count, ColourIndex::kSum, tone); });
}

const ParameterRow kParameters[] = {
    {2, "Index", "1.4", "0.0", kKindReal},
};
const OptionRow kOptions[] = {
    {6, "Based on Red", 0, 1},
    {7, "Based on Green", 1, 1},
    {8, "Based on Blue", 0, 1},
};

}  // namespace

const CatalogueRow kAntique = {"Antique", ApplyAntique, kHelpFile, 0, kParameters, kOptions};

}  // namespace ombrix::pal
