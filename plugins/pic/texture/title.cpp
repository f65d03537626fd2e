// Title (tiles of the picture laid with random offsets) and Brick (the zone tiled with a miniature of itself).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

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
  // The overlay of every factor the tiles may take: the fixed level, or under "Random
  // Transparency" the levels 0 .. 254 as they first occur.
  OverlayRamp fixed_ramp;
  fixed_ramp.Fill(level);
  std::unique_ptr<OverlayRamp[]> random_ramps;
  std::unique_ptr<bool[]> random_filled;
  if (random_level) {
    random_ramps = Scratch<OverlayRamp>(255);
    random_filled = Scratch<bool>(255);
    if (!random_ramps || !random_filled) return 0;
  }
  // Copies go row by row, unless the two pictures share their pixels: then pixel by pixel, as
  // the tile is read while it is written.
  const bool shared = pictures->input == pictures->work || pictures->in == pictures->out;
  uint8_t* const* out = pictures->out;
  uint8_t* const* in = pictures->in;
  const int64_t width = pictures->width, height = pictures->height;
  StartProgress(zone->y0, zone->y1);
  for (int64_t y = zone->y0; y < zone->y1; y += h) {
    if (y % 10 == 0 && !Continue(int32_t(y))) return 0;
    for (int64_t x = zone->x0; x < zone->x1; x += w) {
      const int64_t u = OffsetSignFirst(ox);
      const int64_t v = OffsetSignFirst(oy);
      const OverlayRamp* ramp = &fixed_ramp;
      if (random_level) {
        const int32_t f = Random() % 255;
        if (!random_filled[f]) random_ramps[f].Fill(float(f)), random_filled[f] = true;
        ramp = &random_ramps[f];
      }
      // The tile lands at (x + u, y + v); each of its pixels (X, Y) takes INPUT (X + u, Y + v).
      // Its rows j and columns i where both the target and the source lie inside the picture:
      const int64_t tx = x + u, ty = y + v;
      const int64_t i0 = std::max<int64_t>({0, -tx, -(tx + u)});
      const int64_t i1 = std::min<int64_t>({w, width - tx, width - (tx + u)});
      const int64_t j0 = std::max<int64_t>({0, -ty, -(ty + v)});
      const int64_t j1 = std::min<int64_t>({h, height - ty, height - (ty + v)});
      if (i0 >= i1) continue;
      const size_t bytes = 3 * size_t(i1 - i0);
      const bool copies = ramp->copies && !shared, toward_source = ramp->toward_source;
      const uint8_t* const change = ramp->change + 255;
      for (int64_t j = j0; j < j1; ++j) {
        uint8_t* c = PixelAt(out, tx + i0, ty + j);
        const uint8_t* source = PixelAt(in, tx + i0 + u, ty + j + v);
        if (copies) {
          std::memcpy(c, source, bytes);
        } else if (toward_source) {
          for (size_t k = 0; k < bytes; ++k) c[k] = uint8_t(c[k] + change[source[k] - c[k]]);
        } else {
          for (size_t k = 0; k < bytes; ++k) c[k] = uint8_t(source[k] + change[c[k] - source[k]]);
        }
      }
    }
  }
  return 1;
}

const ParameterRow kTitleParameters[] = {
    {1, "Width", "10", "0", kKindHorizontal},          {2, "Height", "10", "0", kKindVertical},
    {3, "Max. X Offset", "5", "0", kKindHorizontal},   {4, "Max. Y Offset", "5", "0", kKindVertical},
    {6, "Clear Color", "0 0 0", "0 0 0", kKindColour}, {8, "Transparency Level", "50 %", "0 %", kKindPercentage},
};
const OptionRow kTitleOptions[] = {
    {2, "Clear Background", 1, 1}, {3, "Keep Background", 0, 1},     {6, "Solid", 1, 2},
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
    {2, "Horizontal", 1, 1},
    {3, "Vertical", 0, 1},
};

}  // namespace

const CatalogueRow kTitle = {"Title", ApplyTitle, kHelpFile, 29, kTitleParameters, kTitleOptions};
const CatalogueRow kBrick = {"Brick", ApplyBrick, kHelpFile, 3, kBrickParameters, kBrickOptions};

}  // namespace ombrix::pic
