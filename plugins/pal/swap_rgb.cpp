// Swap RGB: exchanges two channels of every pixel.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"
#include "plugins/pal/pixel_rows.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

int32_t ApplySwapRgb(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  // from[ch]: the channel whose value channel ch takes.
  int from[3] = {kBlue, kGreen, kRed};
  switch (FirstSetOption(*context, {1, 2, 3})) {
    case 1:
      from[kRed] = kGreen, from[kGreen] = kRed;
      break;
    case 2:
      from[kRed] = kBlue, from[kBlue] = kRed;
      break;
    case 3:
      from[kGreen] = kBlue, from[kBlue] = kGreen;
      break;
    default:
      return 1;  // no option set: nothing to exchange
  }
  const size_t count = size_t(zone->Width() > 0 ? zone->Width() : 0);
  return WalkRows(*zone, [&](int32_t, uint8_t* p) { PermuteRow(p, count, from); });
}

const OptionRow kOptions[] = {
    {1, "Swap Red with Green", 1, 1},
    {2, "Swap Red with Blue ", 0, 1},
    {3, "Swap Green with Blue", 0, 1},
};

}  // namespace

const CatalogueRow kSwapRgb = {"Swap RGB", ApplySwapRgb, kHelpFile, 15, {}, kOptions};

}  // namespace ombrix::pal
