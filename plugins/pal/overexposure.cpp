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
  // Each channel becomes clamp(round(c + a)) with a = mean / Intensity. Intensity 0 (of either
  // sign) would divide by zero: a pixel whose mean is 0 then keeps its values (a = 0) and every
  // other pixel becomes white, the limit of an ever smaller intensity.
  static MeanChannelTable table;
  table.Fill([intensity](int32_t mean, int32_t c) {
    long double a = 0;
    if (mean > 0) a = intensity == 0 ? 1e30L : mean / static_cast<long double>(intensity);
    return Clamp(RoundBelow(c + a));
  });
  return ForEachWorkPixel(*zone, [](uint8_t* p) { table.Apply(p); });
}

const ParameterRow kParameters[] = {
    {2, "Intensity", "2", "0.0", kKindPositiveReal},
};

}  // namespace

const CatalogueRow kOverexposure = {"Overexposure", ApplyOverexposure, kHelpFile, 11, kParameters, {}};

}  // namespace ombrix::pal
