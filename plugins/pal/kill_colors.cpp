// Kill Colors: sets one channel of every pixel to a fixed value.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kKillValue = 2 };
enum Option : int32_t { kKillRed = 1, kKillGreen = 2, kKillBlue = 3 };

int32_t ApplyKillColors(const ApplyContext& context, const Zone zone) {
  int channel = 0;
  switch (FirstSetOption(context, {kKillRed, kKillGreen, kKillBlue})) {
    case kKillRed:
      channel = kRed;
      break;
    case kKillGreen:
      channel = kGreen;
      break;
    case kKillBlue:
      channel = kBlue;
      break;
    default:
      return 1;  // no option set: no channel to kill
  }
  const uint8_t value = WrapToByte(ParameterValue(context, kKillValue));  // truncated, stored as a byte
  return ForEachWorkPixel(zone, [channel, value](uint8_t* p) { p[channel] = value; });
}

const ParameterRow kParameters[] = {
    {kKillValue, "Kill Value", "0", "0", kKindByteRange},
};
const OptionRow kOptions[] = {
    {kKillRed, "Kill Red", 1, 1},
    {kKillGreen, "Kill Green", 0, 1},
    {kKillBlue, "Kill Blue", 0, 1},
};

}  // namespace

const CatalogueRow kKillColors = {"Kill Colors", ApplyInZone<ApplyKillColors>, kHelpFile, 7, kParameters, kOptions};

}  // namespace ombrix::pal
