// Vertical Flip and Horizontal Flip: rows or columns of the zone exchanged about its middle,
// every one or every n-th.
#include <algorithm>
#include <cstdlib>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

int32_t ApplyVerticalFlip(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const int64_t step = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 3))));
  if (step == 0) return 1;
  const int32_t n = zone->Height() / 2;
  const size_t bytes = 3 * size_t(zone->Width());
  StartProgress(0, n);
  for (int64_t i = 0; i < n; i += step) {
    if (i % 10 == 0 && !Continue(int32_t(i))) return 0;
    uint8_t* a = PixelAt(pictures->out, zone->x0, zone->y0 + i);
    uint8_t* b = PixelAt(pictures->out, zone->x0, zone->y1 - 1 - i);
    std::swap_ranges(a, a + bytes, b);
  }
  return 1;
}

const ParameterRow kVerticalParameters[] = {{3, "Y Step", "1", "0", kKindPositiveInteger}};

int32_t ApplyHorizontalFlip(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const int64_t step_x = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 2))));
  const int64_t step_y = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 3))));
  if (step_x == 0 || step_y == 0) return 1;
  const int32_t n = zone->Width() / 2;
  StartProgress(0, n);
  for (int64_t i = 0; i < n; i += step_x) {
    if (i % 10 == 0 && !Continue(int32_t(i))) return 0;
    for (int64_t y = zone->y0; y < zone->y1; y += step_y)
      SwapPixels(PixelAt(pictures->out, zone->x0 + i, y), PixelAt(pictures->out, zone->x1 - 1 - i, y));
  }
  return 1;
}

const ParameterRow kHorizontalParameters[] = {
    {2, "X Step", "1", "0", kKindPositiveInteger},
    {3, "Y Step", "1", "0", kKindPositiveInteger},
};

}  // namespace

const CatalogueRow kVerticalFlip = {"Vertical Flip", ApplyVerticalFlip, kHelpFile, 31, kVerticalParameters, {}};
const CatalogueRow kHorizontalFlip = {"Horizontal Flip", ApplyHorizontalFlip, kHelpFile, 11, kHorizontalParameters,
                                      {}};

}  // namespace ombrix::pic
