// Overexposure: adds the pixel's mean divided by the intensity to every channel.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

int32_t ApplyOverexposure(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const float intensity = ParameterValue(*context, 2);
  // The addend a = mean / Intensity depends on the mean only. Intensity 0 (of either sign) would
  // divide by zero: a pixel whose mean is 0 then keeps its values (a = 0) and every other pixel
  // becomes white, the limit of an ever smaller intensity.
  long double addend[256];
  addend[0] = 0;
  for (int32_t mean = 1; mean < 256; ++mean)
    addend[mean] = intensity == 0 ? 1e30L : mean / static_cast<long double>(intensity);
  return ForEachWorkPixel(*zone, [&](uint8_t* p) {
    const long double a = addend[Mean(p)];
    p[0] = Clamp(RoundBelow(p[0] + a));
    p[1] = Clamp(RoundBelow(p[1] + a));
    p[2] = Clamp(RoundBelow(p[2] + a));
  });
}

const ParameterRow kParameters[] = {
    {2, "Intensity", "2", "0.0", kKindPositiveReal},
};

}  // namespace

const CatalogueRow kOverexposure = {"Overexposure", ApplyOverexposure, kHelpFile, 11, kParameters, {}};

}  // namespace ombrix::pal
