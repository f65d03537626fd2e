// Kill Colors: sets one channel of every pixel to a fixed value.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

int32_t ApplyKillColors(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  int channel = 0;
  switch (FirstSetOption(*context, {1, 2, 3})) {
    case 1:
      channel = kRed;
      break;
    case 2:
      channel = kGreen;
      break;
    case 3:
      channel = kBlue;
      break;
    default:
      return 1;  // no option set: no channel to kill
  }
  const uint8_t value = WrapToByte(ParameterValue(*context, 2));  // truncated, stored as a byte
  return ForEachWorkPixel(*zone, [channel, value](uint8_t* p) { p[channel] = value; });
}

const ParameterRow kParameters[] = {
    {2, "Kill Value", "0", "0", kKindByteRange},
};
const OptionRow kOptions[] = {
    {1, "Kill Red", 1, 1},
    {2, "Kill Green", 0, 1},
    {3, "Kill Blue", 0, 1},
};

}  // namespace

const CatalogueRow kKillColors = {"Kill Colors", ApplyKillColors, kHelpFile, 7, kParameters, kOptions};

}  // namespace ombrix::pal
