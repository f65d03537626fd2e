// Blur (a 3 x 3 box filter over the whole picture, repeated) and Motion Blur (shifted copies overlaid).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"
#include "plugins/pic/pic_kernels.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

namespace blur {
enum Slot : int32_t { kNLoop = 2 };
}  // namespace blur

// The mean of the 3 x 3 neighbours inside the picture, truncated. Each pass reads the picture as
// it was before the pass: the rows above and at the current row are kept as they were in two
// row buffers, the rows below are not changed yet.
int32_t ApplyBlur(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace blur;
  const int64_t n = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kNLoop))));
  if (n == 0) return 1;
  Picture& work = *pictures.work;
  const int32_t w = work.Width(), h = work.Height();
  const size_t bytes = 3 * size_t(w);
  auto above = Scratch<uint8_t>(bytes), middle = Scratch<uint8_t>(bytes);
  auto sums = Scratch<uint16_t>(bytes + 16);
  for (int64_t pass = 1; pass <= n; ++pass) {
    char text[64];
    std::snprintf(text, sizeof text, "Filtering picture ( %d/%d )...", int32_t(pass), int32_t(n));
    SetInfoText(text);
    StartProgress(0, h);
    for (int32_t y = 0; y < h; ++y) {
      if (!Continue(y)) return 0;
      uint8_t* row = work.Row(y);
      std::memcpy(middle.get(), row, bytes);
      BlurRow(y > 0 ? above.get() : nullptr, middle.get(), y + 1 < h ? work.Row(y + 1) : nullptr, w, sums.get(), row);
      std::swap(above, middle);
    }
  }
  return 1;
}

const ParameterRow kBlurParameters[] = {
    {blur::kNLoop, "n Loop", "1", "0", kKindPositiveInteger},
};

namespace motion_blur {
enum Slot : int32_t { kNLoop = 1, kXSpeed = 3, kYSpeed = 4, kClearColour = 6 };
enum Option : int32_t { kClearBackground = 2, kKeepBackground = 3 };
}  // namespace motion_blur

int32_t ApplyMotionBlur(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace motion_blur;
  const int64_t n = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kNLoop))));
  if (n == 0) return 1;
  const int64_t sx = TruncateToInt(ParameterValue(context, kXSpeed));
  const int64_t sy = TruncateToInt(ParameterValue(context, kYSpeed));
  if (sx == 0 && sy == 0) return 1;
  if (FirstSetOption(context, {kClearBackground, kKeepBackground}) == kClearBackground) {
    const Bgr clear = ColourParameter(context, kClearColour);
    FillZone(pictures.out, zone, clear.data());
  }
  const OverlayRows overlay(128.0f);
  StartProgress(0, int32_t(std::min<int64_t>(n, INT32_MAX)));
  for (int64_t i = 0; i < n; ++i) {
    if (!Continue(int32_t(i))) return 0;
    const int64_t dx = i * sx, dy = i * sy;
    // Zone pixel (x, y) takes the INPUT pixel (x - dx, y - dy) where that is inside.
    const int64_t x0 = std::max<int64_t>(zone.x0, dx), x1 = std::min<int64_t>(zone.x1, pictures.width + dx);
    const int64_t y0 = std::max<int64_t>(zone.y0, dy), y1 = std::min<int64_t>(zone.y1, pictures.height + dy);
    if (x1 > x0 && y1 > y0)
      OverlayRectangle(pictures.out, pictures.in, pictures.width, pictures.height, x0, y0, x0 - dx, y0 - dy, x1 - x0,
                       y1 - y0, overlay);
  }
  return 1;
}

const ParameterRow kMotionBlurParameters[] = {
    {motion_blur::kNLoop, "n Loop", "10", "0", kKindPositiveInteger},
    {motion_blur::kXSpeed, "X Speed (pixel/loop)", "-10", "0", kKindInteger},
    {motion_blur::kYSpeed, "Y Speed (pixel/loop)", "0", "0", kKindInteger},
    {motion_blur::kClearColour, "Clear Color", "0 0 0", "0 0 0", kKindColour},
};
const OptionRow kMotionBlurOptions[] = {
    {motion_blur::kClearBackground, "Clear Background", 1, 1},
    {motion_blur::kKeepBackground, "Keep Background", 0, 1},
};

}  // namespace

const CatalogueRow kBlur = {"Blur", ApplyWithPictures<ApplyBlur>, kHelpFile, 2, kBlurParameters, {}};
const CatalogueRow kMotionBlur = {
    "Motion Blur", ApplyWithPictures<ApplyMotionBlur>, kHelpFile, 19, kMotionBlurParameters, kMotionBlurOptions};

}  // namespace ombrix::pic
