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

namespace title {
enum Slot : int32_t {
  kWidth = 1,
  kHeight = 2,
  kMaxXOffset = 3,
  kMaxYOffset = 4,
  kClearColour = 6,
  kTransparencyLevel = 8
};
enum Option : int32_t {
  kClearBackground = 2,
  kKeepBackground = 3,
  kSolid = 6,
  kTransparent = 7,
  kRandomTransparency = 9
};
}  // namespace title

int32_t ApplyTitle(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace title;
  const int64_t w = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kWidth))));
  const int64_t h = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kHeight))));
  const int32_t ox = TruncateToInt(ParameterValue(context, kMaxXOffset));
  const int32_t oy = TruncateToInt(ParameterValue(context, kMaxYOffset));
  if (w == 0 || h == 0 || (ox == 0 && oy == 0)) return 1;
  const bool transparent = FirstSetOption(context, {kSolid, kTransparent}) == kTransparent;
  const bool random_level = OptionSet(context, kRandomTransparency);
  const float level =
      transparent ? float(static_cast<long double>(ParameterValue(context, kTransparencyLevel)) * 0.01 * 255) : 0.0f;
  if (FirstSetOption(context, {kClearBackground, kKeepBackground}) == kClearBackground) {
    const Bgr clear = ColourParameter(context, kClearColour);
    FillZone(pictures.out, zone, clear.data());
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
  }
  // Copies go row by row, unless the two pictures share their pixels: then pixel by pixel, as
  // the tile is read while it is written.
  const bool shared = pictures.input == pictures.work || pictures.in == pictures.out;
  uint8_t* const* out = pictures.out;
  uint8_t* const* in = pictures.in;
  const int64_t width = pictures.width, height = pictures.height;
  StartProgress(zone.y0, zone.y1);
  for (int64_t y = zone.y0; y < zone.y1; y += h) {
    if (y % 10 == 0 && !Continue(int32_t(y))) return 0;
    for (int64_t x = zone.x0; x < zone.x1; x += w) {
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
    {title::kWidth, "Width", "10", "0", kKindHorizontal},
    {title::kHeight, "Height", "10", "0", kKindVertical},
    {title::kMaxXOffset, "Max. X Offset", "5", "0", kKindHorizontal},
    {title::kMaxYOffset, "Max. Y Offset", "5", "0", kKindVertical},
    {title::kClearColour, "Clear Color", "0 0 0", "0 0 0", kKindColour},
    {title::kTransparencyLevel, "Transparency Level", "50 %", "0 %", kKindPercentage},
};
const OptionRow kTitleOptions[] = {
    {title::kClearBackground, "Clear Background", 1, 1},
    {title::kKeepBackground, "Keep Background", 0, 1},
    {title::kSolid, "Solid", 1, 2},
    {title::kTransparent, "Transparent", 0, 2},
    {title::kRandomTransparency, "Random Transparency", 0, 3},
};

namespace brick {
enum Slot : int32_t { kXSize = 1, kYSize = 2, kDecStep = 4 };
enum Option : int32_t { kHorizontal = 2, kVertical = 3 };
}  // namespace brick

int32_t ApplyBrick(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace brick;
  const int64_t c = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kXSize))));
  const int64_t d = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kYSize))));
  const int64_t dec = TruncateToInt(ParameterValue(context, kDecStep));
  if (c == 0 || d == 0 || zone.Width() < 1 || zone.Height() < 1) return 1;
  if (c > 65535 || d > 65535) return 1;  // no picture can be that large
  Picture brick;
  if (!CutOut(pictures.out, zone, brick)) return 0;
  if (!ResizePicture(brick, int32_t(c), int32_t(d))) return 0;
  auto wrap = [](int64_t v, int64_t size) { return ((v % size) + size) % size; };
  const bool vertical = FirstSetOption(context, {kHorizontal, kVertical}) == kVertical;
  int64_t shift = -dec;
  return WalkRows(zone, [&](int32_t y, uint8_t* p) {
    const int64_t row = y - zone.y0;
    if (!vertical) {
      if (row % d == 0) shift += dec;
      const uint8_t* source = brick.Row(int32_t(row % d));
      for (int64_t x = 0; x < zone.Width(); ++x, p += 3) CopyPixel(p, source + 3 * size_t(wrap(x - shift, c)));
      return;
    }
    shift = -dec;
    for (int64_t x = 0; x < zone.Width(); ++x, p += 3) {
      if (x % c == 0) shift += dec;
      CopyPixel(p, brick.Row(int32_t(wrap(row - shift, d))) + 3 * size_t(x % c));
    }
  });
}

const ParameterRow kBrickParameters[] = {
    {brick::kXSize, "X Size", "100", "0", kKindHorizontal},
    {brick::kYSize, "Y Size", "50", "0", kKindVertical},
    {brick::kDecStep, "Dec Step", "0", "0", kKindHorizontal},
};
const OptionRow kBrickOptions[] = {
    {brick::kHorizontal, "Horizontal", 1, 1},
    {brick::kVertical, "Vertical", 0, 1},
};

}  // namespace

const CatalogueRow kTitle = {"Title", ApplyWithPictures<ApplyTitle>, kHelpFile, 29, kTitleParameters, kTitleOptions};
const CatalogueRow kBrick = {"Brick", ApplyWithPictures<ApplyBrick>, kHelpFile, 3, kBrickParameters, kBrickOptions};

}  // namespace ombrix::pic
