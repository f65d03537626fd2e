// Scratch: rows, columns or diagonals of the zone slid along themselves by random offsets.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

int32_t ApplyScratch(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const int64_t magnitude = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 2))));
  if (magnitude == 0) return 1;
  const int32_t m = int32_t(std::min<int64_t>(magnitude, INT32_MAX));
  const float transparency = ParameterValue(*context, 7);
  if (transparency == 100.0f) return 1;
  const long double level =
      FirstSetOption(*context, {9, 10}) == 10 ? 1 - 0.01 * static_cast<long double>(transparency) : 1.0L;
  const int32_t d = TruncateToInt(level * 255);
  const Bgr clear = ColourParameter(*context, 5);
  const bool clear_background = FirstSetOption(*context, {6, 7}) != 7;
  // Every direction mixes the same way: (c * 256 + d * (s - c)) >> 8, from INPUT where the
  // source lies inside it, else from the Clear Color under Clear Background.
  auto scratch = [&](int64_t x, int64_t y, int64_t sx, int64_t sy) {
    uint8_t* c = PixelAt(pictures->out, x, y);
    if (pictures->InsideInput(sx, sy))
      MixPixel(c, PixelAt(pictures->in, sx, sy), d);
    else if (clear_background)
      MixPixel(c, clear.data(), d);
  };
  switch (FirstSetOption(*context, {1, 2, 3, 4})) {
    case 2: {
      StartProgress(zone->x0, zone->x1);
      for (int64_t x = zone->x0; x < zone->x1; ++x) {
        if (x % 10 == 0 && !Continue(int32_t(x))) return 0;
        const int64_t e = OffsetSignFirst(m);
        for (int64_t y = zone->y0; y < zone->y1; ++y) scratch(x, y, x, y + e);
      }
      return 1;
    }
    case 3:
    case 4: {
      const bool left = FirstSetOption(*context, {1, 2, 3, 4}) == 3;
      StartProgress(zone->x0, zone->x1);
      // The index range follows the zone's corners; where y0 > 1 it leaves the lower-left (or
      // lower-right) corner of the zone unchanged.
      for (int64_t i = int64_t(zone->x0) + zone->y0 - zone->y1; i < int64_t(zone->x1) + zone->y1 - zone->y0; ++i) {
        if (i % 10 == 0 && !Continue(int32_t(i))) return 0;
        const int64_t e = OffsetSignFirst(m);
        for (int64_t y = zone->y0; y < zone->y1; ++y) {
          const int64_t x = left ? i + y : i - y;
          if (x < zone->x0 || x >= zone->x1) continue;
          scratch(x, y, left ? x + e : x - e, y + e);
        }
      }
      return 1;
    }
    default:
      return WalkRows(*zone, [&](int32_t y, uint8_t*) {
        const int64_t e = OffsetSignFirst(m);
        for (int64_t x = zone->x0; x < zone->x1; ++x) scratch(x, y, x - e, y);
      });
  }
}

const ParameterRow kScratchParameters[] = {
    {2, "Maximum Offset", "5", "0", kKindHorizontal},
    {5, "Clear Color", "0 0 0", "0 0 0", kKindColour},
    {7, "Transparency", "50 %", "0 %", kKindPercentage},
};
const OptionRow kScratchOptions[] = {
    {1, "Horizontal", 1, 1},     {2, "Vertical", 0, 1},         {3, "Left Diagonal", 0, 1},
    {4, "Right Diagonal", 0, 1}, {6, "Clear Background", 1, 3}, {7, "Keep Background", 0, 3},
    {9, "Solid", 1, 4},          {10, "Transparent", 0, 4},
};

}  // namespace

const CatalogueRow kScratch = {"Scratch", ApplyScratch, kHelpFile, 26, kScratchParameters, kScratchOptions};

}  // namespace ombrix::pic
