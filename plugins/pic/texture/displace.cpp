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

namespace displace {
enum Slot : int32_t { kDisplaceFactor = 2 };
}  // namespace displace

int32_t ApplyDisplace(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace displace;
  const int64_t m = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kDisplaceFactor))));
  if (m == 0) return 1;
  const int32_t bound = int32_t(std::min<int64_t>(m, INT32_MAX));
  StartProgress(zone.y0, zone.y1);
  for (int64_t y = zone.y0; y < zone.y1 - m; ++y) {
    if (y % 10 == 0 && !Continue(int32_t(y))) return 0;
    for (int64_t x = zone.x0; x < zone.x1 - m; ++x) {
      if (Random() % 2 == 0) continue;
      const int64_t ax = x + Random() % bound;
      const int64_t ay = y + Random() % bound;
      const int64_t bx = x + Random() % bound;
      const int64_t by = y + Random() % bound;
      if (pictures.InsideInput(ax, ay) && pictures.InsideInput(bx, by))
        SwapPixels(PixelAt(pictures.out, ax, ay), PixelAt(pictures.out, bx, by));
    }
  }
  return 1;
}

const ParameterRow kDisplaceParameters[] = {
    {displace::kDisplaceFactor, "Displace Factor", "5", "0", kKindPositiveInteger},
};

namespace displace_mosaic {
enum Slot : int32_t { kPerturbation = 1, kXSize = 3, kYSize = 4 };
}  // namespace displace_mosaic

int32_t ApplyDisplaceMosaic(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace displace_mosaic;
  // The percentage is taken as a count of exchanges per cell: "50 %" gives 50.
  const int32_t swaps = TruncateToInt(ParameterValue(context, kPerturbation));
  const int64_t sx = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kXSize))));
  const int64_t sy = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kYSize))));
  if (swaps < 1 || sx == 0 || sy == 0) return 1;
  const int32_t bx_bound = int32_t(std::min<int64_t>(sx, INT32_MAX));
  const int32_t by_bound = int32_t(std::min<int64_t>(sy, INT32_MAX));
  StartProgress(zone.y0, zone.y1);
  for (int64_t y = zone.y0; y < zone.y1 - sy; y += sy) {
    if (y % 10 == 0 && !Continue(int32_t(y))) return 0;
    for (int64_t x = zone.x0; x < zone.x1 - sx; x += sx)
      for (int32_t i = 0; i < swaps; ++i) {
        const int64_t ax = x + Random() % bx_bound;
        const int64_t ay = y + Random() % by_bound;
        const int64_t bx = x + Random() % bx_bound;
        const int64_t by = y + Random() % by_bound;
        if (pictures.InsideInput(ax, ay) && pictures.InsideInput(bx, by))
          SwapPixels(PixelAt(pictures.out, ax, ay), PixelAt(pictures.out, bx, by));
      }
  }
  return 1;
}

const ParameterRow kDisplaceMosaicParameters[] = {
    {displace_mosaic::kPerturbation, "Perturbation", "50 %", "0 %", kKindPercentage},
    {displace_mosaic::kXSize, "X Size", "7", "0", kKindPositiveInteger},
    {displace_mosaic::kYSize, "Y Size", "7", "0", kKindPositiveInteger},
};

}  // namespace

const CatalogueRow kDisplace = {"Displace", ApplyWithPictures<ApplyDisplace>, kHelpFile, 6, kDisplaceParameters, {}};
const CatalogueRow kDisplaceMosaic = {
    "Displace Mosaic", ApplyWithPictures<ApplyDisplaceMosaic>, kHelpFile, 7, kDisplaceMosaicParameters, {}};

}  // namespace ombrix::pic
