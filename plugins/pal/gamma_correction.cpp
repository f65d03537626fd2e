// Gamma Correction: scales each channel by its own percentage (a linear scale, not a power
// curve).
#include "core/kit/channel_maps.h"
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kRedIncrement = 1, kGreenIncrement = 2, kBlueIncrement = 3 };

// f = 1 + 0.01 * percent, computed in extended precision and stored in single precision; the
// constant is the double nearest to 0.01. (Computing it all in float would turn 60 % into
// 1.5999999 and 100 into 159.)
float FactorOf(float percent) { return static_cast<float>(1.0L + static_cast<long double>(0.01) * percent); }

int32_t ApplyGammaCorrection(const ApplyContext& context, const Zone zone) {
  uint8_t table[3][256];
  const int32_t parameter_of_channel[3] = {kBlueIncrement, kGreenIncrement, kRedIncrement};
  for (int ch = 0; ch < 3; ++ch) {
    const long double f = FactorOf(ParameterValue(context, parameter_of_channel[ch]));
    for (int32_t c = 0; c < 256; ++c) table[ch][c] = Clamp(TruncateToInt(c * f));
  }
  const ChannelMaps maps(table);
  const size_t bytes = 3 * size_t(zone.Width() > 0 ? zone.Width() : 0);
  return WalkRows(zone, [&](int32_t, uint8_t* p) { maps.Row(p, bytes); });
}

const ParameterRow kParameters[] = {
    {kRedIncrement, "Red increment", "10 %", "0 %", kKindSignedPercentage},
    {kGreenIncrement, "Green increment", "10 %", "0 %", kKindSignedPercentage},
    {kBlueIncrement, "Blue increment", "10 %", "0 %", kKindSignedPercentage},
};

}  // namespace

const CatalogueRow kGammaCorrection = {
    "Gamma Correction", ApplyInZone<ApplyGammaCorrection>, kHelpFile, 5, kParameters, {}};

}  // namespace ombrix::pal
