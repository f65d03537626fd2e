// Shift RGB: rotates the three channels of every pixel by one or two places.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"
#include "plugins/pal/pixel_rows.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kShiftValue = 2 };

int32_t ApplyShiftRgb(const ApplyContext& context, const Zone zone) {
  // The remainder takes the sign of the dividend: -1 and -2 walk the rows (and report progress)
  // without changing a pixel; 0 returns before any progress is reported.
  const int32_t n = TruncateToInt(ParameterValue(context, kShiftValue)) % 3;
  if (n == 0) return 1;
  if (n < 0) return WalkRows(zone, [](int32_t, uint8_t*) {});
  // n = 1: blue takes green, green takes red, red takes blue; n = 2 the other way round.
  int from[3] = {kGreen, kRed, kBlue};
  if (n == 2) from[kBlue] = kRed, from[kGreen] = kBlue, from[kRed] = kGreen;
  const size_t count = size_t(zone.Width() > 0 ? zone.Width() : 0);
  return WalkRows(zone, [&](int32_t, uint8_t* p) { PermuteRow(p, count, from); });
}

const ParameterRow kParameters[] = {
    {kShiftValue, "Shift Value", "1", "0", kKindInteger},
};

}  // namespace

const CatalogueRow kShiftRgb = {"Shift RGB", ApplyInZone<ApplyShiftRgb>, kHelpFile, 14, kParameters, {}};

}  // namespace ombrix::pal
