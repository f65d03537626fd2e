// Overexposure: adds the pixel's mean divided by the intensity to every channel.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"
#include "plugins/pal/pixel_rows.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kIntensity = 2 };

int32_t ApplyOverexposure(const ApplyContext& context, const Zone zone) {
  const float intensity = ParameterValue(context, kIntensity);
  // Each channel becomes clamp(round(c + a)) with a = mean / Intensity. Intensity 0 (of either
  // sign) would divide by zero: a pixel whose mean is 0 then keeps its values (a = 0) and every
  // other pixel becomes white, the limit of an ever smaller intensity.
  static MeanTableCache cache;
  cache.Prepare(intensity, [intensity](MeanChannelTable& table) {
    long double a[256];
    a[0] = 0;
    for (int32_t mean = 1; mean < 256; ++mean)
      a[mean] = intensity == 0 ? 1e30L : mean / static_cast<long double>(intensity);
    table.Fill([&a](int32_t mean, int32_t c) { return Clamp(RoundBelow(c + a[mean])); });
    // The rounded offsets where they give the table, else the single-precision sums.
    if (Checked({MeanRule::kAddRoundedMean, intensity}, table).rule != MeanRule::kNone)
      return MeanArithmetic{MeanRule::kAddRoundedMean, intensity};
    return MeanArithmetic{MeanRule::kAddMean, intensity};
  });
  const MeanChannelTable& table = cache.table();
  const MeanArithmetic arithmetic = cache.arithmetic();
  const size_t count = size_t(zone.Width() > 0 ? zone.Width() : 0);
  return WalkRows(zone, [&](int32_t, uint8_t* p) { MeanTableRow(p, count, table, arithmetic); });
}

const ParameterRow kParameters[] = {
    {kIntensity, "Intensity", "2", "0.0", kKindPositiveReal},
};

}  // namespace

const CatalogueRow kOverexposure = {"Overexposure", ApplyInZone<ApplyOverexposure>, kHelpFile, 11, kParameters, {}};

}  // namespace ombrix::pal
