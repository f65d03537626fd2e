// Vertical Flip and Horizontal Flip: rows or columns of the zone exchanged about its middle,
// every one or every n-th.
#include <cstdlib>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"
#include "plugins/pic/pic_kernels.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

namespace vertical_flip {
enum Slot : int32_t { kYStep = 3 };
}  // namespace vertical_flip

int32_t ApplyVerticalFlip(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace vertical_flip;
  const int64_t step = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kYStep))));
  if (step == 0) return 1;
  const int32_t n = zone.Height() / 2;
  const size_t bytes = 3 * size_t(zone.Width());
  StartProgress(0, n);
  for (int64_t i = 0; i < n; i += step) {
    if (i % 10 == 0 && !Continue(int32_t(i))) return 0;
    uint8_t* a = PixelAt(pictures.out, zone.x0, zone.y0 + i);
    uint8_t* b = PixelAt(pictures.out, zone.x0, zone.y1 - 1 - i);
    SwapBytes(a, b, bytes);
  }
  return 1;
}

const ParameterRow kVerticalParameters[] = {
    {vertical_flip::kYStep, "Y Step", "1", "0", kKindPositiveInteger},
};

namespace horizontal_flip {
enum Slot : int32_t { kXStep = 2, kYStep = 3 };
}  // namespace horizontal_flip

int32_t ApplyHorizontalFlip(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace horizontal_flip;
  const int64_t step_x = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kXStep))));
  const int64_t step_y = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kYStep))));
  if (step_x == 0 || step_y == 0) return 1;
  const int32_t n = zone.Width() / 2;
  StartProgress(0, n);
  // Every exchange touches its own two pixels, so bands of columns can go row by row.
  uint8_t* const* rows = pictures.out;
  const int64_t x0 = zone.x0, x1 = zone.x1, y0 = zone.y0, y1 = zone.y1;
  return WalkColumnBands(0, n, step_x, [&](int64_t from, int64_t to) {
    if (from >= to) return;
    for (int64_t y = y0; y < y1; y += step_y) {
      uint8_t* a = PixelAt(rows, x0 + from, y);
      uint8_t* b = PixelAt(rows, x1 - 1 - from, y);
      if (step_x == 1) {
        SwapMirroredPixels(a, b, to - from);
      } else {
        for (int64_t i = 0; i < to - from; i += step_x) SwapPixels(a + 3 * i, b - 3 * i);
      }
    }
  });
}

const ParameterRow kHorizontalParameters[] = {
    {horizontal_flip::kXStep, "X Step", "1", "0", kKindPositiveInteger},
    {horizontal_flip::kYStep, "Y Step", "1", "0", kKindPositiveInteger},
};

}  // namespace

const CatalogueRow kVerticalFlip = {
    "Vertical Flip", ApplyWithPictures<ApplyVerticalFlip>, kHelpFile, 31, kVerticalParameters, {}};
const CatalogueRow kHorizontalFlip = {
    "Horizontal Flip", ApplyWithPictures<ApplyHorizontalFlip>, kHelpFile, 11, kHorizontalParameters, {}};

}  // namespace ombrix::pic
