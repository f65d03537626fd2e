// Contrast: pushes every channel away from the middle grey in proportion to the pixel's mean.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"
#include "plugins/pal/pixel_rows.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kCoefficient = 2 };

int32_t ApplyContrast(const ApplyContext& context, const Zone zone) {
  const float coefficient = ParameterValue(context, kCoefficient);
  static MeanTableCache cache;
  cache.Prepare(coefficient, [coefficient](MeanChannelTable& table) {
    const long double k = coefficient * 0.0078125L;  // Coefficient / 128, exact
    // c + round(c * d * k) with d = mean - 128: c * d is an integer product, the rest extended.
    table.Fill([k](int32_t mean, int32_t c) { return Clamp(c + int64_t(RoundBelow((c * (mean - 128)) * k))); });
    // The single-precision form needs k itself as a float (it is, unless the coefficient is tiny).
    if (static_cast<long double>(static_cast<float>(k)) != k) return MeanArithmetic{};
    // Integer shifts where the factor is a power of two and they give the table.
    if (Checked({MeanRule::kPushFromGreyShifted, float(k)}, table).rule != MeanRule::kNone)
      return MeanArithmetic{MeanRule::kPushFromGreyShifted, float(k)};
    return MeanArithmetic{MeanRule::kPushFromGrey, float(k)};
  });
  const MeanChannelTable& table = cache.table();
  const MeanArithmetic arithmetic = cache.arithmetic();
  const size_t count = size_t(zone.Width() > 0 ? zone.Width() : 0);
  return WalkRows(zone, [&](int32_t, uint8_t* p) { MeanTableRow(p, count, table, arithmetic); });
}

const ParameterRow kParameters[] = {
    {kCoefficient, "Coefficient", "2", "0.0", kKindReal},
};

}  // namespace

const CatalogueRow kContrast = {"Contrast", ApplyInZone<ApplyContrast>, kHelpFile, 3, kParameters, {}};

}  // namespace ombrix::pal
