// Gray Scale: maps a per-pixel index (the mean or one channel) onto a ramp between two colours.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"
#include "plugins/pal/pixel_rows.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

// Entry i of the ramp, per channel: entry + truncate((exit - entry) / 256 * i). The ramp divides
// by 256, not 255, so the last entry stops one step short of the exit colour (0 to 255 ends at
// 254). Both the quotient and the product are exact in floating point.
uint8_t RampChannel(int32_t entry, int32_t exit, int32_t i) {
  const long double step = static_cast<long double>(exit - entry) / 256;
  return uint8_t(entry + TruncateToInt(step * i));
}

int32_t ApplyGrayScale(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const int32_t basis = FirstSetOption(*context, {1, 2, 3, 4});
  // Hosts always send one set option; with none there is no index to map, so nothing changes.
  if (basis == 0) return 1;
  const auto entry = ReadColour(*context, 5);
  const auto exit = ReadColour(*context, 6);
  if (!entry || !exit) return 1;
  uint32_t ramp[256];
  for (int32_t i = 0; i < 256; ++i)
    ramp[i] = PackColour(RampChannel(entry->blue, exit->blue, i), RampChannel(entry->green, exit->green, i),
                         RampChannel(entry->red, exit->red, i));
  const ColourIndex index = basis == 1   ? ColourIndex::kMean
                            : basis == 2 ? ColourIndex::kRed
                            : basis == 3 ? ColourIndex::kGreen
                                         : ColourIndex::kBlue;
  const size_t count = size_t(zone->Width() > 0 ? zone->Width() : 0);
  return WalkRows(*zone, [&](int32_t, uint8_t* p) { ColourByIndexRow(p, count, index, ramp); });
}

const ParameterRow kParameters[] = {
    {5, "Entry Color", "0 0 0", "0 0 0", kKindColour},
    {6, "Exit Color", "255 255 255", "0 0 0", kKindColour},
};
const OptionRow kOptions[] = {
    {1, "Based on RGB", 1, 1},
    {2, "Based on Red", 0, 1},
    {3, "Based on Green", 0, 1},
    {4, "Based on Blue", 0, 1},
};

}  // namespace

const CatalogueRow kGrayScale = {"Gray Scale", ApplyGrayScale, kHelpFile, 6, kParameters, kOptions};

}  // namespace ombrix::pal
