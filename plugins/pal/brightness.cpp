// Brightness: scales every channel by a factor, truncating, with 255 as the ceiling.
#include "core/kit/channel_maps.h"
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kFactor = 2 };

// The product is taken in extended precision: Factor 1.4 arrives as the float just below 1.4,
// so 100 becomes 139. A negative factor has no meaningful result; its products below 0 are
// stored as 0 rather than as the low bits of a negative number.
uint8_t Brighten(int32_t c, float factor) {
  const long double product = c * static_cast<long double>(factor);
  if (product >= 255) return 255;
  return Clamp(TruncateToInt(product));
}

int32_t ApplyBrightness(const ApplyContext& context, const Zone zone) {
  const float factor = ParameterValue(context, kFactor);
  uint8_t table[3][256];
  for (int32_t c = 0; c < 256; ++c) table[0][c] = table[1][c] = table[2][c] = Brighten(c, factor);
  const ChannelMaps maps(table);
  const size_t bytes = 3 * size_t(zone.Width() > 0 ? zone.Width() : 0);
  return WalkRows(zone, [&](int32_t, uint8_t* p) { maps.Row(p, bytes); });
}

const ParameterRow kParameters[] = {
    {kFactor, "Factor", "1.4", "0.0", kKindPositiveReal},
};

}  // namespace

const CatalogueRow kBrightness = {"Brightness", ApplyInZone<ApplyBrightness>, kHelpFile, 2, kParameters, {}};

}  // namespace ombrix::pal
