// Speed Zoom: fading copies of the zone drawn into rectangles that shrink or grow toward a
// scaled copy around the zone's centre.
#include <algorithm>
#include <cmath>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

enum class Mode { kClear, kKeep, kRepeat };

int32_t WrapIndex(int32_t v, int32_t size) { return ((v % size) + size) % size; }

// TruncateToInt of a float, without the extended-precision path it never needs.
int32_t TruncateFloat(float v) {
  if (v >= -2147483648.0f && v < 2147483648.0f) return int32_t(v);  // NaN fails
  return v > 0 ? INT32_MAX : v < 0 ? INT32_MIN : 0;
}

// Draws the zone of INPUT into the rectangle (tx0, ty0) - (tx1, ty1) of WORK at level k,
// without interpolation; only targets inside WORK are written. `column` and `column_inside` are
// scratch for the copy's columns.
void DrawCopy(const HostPictures& pictures, const Zone& zone, int64_t tx0, int64_t ty0, int64_t tx1, int64_t ty1,
              Mode mode, const Bgr& clear, int32_t k, int32_t* column, bool* column_inside) {
  if (tx1 <= tx0 || ty1 <= ty0) return;
  const float su = float(zone.Width()) / float(tx1 - tx0);
  const float sv = float(zone.Height()) / float(ty1 - ty0);
  const int32_t w = pictures.input->Width(), h = pictures.input->Height();
  // Every row walks u through the same sums from x0, so the source column of each target column
  // inside WORK (wrapped under Repeat) is worked out once.
  const int64_t first = std::max<int64_t>(tx0, 0), last = std::min<int64_t>(tx1, pictures.width);
  if (first >= last) return;
  {
    float u = float(zone.x0);
    for (int64_t tx = tx0; tx < last; ++tx, u += su) {
      if (tx < first) continue;
      const size_t i = size_t(tx - first);
      column_inside[i] = u >= 0 && u < w;
      column[i] = mode == Mode::kRepeat ? WrapIndex(TruncateFloat(u), w) : TruncateFloat(u);
    }
  }
  const size_t count = size_t(last - first);
  float v = float(zone.y0);
  for (int64_t ty = ty0; ty < ty1; ++ty, v += sv) {
    if (ty < 0 || ty >= pictures.height) continue;
    const int32_t row = TruncateFloat(v);
    uint8_t* c = PixelAt(pictures.out, first, ty);
    if (mode == Mode::kRepeat) {
      const uint8_t* const source = pictures.in[WrapIndex(row, h)];
      for (size_t i = 0; i < count; ++i, c += 3) MixPixel(c, source + 3 * size_t(column[i]), k);
      continue;
    }
    const bool row_inside = v >= 0 && v < h;
    const uint8_t* const source = row_inside ? pictures.in[row] : nullptr;
    for (size_t i = 0; i < count; ++i, c += 3) {
      const uint8_t* s;
      if (row_inside && column_inside[i])
        s = source + 3 * size_t(column[i]);
      else
        s = mode == Mode::kClear ? clear.data() : c;
      MixPixel(c, s, k);
    }
  }
}

enum Slot : int32_t { kScaleFactor = 1, kNStep = 2, kClearColour = 4 };
enum Option : int32_t { kClearBackground = 2, kKeepBackground = 3, kRepeat = 4 };

int32_t ApplySpeedZoom(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  const float f = ParameterValue(context, kScaleFactor);
  const int32_t n = TruncateToInt(ParameterValue(context, kNStep));
  if (n == 0) return 1;
  const int32_t option = FirstSetOption(context, {kClearBackground, kKeepBackground, kRepeat});
  const Mode mode = option == kKeepBackground ? Mode::kKeep : option == kRepeat ? Mode::kRepeat : Mode::kClear;
  const Bgr clear = ColourParameter(context, kClearColour);
  const int32_t hw = zone.Width() / 2, hh = zone.Height() / 2;
  const int32_t mx = zone.x0 + hw, my = zone.y0 + hh;
  const float dx0 = float((mx - static_cast<long double>(hw) * f - zone.x0) / n);
  const float dy0 = float((my - static_cast<long double>(hh) * f - zone.y0) / n);
  const float dx1 = float((mx + static_cast<long double>(hw) * f - zone.x1) / n);
  const float dy1 = float((my + static_cast<long double>(hh) * f - zone.y1) / n);
  const float fall = 255.0f / float(n);
  auto column = Scratch<int32_t>(size_t(pictures.width));
  auto column_inside = Scratch<bool>(size_t(pictures.width));
  StartProgress(0, n);
  for (int32_t i = 0; i < n; ++i) {
    if (!Continue(i)) return 0;
    const int32_t k = TruncateToInt(255 - static_cast<long double>(i) * fall);
    DrawCopy(pictures, zone, TruncateToInt(zone.x0 + static_cast<long double>(i) * dx0),
             TruncateToInt(zone.y0 + static_cast<long double>(i) * dy0),
             TruncateToInt(zone.x1 + static_cast<long double>(i) * dx1),
             TruncateToInt(zone.y1 + static_cast<long double>(i) * dy1), mode, clear, k, column.get(),
             column_inside.get());
  }
  return 1;
}

const ParameterRow kParameters[] = {
    {kScaleFactor, "Scale Factor", "0.5", "0", kKindPositiveReal},
    {kNStep, "n Step", "5", "0", kKindPositiveInteger},
    {kClearColour, "Clear Color", "0 0 0", "0 0 0", kKindColour},
};
const OptionRow kOptions[] = {
    {kClearBackground, "Clear Background", 1, 1},
    {kKeepBackground, "Keep Background", 0, 1},
    {kRepeat, "Repeat", 0, 1},
};

}  // namespace

const CatalogueRow kSpeedZoom = {"Speed Zoom", ApplyWithPictures<ApplySpeedZoom>, kHelpFile, 27, kParameters, kOptions};

}  // namespace ombrix::pic
