// RGB Calculations: adds a value to each channel or multiplies it, keeping the low 8 bits.
#include "core/kit/channel_maps.h"
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kRedValue = 1, kGreenValue = 2, kBlueValue = 3 };
enum Option : int32_t { kAdd = 2, kMultiply = 3 };

int32_t ApplyRgbCalculations(const ApplyContext& context, const Zone zone) {
  const int32_t operation = FirstSetOption(context, {kAdd, kMultiply});
  if (operation == 0) return 1;
  // Results are not clamped: truncate(-5.5) = -5 is stored as 251, 300 as 44.
  uint8_t table[3][256];
  const int32_t parameter_of_channel[3] = {kBlueValue, kGreenValue, kRedValue};
  for (int ch = 0; ch < 3; ++ch) {
    const long double v = ParameterValue(context, parameter_of_channel[ch]);
    for (int32_t c = 0; c < 256; ++c) table[ch][c] = WrapToByte(operation == kAdd ? c + v : c * v);
  }
  const ChannelMaps maps(table);
  const size_t bytes = 3 * size_t(zone.Width() > 0 ? zone.Width() : 0);
  return WalkRows(zone, [&](int32_t, uint8_t* p) { maps.Row(p, bytes); });
}

const ParameterRow kParameters[] = {
    {kRedValue, "Red Value", "0", "0.0", kKindReal},
    {kGreenValue, "Green Value", "0", "0.0", kKindReal},
    {kBlueValue, "Blue Value", "0", "0.0", kKindReal},
};
const OptionRow kOptions[] = {
    {kAdd, "Add", 1, 1},
    {kMultiply, "Multiply", 0, 1},
};

}  // namespace

const CatalogueRow kRgbCalculations = {
    "RGB Calculations", ApplyInZone<ApplyRgbCalculations>, kHelpFile, 13, kParameters, kOptions};

}  // namespace ombrix::pal
