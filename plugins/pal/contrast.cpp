// Contrast: pushes every channel away from the middle grey in proportion to the pixel's mean.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

int32_t ApplyContrast(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const long double k = ParameterValue(*context, 2) * 0.0078125L;  // Coefficient / 128, exact
  // c + round(c * d * k) with d = mean - 128: c * d is an integer product, the rest extended.
  auto adjust = [k](int32_t c, int32_t d) { return Clamp(c + int64_t(RoundBelow((c * d) * k))); };
  return ForEachWorkPixel(*zone, [&](uint8_t* p) {
    const int32_t d = Mean(p) - 128;
    p[0] = adjust(p[0], d);
    p[1] = adjust(p[1], d);
    p[2] = adjust(p[2], d);
  });
}

const ParameterRow kParameters[] = {
    {2, "Coefficient", "2", "0.0", kKindReal},
};

}  // namespace

const CatalogueRow kContrast = {"Contrast", ApplyContrast, kHelpFile, 3, kParameters, {}};

}  // namespace ombrix::pal
