// Mosaic: the zone painted in blocks of one colour each.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// Paints the block of sx x sy pixels at (x, y) wherever it lies inside the w x h picture.
void PaintBlock(uint8_t* const* rows, int64_t x, int64_t y, int64_t sx, int64_t sy, int64_t w, int64_t h,
                const uint8_t colour[3]) {
  for (int64_t by = std::max<int64_t>(y, 0); by < std::min<int64_t>(y + sy, h); ++by) {
    uint8_t* p = PixelAt(rows, std::max<int64_t>(x, 0), by);
    for (int64_t bx = std::max<int64_t>(x, 0); bx < std::min<int64_t>(x + sx, w); ++bx, p += 3) CopyPixel(p, colour);
  }
}

enum Slot : int32_t { kXSize = 2, kYSize = 3, kXOffset = 5, kYOffset = 6 };
enum Option : int32_t { kBasedOnMiddlePixel = 6, kBasedOnCustomPixel = 7, kBasedOnBoxAverage = 8 };

int32_t ApplyMosaic(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  const int64_t sx = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kXSize))));
  const int64_t sy = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kYSize))));
  if (sx == 0 || sy == 0) return 1;
  const int64_t ox = TruncateToInt(ParameterValue(context, kXOffset));
  const int64_t oy = TruncateToInt(ParameterValue(context, kYOffset));
  const int32_t basis = FirstSetOption(context, {kBasedOnMiddlePixel, kBasedOnCustomPixel, kBasedOnBoxAverage});
  const int32_t w = pictures.work->Width(), h = pictures.work->Height();
  auto inside = [&](int64_t x, int64_t y) { return x >= 0 && y >= 0 && x < w && y < h; };
  StartProgress(zone.y0, zone.y1);
  if (basis == kBasedOnCustomPixel) {
    // A custom pixel may lie in a block painted before, so blocks go one by one.
    for (int64_t y = zone.y0; y <= zone.y1; y += sy) {
      if (y % 10 == 0 && !Continue(int32_t(y))) return 0;
      for (int64_t x = zone.x0; x <= zone.x1; x += sx) {
        uint8_t colour[3] = {0, 0, 0};
        if (inside(x + ox, y + oy)) CopyPixel(colour, PixelAt(pictures.out, x + ox, y + oy));
        PaintBlock(pictures.out, x, y, sx, sy, w, h, colour);
      }
    }
    return 1;
  }
  // The middle pixel and the box average lie in the block itself, and blocks do not overlap, so
  // the colours of a whole row of blocks can be taken before it is painted.
  const int64_t blocks = (zone.x1 - zone.x0) / sx + 1;
  auto colours = Scratch<uint8_t>(3 * size_t(blocks));
  auto sums = Scratch<int64_t>(basis == kBasedOnBoxAverage ? 3 * size_t(blocks) : 0);
  // Blocks starting at or beyond the picture's right edge paint nothing.
  const int64_t painted = std::min<int64_t>(blocks, (w - zone.x0 + sx - 1) / sx);
  const int64_t span_end = std::min<int64_t>(zone.x0 + (blocks - 1) * sx + sx, w);
  for (int64_t y = zone.y0; y <= zone.y1; y += sy) {
    if (y % 10 == 0 && !Continue(int32_t(y))) return 0;
    const int64_t row_end = std::min<int64_t>(y + sy, h);
    if (y >= row_end || painted <= 0) continue;
    if (basis == kBasedOnBoxAverage) {
      std::fill(sums.get(), sums.get() + 3 * painted, 0);
      for (int64_t by = y; by < row_end; ++by) {
        const uint8_t* row = pictures.out[by];
        for (int64_t b = 0; b < painted; ++b) {
          const int64_t bx0 = zone.x0 + b * sx, bx1 = std::min<int64_t>(bx0 + sx, w);
          int64_t s0 = 0, s1 = 0, s2 = 0;
          for (const uint8_t* p = row + 3 * bx0; p != row + 3 * bx1; p += 3) s0 += p[0], s1 += p[1], s2 += p[2];
          sums[3 * b] += s0, sums[3 * b + 1] += s1, sums[3 * b + 2] += s2;
        }
      }
      for (int64_t i = 0; i < 3 * painted; ++i) colours[i] = uint8_t(sums[i] / (sx * sy));
    } else {
      const int64_t ry = y + sy / 2;
      for (int64_t b = 0; b < painted; ++b) {
        const int64_t rx = zone.x0 + b * sx + sx / 2;
        uint8_t* colour = &colours[3 * b];
        colour[0] = colour[1] = colour[2] = 0;
        if (inside(rx, ry)) CopyPixel(colour, PixelAt(pictures.out, rx, ry));
      }
    }
    // The first row of the block row pixel by pixel, the others as copies of it.
    uint8_t* first = PixelAt(pictures.out, zone.x0, y);
    if (sx == 1) {
      std::memcpy(first, colours.get(), 3 * size_t(painted));
    } else {
      uint8_t* p = first;
      for (int64_t b = 0; b < painted; ++b) {
        const int64_t count = std::min<int64_t>(sx, w - (zone.x0 + b * sx));
        const uint8_t c0 = colours[3 * b], c1 = colours[3 * b + 1], c2 = colours[3 * b + 2];
        for (int64_t i = 0; i < count; ++i, p += 3) p[0] = c0, p[1] = c1, p[2] = c2;
      }
    }
    const size_t bytes = 3 * size_t(span_end - zone.x0);
    for (int64_t by = y + 1; by < row_end; ++by) std::memcpy(PixelAt(pictures.out, zone.x0, by), first, bytes);
  }
  return 1;
}

const ParameterRow kMosaicParameters[] = {
    {kXSize, "X Size", "2", "0", kKindHorizontal},
    {kYSize, "Y Size", "2", "0", kKindVertical},
    {kXOffset, "X Offset", "0", "0", kKindHorizontal},
    {kYOffset, "Y Offset", "0", "0", kKindVertical},
};
const OptionRow kMosaicOptions[] = {
    {kBasedOnMiddlePixel, "Based on middle pixel", 1, 1},
    {kBasedOnCustomPixel, "Based on custom pixel", 0, 1},
    {kBasedOnBoxAverage, "Based on box average", 0, 1},
};

}  // namespace

const CatalogueRow kMosaic = {"Mosaic",      ApplyWithPictures<ApplyMosaic>, kHelpFile, 18, kMosaicParameters,
                              kMosaicOptions};

}  // namespace ombrix::pic
