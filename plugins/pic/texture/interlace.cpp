// Interlace (neighbouring rows or columns exchanged in pairs) and Camera View (every second row or column painted).
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

int32_t ApplyInterlace(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  if (FirstSetOption(*context, {2, 3}) != 3) {
    const size_t bytes = 3 * size_t(zone->Width());
    StartProgress(zone->y0, zone->y1);
    for (int32_t y = zone->y0; y < zone->y1 - 1; y += 2) {
      if (y % 10 == 0 && !Continue(y)) return 0;
      uint8_t* a = PixelAt(pictures->out, zone->x0, y);
      SwapBytes(a, PixelAt(pictures->out, zone->x0, y + 1), bytes);
    }
    return 1;
  }
  StartProgress(zone->x0, zone->x1);
  uint8_t* const* rows = pictures->out;
  const int32_t y0 = zone->y0, y1 = zone->y1;
  return WalkColumnBands(zone->x0, int64_t(zone->x1) - 1, 2, [&](int64_t from, int64_t to) {
    for (int32_t y = y0; y < y1; ++y) {
      uint8_t* row = rows[y];
      for (int64_t x = from; x < to; x += 2) SwapPixels(row + 3 * x, row + 3 * x + 3);
    }
  });
}

const OptionRow kInterlaceOptions[] = {
    {2, "Horizontal", 1, 1},
    {3, "Vertical", 0, 1},
};

int32_t ApplyCameraView(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const Bgr colour = ColourParameter(*context, 2);
  const bool change = FirstSetOption(*context, {1, 2}) == 2;
  auto paint = [&](uint8_t* p) {
    if (!change) {
      CopyPixel(p, colour.data());
    } else {
      for (int ch = 0; ch < 3; ++ch) p[ch] = uint8_t((p[ch] + colour.c[ch]) >> 1);
    }
  };
  if (FirstSetOption(*context, {3, 4}) != 4) {
    return WalkRows(*zone, [&](int32_t y, uint8_t* p) {
      if ((y - zone->y0) % 2 != 0) return;
      for (int32_t x = zone->x0; x < zone->x1; ++x, p += 3) paint(p);
    });
  }
  StartProgress(zone->x0, zone->x1);
  for (int32_t x = zone->x0; x < zone->x1; x += 2) {
    if (x % 10 == 0 && !Continue(x)) return 0;
    for (int32_t y = zone->y0; y < zone->y1; ++y) paint(PixelAt(pictures->out, x, y));
  }
  return 1;
}

const ParameterRow kCameraViewParameters[] = {
    {2, "Color", "0 0 0", "0 0 0", kKindColour},
};
const OptionRow kCameraViewOptions[] = {
    {1, "Use Solid color", 1, 1},
    {2, "Change Color", 0, 1},
    {3, "Horizontal", 1, 2},
    {4, "Vertical", 0, 2},
};

}  // namespace

const CatalogueRow kInterlace = {"Interlace", ApplyInterlace, kHelpFile, 12, {}, kInterlaceOptions};
const CatalogueRow kCameraView = {"Camera View",         ApplyCameraView,   kHelpFile, 5,
                                  kCameraViewParameters, kCameraViewOptions};

}  // namespace ombrix::pic
