// Replace Color: pixels close to one colour take another, either solid or keeping their
// intensity.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"
#include "plugins/pal/pixel_rows.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t {
  kColourToReplace = 1,
  kNewColour = 3,
  kRedThreshold = 5,
  kGreenThreshold = 6,
  kBlueThreshold = 7
};
enum Option : int32_t { kSolidColour = 6, kKeepIntensity = 7 };

int32_t ApplyReplaceColor(const ApplyContext& context, const Zone zone) {
  const auto old_colour = ReadColour(context, kColourToReplace);
  const auto new_colour = ReadColour(context, kNewColour);
  if (!old_colour || !new_colour) return 1;
  const Replacement replacement = {
      {old_colour->blue, old_colour->green, old_colour->red},
      {TruncateToInt(ParameterValue(context, kBlueThreshold)), TruncateToInt(ParameterValue(context, kGreenThreshold)),
       TruncateToInt(ParameterValue(context, kRedThreshold))},
      {new_colour->blue, new_colour->green, new_colour->red},
      OptionSet(context, kSolidColour),
  };
  const size_t count = size_t(zone.Width() > 0 ? zone.Width() : 0);
  return WalkRows(zone, [&](int32_t, uint8_t* p) { ReplaceRow(p, count, replacement); });
}

const ParameterRow kParameters[] = {
    {kColourToReplace, "Color to Replace", "0 0 0", "0 0 0", kKindColour},
    {kNewColour, "New Color", "0 0 0", "0 0 0", kKindColour},
    {kRedThreshold, "Red Threshold", "0", "0", kKindByteRange},
    {kGreenThreshold, "Green Threshold", "0", "0", kKindByteRange},
    {kBlueThreshold, "Blue threshold", "0", "0", kKindByteRange},
};
const OptionRow kOptions[] = {
    {kSolidColour, "Replace with solid color", 1, 1},
    {kKeepIntensity, "Keep color intensity", 0, 1},
};

}  // namespace

const CatalogueRow kReplaceColor = {"Replace Color", ApplyInZone<ApplyReplaceColor>, kHelpFile, 12, kParameters,
                                    kOptions};

}  // namespace ombrix::pal
