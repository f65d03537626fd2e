// Swap RGB: exchanges two channels of every pixel.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"
#include "plugins/pal/pixel_rows.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

enum Option : int32_t { kRedWithGreen = 1, kRedWithBlue = 2, kGreenWithBlue = 3 };

int32_t ApplySwapRgb(const ApplyContext& context, const Zone zone) {
  // from[ch]: the channel whose value channel ch takes.
  int from[3] = {kBlue, kGreen, kRed};
  switch (FirstSetOption(context, {kRedWithGreen, kRedWithBlue, kGreenWithBlue})) {
    case kRedWithGreen:
      from[kRed] = kGreen, from[kGreen] = kRed;
      break;
    case kRedWithBlue:
      from[kRed] = kBlue, from[kBlue] = kRed;
      break;
    case kGreenWithBlue:
      from[kGreen] = kBlue, from[kBlue] = kGreen;
      break;
    default:
      return 1;  // no option set: nothing to exchange
  }
  const size_t count = size_t(zone.Width() > 0 ? zone.Width() : 0);
  return WalkRows(zone, [&](int32_t, uint8_t* p) { PermuteRow(p, count, from); });
}

const OptionRow kOptions[] = {
    {kRedWithGreen, "Swap Red with Green", 1, 1},
    {kRedWithBlue, "Swap Red with Blue ", 0, 1},
    {kGreenWithBlue, "Swap Green with Blue", 0, 1},
};

}  // namespace

const CatalogueRow kSwapRgb = {"Swap RGB", ApplyInZone<ApplySwapRgb>, kHelpFile, 15, {}, kOptions};

}  // namespace ombrix::pal
