// Mosaic: the zone painted in blocks of one colour each.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

int32_t ApplyMosaic(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const int64_t sx = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 2))));
  const int64_t sy = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 3))));
  if (sx == 0 || sy == 0) return 1;
  const int64_t ox = TruncateToInt(ParameterValue(*context, 5));
  const int64_t oy = TruncateToInt(ParameterValue(*context, 6));
  const int32_t basis = FirstSetOption(*context, {6, 7, 8});
  const int32_t w = pictures->work->Width(), h = pictures->work->Height();
  auto inside = [&](int64_t x, int64_t y) { return x >= 0 && y >= 0 && x < w && y < h; };
  StartProgress(zone->y0, zone->y1);
  // Blocks start while the start is at most the zone's far edge, so the last ones may reach
  // beyond the zone; they are painted wherever they lie inside the picture.
  for (int64_t y = zone->y0; y <= zone->y1; y += sy) {
    if (y % 10 == 0 && !Continue(int32_t(y))) return 0;
    for (int64_t x = zone->x0; x <= zone->x1; x += sx) {
      uint8_t colour[3] = {0, 0, 0};
      if (basis == 8) {
        int64_t sum[3] = {0, 0, 0};
        for (int64_t by = std::max<int64_t>(y, 0); by < std::min<int64_t>(y + sy, h); ++by)
          for (int64_t bx = std::max<int64_t>(x, 0); bx < std::min<int64_t>(x + sx, w); ++bx) {
            const uint8_t* p = PixelAt(pictures->out, bx, by);
            sum[0] += p[0], sum[1] += p[1], sum[2] += p[2];
          }
        for (int ch = 0; ch < 3; ++ch) colour[ch] = uint8_t(sum[ch] / (sx * sy));
      } else {
        const int64_t rx = basis == 7 ? x + ox : x + sx / 2;
        const int64_t ry = basis == 7 ? y + oy : y + sy / 2;
        if (inside(rx, ry)) CopyPixel(colour, PixelAt(pictures->out, rx, ry));
      }
      for (int64_t by = std::max<int64_t>(y, 0); by < std::min<int64_t>(y + sy, h); ++by) {
        uint8_t* p = PixelAt(pictures->out, std::max<int64_t>(x, 0), by);
        for (int64_t bx = std::max<int64_t>(x, 0); bx < std::min<int64_t>(x + sx, w); ++bx, p += 3) CopyPixel(p, colour);
      }
    }
  }
  return 1;
}

const ParameterRow kMosaicParameters[] = {
    {2, "X Size", "2", "0", kKindHorizontal},
    {3, "Y Size", "2", "0", kKindVertical},
    {5, "X Offset", "0", "0", kKindHorizontal},
    {6, "Y Offset", "0", "0", kKindVertical},
};
const OptionRow kMosaicOptions[] = {
    {6, "Based on middle pixel", 1, 1},
    {7, "Based on custom pixel", 0, 1},
    {8, "Based on box average", 0, 1},
};

}  // namespace

const CatalogueRow kMosaic = {"Mosaic", ApplyMosaic, kHelpFile, 18, kMosaicParameters, kMosaicOptions};

}  // namespace ombrix::pic
