// Speed Zoom: fading copies of the zone drawn into rectangles that shrink or grow toward a
// scaled copy around the zone's centre.
#include <cmath>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

enum Mode { kClear = 1, kKeep = 2, kRepeat = 3 };

int32_t WrapIndex(int32_t v, int32_t size) { return ((v % size) + size) % size; }

// Draws the zone of INPUT into the rectangle (tx0, ty0) - (tx1, ty1) of WORK at level k,
// without interpolation; only targets inside WORK are written.
void DrawCopy(const HostPictures& pictures, const Zone& zone, int64_t tx0, int64_t ty0, int64_t tx1, int64_t ty1,
              Mode mode, const Bgr& clear, int32_t k) {
  if (tx1 <= tx0 || ty1 <= ty0) return;
  const float su = float(zone.Width()) / float(tx1 - tx0);
  const float sv = float(zone.Height()) / float(ty1 - ty0);
  const int32_t w = pictures.input->Width(), h = pictures.input->Height();
  float v = float(zone.y0);
  for (int64_t ty = ty0; ty < ty1; ++ty, v += sv) {
    if (ty < 0 || ty >= pictures.height) continue;
    float u = float(zone.x0);
    const int32_t row = TruncateToInt(v);
    for (int64_t tx = tx0; tx < tx1; ++tx, u += su) {
      if (tx < 0 || tx >= pictures.width) continue;
      uint8_t* c = PixelAt(pictures.out, tx, ty);
      const uint8_t* s;
      if (mode == kRepeat)
        s = PixelAt(pictures.in, WrapIndex(TruncateToInt(u), w), WrapIndex(row, h));
      else if (u >= 0 && u < w && v >= 0 && v < h)
        s = PixelAt(pictures.in, TruncateToInt(u), row);
      else
        s = mode == kClear ? clear.data() : c;
      MixPixel(c, s, k);
    }
  }
}

int32_t ApplySpeedZoom(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const float f = ParameterValue(*context, 1);
  const int32_t n = TruncateToInt(ParameterValue(*context, 2));
  if (n == 0) return 1;
  const int32_t option = FirstSetOption(*context, {2, 3, 4});
  const Mode mode = option == 3 ? kKeep : option == 4 ? kRepeat : kClear;
  const Bgr clear = ColourParameter(*context, 4);
  const int32_t hw = zone->Width() / 2, hh = zone->Height() / 2;
  const int32_t mx = zone->x0 + hw, my = zone->y0 + hh;
  const float dx0 = float((mx - static_cast<long double>(hw) * f - zone->x0) / n);
  const float dy0 = float((my - static_cast<long double>(hh) * f - zone->y0) / n);
  const float dx1 = float((mx + static_cast<long double>(hw) * f - zone->x1) / n);
  const float dy1 = float((my + static_cast<long double>(hh) * f - zone->y1) / n);
  const float fall = 255.0f / float(n);
  StartProgress(0, n);
  for (int32_t i = 0; i < n; ++i) {
    if (!Continue(i)) return 0;
    const int32_t k = TruncateToInt(255 - static_cast<long double>(i) * fall);
    DrawCopy(*pictures, *zone, TruncateToInt(zone->x0 + static_cast<long double>(i) * dx0),
             TruncateToInt(zone->y0 + static_cast<long double>(i) * dy0),
             TruncateToInt(zone->x1 + static_cast<long double>(i) * dx1),
             TruncateToInt(zone->y1 + static_cast<long double>(i) * dy1), mode, clear, k);
  }
  return 1;
}

const ParameterRow kParameters[] = {
    {1, "Scale Factor", "0.5", "0", kKindPositiveReal},
    {2, "n Step", "5", "0", kKindPositiveInteger},
    {4, "Clear Color", "0 0 0", "0 0 0", kKindColour},
};
const OptionRow kOptions[] = {{2, "Clear Background", 1, 1}, {3, "Keep Background", 0, 1}, {4, "Repeat", 0, 1}};

}  // namespace

const CatalogueRow kSpeedZoom = {"Speed Zoom", ApplySpeedZoom, kHelpFile, 27, kParameters, kOptions};

}  // namespace ombrix::pic
