// Displace (pixels exchanged with random neighbours below and to the right) and Displace Mosaic (random exchanges
// inside cells).
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/kit/random.h"
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

int32_t ApplyDisplace(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const int64_t m = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 2))));
  if (m == 0) return 1;
  const int32_t bound = int32_t(std::min<int64_t>(m, INT32_MAX));
  StartProgress(zone->y0, zone->y1);
  for (int64_t y = zone->y0; y < zone->y1 - m; ++y) {
    if (y % 10 == 0 && !Continue(int32_t(y))) return 0;
    for (int64_t x = zone->x0; x < zone->x1 - m; ++x) {
      if (Random() % 2 == 0) continue;
      const int64_t ax = x + Random() % bound;
      const int64_t ay = y + Random() % bound;
      const int64_t bx = x + Random() % bound;
      const int64_t by = y + Random() % bound;
      if (pictures->InsideInput(ax, ay) && pictures->InsideInput(bx, by))
        SwapPixels(PixelAt(pictures->out, ax, ay), PixelAt(pictures->out, bx, by));
    }
  }
  return 1;
}

const ParameterRow kDisplaceParameters[] = {
    {2, "Displace Factor", "5", "0", kKindPositiveInteger},
};

int32_t ApplyDisplaceMosaic(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  // The percentage is taken as a count of exchanges per cell: "50 %" gives 50.
  const int32_t swaps = TruncateToInt(ParameterValue(*context, 1));
  const int64_t sx = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 3))));
  const int64_t sy = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 4))));
  if (swaps < 1 || sx == 0 || sy == 0) return 1;
  const int32_t bx_bound = int32_t(std::min<int64_t>(sx, INT32_MAX));
  const int32_t by_bound = int32_t(std::min<int64_t>(sy, INT32_MAX));
  StartProgress(zone->y0, zone->y1);
  for (int64_t y = zone->y0; y < zone->y1 - sy; y += sy) {
    if (y % 10 == 0 && !Continue(int32_t(y))) return 0;
    for (int64_t x = zone->x0; x < zone->x1 - sx; x += sx)
      for (int32_t i = 0; i < swaps; ++i) {
        const int64_t ax = x + Random() % bx_bound;
        const int64_t ay = y + Random() % by_bound;
        const int64_t bx = x + Random() % bx_bound;
        const int64_t by = y + Random() % by_bound;
        if (pictures->InsideInput(ax, ay) && pictures->InsideInput(bx, by))
          SwapPixels(PixelAt(pictures->out, ax, ay), PixelAt(pictures->out, bx, by));
      }
  }
  return 1;
}

const ParameterRow kDisplaceMosaicParameters[] = {
    {1, "Perturbation", "50 %", "0 %", kKindPercentage},
    {3, "X Size", "7", "0", kKindPositiveInteger},
    {4, "Y Size", "7", "0", kKindPositiveInteger},
};

}  // namespace

const CatalogueRow kDisplace = {"Displace", ApplyDisplace, kHelpFile, 6, kDisplaceParameters, {}};
const CatalogueRow kDisplaceMosaic = {
    "Displace Mosaic", ApplyDisplaceMosaic, kHelpFile, 7, kDisplaceMosaicParameters, {}};

}  // namespace ombrix::pic
