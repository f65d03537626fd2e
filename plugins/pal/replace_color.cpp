// Replace Color: pixels close to one colour take another, either solid or keeping their
// intensity.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

int64_t Distance(int32_t a, int32_t b) { return a > b ? a - b : b - a; }

int32_t ApplyReplaceColor(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto old_colour = ReadColour(*context, 1);
  const auto new_colour = ReadColour(*context, 3);
  if (!old_colour || !new_colour) return 1;
  const int32_t match[3] = {old_colour->blue, old_colour->green, old_colour->red};
  const int32_t with[3] = {new_colour->blue, new_colour->green, new_colour->red};
  const int64_t tolerance[3] = {TruncateToInt(ParameterValue(*context, 7)),   // blue
                                TruncateToInt(ParameterValue(*context, 6)),   // green
                                TruncateToInt(ParameterValue(*context, 5))};  // red
  const bool solid = OptionSet(*context, 6);
  const int32_t new_mean = (with[0] + with[1] + with[2]) / 3;
  return ForEachWorkPixel(*zone, [&](uint8_t* p) {
    for (int ch = 0; ch < 3; ++ch)
      if (Distance(p[ch], match[ch]) > tolerance[ch]) return;
    if (solid) {
      for (int ch = 0; ch < 3; ++ch) p[ch] = uint8_t(with[ch]);
      return;
    }
    const int32_t d = new_mean - Mean(p);
    for (int ch = 0; ch < 3; ++ch) p[ch] = Clamp(with[ch] - d);
  });
}

const ParameterRow kParameters[] = {
    {1, "Color to Replace", "0 0 0", "0 0 0", kKindColour}, {3, "New Color", "0 0 0", "0 0 0", kKindColour},
    {5, "Red Threshold", "0", "0", kKindByteRange},         {6, "Green Threshold", "0", "0", kKindByteRange},
    {7, "Blue threshold", "0", "0", kKindByteRange},
};
const OptionRow kOptions[] = {
    {6, "Replace with solid color", 1, 1},
    {7, "Keep color intensity", 0, 1},
};

}  // namespace

const CatalogueRow kReplaceColor = {"Replace Color", ApplyReplaceColor, kHelpFile, 12, kParameters, kOptions};

}  // namespace ombrix::pal
