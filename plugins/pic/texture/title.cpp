// Title (tiles of the picture laid with random offsets) and Brick (the zone tiled with a miniature of itself).
#include <cstdint>
#include <cstdlib>

#include "core/kit/random.h"
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

int32_t ApplyTitle(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const int64_t w = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 1))));
  const int64_t h = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 2))));
  const int32_t ox = TruncateToInt(ParameterValue(*context, 3));
  const int32_t oy = TruncateToInt(ParameterValue(*context, 4));
  if (w == 0 || h == 0 || (ox == 0 && oy == 0)) return 1;
  const bool transparent = FirstSetOption(*context, {6, 7}) == 7;
  const bool random_level = OptionSet(*context, 9);
  const float level = transparent ? float(static_cast<long double>(ParameterValue(*context, 8)) * 0.01 * 255) : 0.0f;
  if (FirstSetOption(*context, {2, 3}) == 2) {
    const Bgr clear = ColourParameter(*context, 6);
    FillZone(pictures->out, *zone, clear.data());
  }
  StartProgress(zone->y0, zone->y1);
  for (int64_t y = zone->y0; y < zone->y1; y += h) {
    if (y % 10 == 0 && !Continue(int32_t(y))) return 0;
    for (int64_t x = zone->x0; x < zone->x1; x += w) {
      const int64_t u = OffsetSignFirst(ox);
      const int64_t v = OffsetSignFirst(oy);
      const float f = random_level ? float(Random() % 255) : level;
      // The tile lands at (x + u, y + v); each of its pixels (X, Y) takes INPUT (X + u, Y + v).
      const int64_t tx = x + u, ty = y + v;
      for (int64_t j = 0; j < h; ++j) {
        const int64_t yy = ty + j, sy = yy + v;
        if (yy < 0 || yy >= pictures->height || sy < 0 || sy >= pictures->height) continue;
        for (int64_t i = 0; i < w; ++i) {
          const int64_t xx = tx + i, sx = xx + u;
          if (xx < 0 || xx >= pictures->width || sx < 0 || sx >= pictures->width) continue;
          uint8_t* c = PixelAt(pictures->out, xx, yy);
          const uint8_t* s = PixelAt(pictures->in, sx, sy);
          for (int ch = 0; ch < 3; ++ch) c[ch] = OverlayChannel(c[ch], s[ch], f);
        }
      }
    }
  }
  return 1;
}

const ParameterRow kTitleParameters[] = {
    {1, "Width", "10", "0", kKindHorizontal},
    {2, "Height", "10", "0", kKindVertical},
    {3, "Max. X Offset", "5", "0", kKindHorizontal},
    {4, "Max. Y Offset", "5", "0", kKindVertical},
    {6, "Clear Color", "0 0 0", "0 0 0", kKindColour},
    {8, "Transparency Level", "50 %", "0 %", kKindPercentage},
};
const OptionRow kTitleOptions[] = {
    {2, "Clear Background", 1, 1}, {3, "Keep Background", 0, 1}, {6, "Solid", 1, 2},
    {7, "Transparent", 0, 2},      {9, "Random Transparency", 0, 3},
};

int32_t ApplyBrick(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const int64_t c = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 1))));
  const int64_t d = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 2))));
  const int64_t dec = TruncateToInt(ParameterValue(*context, 4));
  if (c == 0 || d == 0 || zone->Width() < 1 || zone->Height() < 1) return 1;
  if (c > 65535 || d > 65535) return 1;  // no picture can be that large
  Picture brick;
  if (!CutOut(pictures->out, *zone, brick)) return 0;
  if (!ResizePicture(brick, int32_t(c), int32_t(d))) return 0;
  auto wrap = [](int64_t v, int64_t size) { return ((v % size) + size) % size; };
  const bool vertical = FirstSetOption(*context, {2, 3}) == 3;
  int64_t shift = -dec;
  return WalkRows(*zone, [&](int32_t y, uint8_t* p) {
    const int64_t row = y - zone->y0;
    if (!vertical) {
      if (row % d == 0) shift += dec;
      const uint8_t* source = brick.Row(int32_t(row % d));
      for (int64_t x = 0; x < zone->Width(); ++x, p += 3) CopyPixel(p, source + 3 * size_t(wrap(x - shift, c)));
      return;
    }
    shift = -dec;
    for (int64_t x = 0; x < zone->Width(); ++x, p += 3) {
      if (x % c == 0) shift += dec;
      CopyPixel(p, brick.Row(int32_t(wrap(row - shift, d))) + 3 * size_t(x % c));
    }
  });
}

const ParameterRow kBrickParameters[] = {
    {1, "X Size", "100", "0", kKindHorizontal},
    {2, "Y Size", "50", "0", kKindVertical},
    {4, "Dec Step", "0", "0", kKindHorizontal},
};
const OptionRow kBrickOptions[] = {
    {2, "Horizontal", 1, 1}, {3, "Vertical", 0, 1},
};

}  // namespace

const CatalogueRow kTitle = {"Title", ApplyTitle, kHelpFile, 29, kTitleParameters, kTitleOptions};
const CatalogueRow kBrick = {"Brick", ApplyBrick, kHelpFile, 3, kBrickParameters, kBrickOptions};

}  // namespace ombrix::pic
