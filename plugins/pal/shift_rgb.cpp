// Shift RGB: rotates the three channels of every pixel by one or two places.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

int32_t ApplyShiftRgb(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  // The remainder takes the sign of the dividend: -1 and -2 walk the rows (and report progress)
  // without changing a pixel; 0 returns before any progress is reported.
  const int32_t n = TruncateToInt(ParameterValue(*context, 2)) % 3;
  switch (n) {
    case 0:
      return 1;
    case 1:
      return ForEachWorkPixel(*zone, [](uint8_t* p) {
        const uint8_t blue = p[kBlue];
        p[kBlue] = p[kGreen];
        p[kGreen] = p[kRed];
        p[kRed] = blue;
      });
    case 2:
      return ForEachWorkPixel(*zone, [](uint8_t* p) {
        const uint8_t red = p[kRed];
        p[kRed] = p[kGreen];
        p[kGreen] = p[kBlue];
        p[kBlue] = red;
      });
    default:
      return WalkRows(*zone, [](int32_t, uint8_t*) {});
  }
}

const ParameterRow kParameters[] = {
    {2, "Shift Value", "1", "0", kKindInteger},
};

}  // namespace

const CatalogueRow kShiftRgb = {"Shift RGB", ApplyShiftRgb, kHelpFile, 14, kParameters, {}};

}  // namespace ombrix::pal
