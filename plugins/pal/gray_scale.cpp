// Gray Scale: maps a per-pixel index (the mean or one channel) onto a ramp between two colours.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"
#include "plugins/pal/pixel_rows.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kEntryColour = 5, kExitColour = 6 };
enum Option : int32_t { kBasedOnRgb = 1, kBasedOnRed = 2, kBasedOnGreen = 3, kBasedOnBlue = 4 };

// Entry i of the ramp, per channel: entry + truncate((exit - entry) / 256 * i). The ramp divides
// by 256, not 255, so the last entry stops one step short of the exit colour (0 to 255 ends at
// 254). Both the quotient and the product are exact in floating point.
uint8_t RampChannel(int32_t entry, int32_t exit, int32_t i) {
  const long double step = static_cast<long double>(exit - entry) / 256;
  return uint8_t(entry + TruncateToInt(step * i));
}

int32_t ApplyGrayScale(const ApplyContext& context, const Zone zone) {
  const int32_t basis = FirstSetOption(context, {kBasedOnRgb, kBasedOnRed, kBasedOnGreen, kBasedOnBlue});
  // Hosts always send one set option; with none there is no index to map, so nothing changes.
  if (basis == 0) return 1;
  const auto entry = ReadColour(context, kEntryColour);
  const auto exit = ReadColour(context, kExitColour);
  if (!entry || !exit) return 1;
  uint32_t ramp[256];
  for (int32_t i = 0; i < 256; ++i)
    ramp[i] = PackColour(RampChannel(entry->blue, exit->blue, i), RampChannel(entry->green, exit->green, i),
                         RampChannel(entry->red, exit->red, i));
  const ColourIndex index = basis == kBasedOnRgb     ? ColourIndex::kMean
                            : basis == kBasedOnRed   ? ColourIndex::kRed
                            : basis == kBasedOnGreen ? ColourIndex::kGreen
                                                     : ColourIndex::kBlue;
  const size_t count = size_t(zone.Width() > 0 ? zone.Width() : 0);
  return WalkRows(zone, [&](int32_t, uint8_t* p) { ColourByIndexRow(p, count, index, ramp); });
}

const ParameterRow kParameters[] = {
    {kEntryColour, "Entry Color", "0 0 0", "0 0 0", kKindColour},
    {kExitColour, "Exit Color", "255 255 255", "0 0 0", kKindColour},
};
const OptionRow kOptions[] = {
    {kBasedOnRgb, "Based on RGB", 1, 1},
    {kBasedOnRed, "Based on Red", 0, 1},
    {kBasedOnGreen, "Based on Green", 0, 1},
    {kBasedOnBlue, "Based on Blue", 0, 1},
};

}  // namespace

const CatalogueRow kGrayScale = {"Gray Scale", ApplyInZone<ApplyGrayScale>, kHelpFile, 6, kParameters, kOptions};

}  // namespace ombrix::pal
