// Swap RGB: exchanges two channels of every pixel.
#include <utility>

#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

int32_t ApplySwapRgb(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  int first = 0;
  int second = 0;
  switch (FirstSetOption(*context, {1, 2, 3})) {
    case 1:
      first = kRed, second = kGreen;
      break;
    case 2:
      first = kRed, second = kBlue;
      break;
    case 3:
      first = kGreen, second = kBlue;
      break;
    default:
      return 1;  // no option set: nothing to exchange
  }
  return ForEachWorkPixel(*zone, [first, second](uint8_t* p) { std::swap(p[first], p[second]); });
}

const OptionRow kOptions[] = {
    {1, "Swap Red with Green", 1, 1},
    {2, "Swap Red with Blue ", 0, 1},
    {3, "Swap Green with Blue", 0, 1},
};

}  // namespace

const CatalogueRow kSwapRgb = {"Swap RGB", ApplySwapRgb, kHelpFile, 15, {}, kOptions};

}  // namespace ombrix::pal
