// Interlace (neighbouring rows or columns exchanged in pairs) and Camera View (every second row or column painted).
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

namespace interlace {
enum Option : int32_t { kHorizontal = 2, kVertical = 3 };
}  // namespace interlace

int32_t ApplyInterlace(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace interlace;
  if (FirstSetOption(context, {kHorizontal, kVertical}) != kVertical) {
    const size_t bytes = 3 * size_t(zone.Width());
    StartProgress(zone.y0, zone.y1);
    for (int32_t y = zone.y0; y < zone.y1 - 1; y += 2) {
      if (y % 10 == 0 && !Continue(y)) return 0;
      uint8_t* a = PixelAt(pictures.out, zone.x0, y);
      SwapBytes(a, PixelAt(pictures.out, zone.x0, y + 1), bytes);
    }
    return 1;
  }
  StartProgress(zone.x0, zone.x1);
  uint8_t* const* rows = pictures.out;
  const int32_t y0 = zone.y0, y1 = zone.y1;
  return WalkColumnBands(zone.x0, int64_t(zone.x1) - 1, 2, [&](int64_t from, int64_t to) {
    for (int32_t y = y0; y < y1; ++y) {
      uint8_t* row = rows[y];
      for (int64_t x = from; x < to; x += 2) SwapPixels(row + 3 * x, row + 3 * x + 3);
    }
  });
}

const OptionRow kInterlaceOptions[] = {
    {interlace::kHorizontal, "Horizontal", 1, 1},
    {interlace::kVertical, "Vertical", 0, 1},
};

namespace camera_view {
enum Slot : int32_t { kColour = 2 };
enum Option : int32_t { kUseSolidColour = 1, kChangeColour = 2, kHorizontal = 3, kVertical = 4 };
}  // namespace camera_view

int32_t ApplyCameraView(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace camera_view;
  const Bgr colour = ColourParameter(context, kColour);
  const bool change = FirstSetOption(context, {kUseSolidColour, kChangeColour}) == kChangeColour;
  auto paint = [&](uint8_t* p) {
    if (!change) {
      CopyPixel(p, colour.data());
    } else {
      for (int ch = 0; ch < 3; ++ch) p[ch] = uint8_t((p[ch] + colour.c[ch]) >> 1);
    }
  };
  if (FirstSetOption(context, {kHorizontal, kVertical}) != kVertical) {
    return WalkRows(zone, [&](int32_t y, uint8_t* p) {
      if ((y - zone.y0) % 2 != 0) return;
      for (int32_t x = zone.x0; x < zone.x1; ++x, p += 3) paint(p);
    });
  }
  StartProgress(zone.x0, zone.x1);
  for (int32_t x = zone.x0; x < zone.x1; x += 2) {
    if (x % 10 == 0 && !Continue(x)) return 0;
    for (int32_t y = zone.y0; y < zone.y1; ++y) paint(PixelAt(pictures.out, x, y));
  }
  return 1;
}

const ParameterRow kCameraViewParameters[] = {
    {camera_view::kColour, "Color", "0 0 0", "0 0 0", kKindColour},
};
const OptionRow kCameraViewOptions[] = {
    {camera_view::kUseSolidColour, "Use Solid color", 1, 1},
    {camera_view::kChangeColour, "Change Color", 0, 1},
    {camera_view::kHorizontal, "Horizontal", 1, 2},
    {camera_view::kVertical, "Vertical", 0, 2},
};

}  // namespace

const CatalogueRow kInterlace = {"Interlace", ApplyWithPictures<ApplyInterlace>, kHelpFile, 12, {}, kInterlaceOptions};
const CatalogueRow kCameraView = {
    "Camera View", ApplyWithPictures<ApplyCameraView>, kHelpFile, 5, kCameraViewParameters, kCameraViewOptions};

}  // namespace ombrix::pic
