// RGB Calculations: adds a value to each channel or multiplies it, keeping the low 8 bits.
#include "core/kit/channel_maps.h"
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

int32_t ApplyRgbCalculations(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const int32_t operation = FirstSetOption(*context, {2, 3});
  if (operation == 0) return 1;
  // Results are not clamped: truncate(-5.5) = -5 is stored as 251, 300 as 44.
  uint8_t table[3][256];
  const int32_t parameter_of_channel[3] = {3, 2, 1};  // blue, green, red
  for (int ch = 0; ch < 3; ++ch) {
    const long double v = ParameterValue(*context, parameter_of_channel[ch]);
    for (int32_t c = 0; c < 256; ++c) table[ch][c] = WrapToByte(operation == 2 ? c + v : c * v);
  }
  const ChannelMaps maps(table);
  const size_t bytes = 3 * size_t(zone->Width() > 0 ? zone->Width() : 0);
  return WalkRows(*zone, [&](int32_t, uint8_t* p) { maps.Row(p, bytes); });
}

const ParameterRow kParameters[] = {
    {1, "Red Value", "0", "0.0", kKindReal},
    {2, "Green Value", "0", "0.0", kKindReal},
    {3, "Blue Value", "0", "0.0", kKindReal},
};
const OptionRow kOptions[] = {
    {2, "Add", 1, 1},
    {3, "Multiply", 0, 1},
};

}  // namespace

const CatalogueRow kRgbCalculations = {"RGB Calculations", ApplyRgbCalculations, kHelpFile, 13, kParameters, kOptions};

}  // namespace ombrix::pal
