// Replace Color: pixels close to one colour take another, either solid or keeping their
// intensity.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"
#include "plugins/pal/pixel_rows.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

int32_t ApplyReplaceColor(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto old_colour = ReadColour(*context, 1);
  const auto new_colour = ReadColour(*context, 3);
  if (!old_colour || !new_colour) return 1;
  const Replacement replacement = {
      {old_colour->blue, old_colour->green, old_colour->red},
      {TruncateToInt(ParameterValue(*context, 7)),   // blue
       TruncateToInt(ParameterValue(*context, 6)),   // green
       TruncateToInt(ParameterValue(*context, 5))},  // red
      {new_colour->blue, new_colour->green, new_colour->red},
      OptionSet(*context, 6),
  };
  const size_t count = size_t(zone->Width() > 0 ? zone->Width() : 0);
  return WalkRows(*zone, [&](int32_t, uint8_t* p) { ReplaceRow(p, count, replacement); });
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
