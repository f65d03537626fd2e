// Scratch: rows, columns or diagonals of the zone slid along themselves by random offsets.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kMaximumOffset = 2, kClearColour = 5, kTransparency = 7 };
enum Option : int32_t {
  kHorizontal = 1,
  kVertical = 2,
  kLeftDiagonal = 3,
  kRightDiagonal = 4,
  kClearBackground = 6,
  kKeepBackground = 7,
  kSolid = 9,
  kTransparent = 10
};

int32_t ApplyScratch(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  const int64_t magnitude = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kMaximumOffset))));
  if (magnitude == 0) return 1;
  const int32_t m = int32_t(std::min<int64_t>(magnitude, INT32_MAX));
  const float transparency = ParameterValue(context, kTransparency);
  if (transparency == 100.0f) return 1;
  const long double level = FirstSetOption(context, {kSolid, kTransparent}) == kTransparent
                                ? 1 - 0.01 * static_cast<long double>(transparency)
                                : 1.0L;
  const int32_t d = TruncateToInt(level * 255);
  const Bgr clear = ColourParameter(context, kClearColour);
  const bool clear_background = FirstSetOption(context, {kClearBackground, kKeepBackground}) != kKeepBackground;
  // Every direction mixes the same way: (c * 256 + d * (s - c)) >> 8, from INPUT where the
  // source lies inside it, else from the Clear Color under Clear Background.
  auto scratch = [&](int64_t x, int64_t y, int64_t sx, int64_t sy) {
    uint8_t* c = PixelAt(pictures.out, x, y);
    if (pictures.InsideInput(sx, sy))
      MixPixel(c, PixelAt(pictures.in, sx, sy), d);
    else if (clear_background)
      MixPixel(c, clear.data(), d);
  };
  const int32_t direction = FirstSetOption(context, {kHorizontal, kVertical, kLeftDiagonal, kRightDiagonal});
  switch (direction) {
    case kVertical: {
      StartProgress(zone.x0, zone.x1);
      for (int64_t x = zone.x0; x < zone.x1; ++x) {
        if (x % 10 == 0 && !Continue(int32_t(x))) return 0;
        const int64_t e = OffsetSignFirst(m);
        for (int64_t y = zone.y0; y < zone.y1; ++y) scratch(x, y, x, y + e);
      }
      return 1;
    }
    case kLeftDiagonal:
    case kRightDiagonal: {
      const bool left = direction == kLeftDiagonal;
      StartProgress(zone.x0, zone.x1);
      // The index range follows the zone's corners; where y0 > 1 it leaves the lower-left (or
      // lower-right) corner of the zone unchanged.
      for (int64_t i = int64_t(zone.x0) + zone.y0 - zone.y1; i < int64_t(zone.x1) + zone.y1 - zone.y0; ++i) {
        if (i % 10 == 0 && !Continue(int32_t(i))) return 0;
        const int64_t e = OffsetSignFirst(m);
        for (int64_t y = zone.y0; y < zone.y1; ++y) {
          const int64_t x = left ? i + y : i - y;
          if (x < zone.x0 || x >= zone.x1) continue;
          scratch(x, y, left ? x + e : x - e, y + e);
        }
      }
      return 1;
    }
    default:
      return WalkRows(zone, [&](int32_t y, uint8_t*) {
        const int64_t e = OffsetSignFirst(m);
        for (int64_t x = zone.x0; x < zone.x1; ++x) scratch(x, y, x - e, y);
      });
  }
}

const ParameterRow kScratchParameters[] = {
    {kMaximumOffset, "Maximum Offset", "5", "0", kKindHorizontal},
    {kClearColour, "Clear Color", "0 0 0", "0 0 0", kKindColour},
    {kTransparency, "Transparency", "50 %", "0 %", kKindPercentage},
};
const OptionRow kScratchOptions[] = {
    {kHorizontal, "Horizontal", 1, 1},
    {kVertical, "Vertical", 0, 1},
    {kLeftDiagonal, "Left Diagonal", 0, 1},
    {kRightDiagonal, "Right Diagonal", 0, 1},
    {kClearBackground, "Clear Background", 1, 3},
    {kKeepBackground, "Keep Background", 0, 3},
    {kSolid, "Solid", 1, 4},
    {kTransparent, "Transparent", 0, 4},
};

}  // namespace

const CatalogueRow kScratch = {"Scratch",      ApplyWithPictures<ApplyScratch>, kHelpFile, 26, kScratchParameters,
                               kScratchOptions};

}  // namespace ombrix::pic
