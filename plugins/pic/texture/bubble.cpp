// Bubble: magnifying bubbles scattered over the zone.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/kit/random.h"
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

int32_t ApplyBubble(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const int64_t n = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 1))));
  const int64_t largest = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 3))));
  if (n == 0 || largest == 0) return 1;
  const int32_t max_radius = int32_t(std::min<int64_t>(largest, 65535));
  const float round_factor = ParameterValue(*context, 4);
  const float factor[3] = {ParameterValue(*context, 8), ParameterValue(*context, 7), ParameterValue(*context, 6)};
  uint8_t scaled[3][256];
  for (int ch = 0; ch < 3; ++ch)
    for (int32_t c = 0; c < 256; ++c) scaled[ch][c] = Clamp(TruncateToInt(static_cast<long double>(c) * factor[ch]));
  const Bgr clear = ColourParameter(*context, 9);
  const int32_t k = TruncateToInt((1 - 0.01 * static_cast<long double>(ParameterValue(*context, 10))) * 255);
  const int32_t option = FirstSetOption(*context, {1, 2, 3});
  const Background mode = option == 2 ? Background::kKeep : option == 3 ? Background::kRepeat : Background::kClear;
  const Picture& input = *pictures->input;
  auto draw = [](int32_t bound) { return bound < 1 ? 0 : Random() % bound; };
  const int32_t count = int32_t(std::min<int64_t>(n, INT32_MAX));
  StartProgress(1, count);
  // Bubbles 1 .. n - 1: the default 10 draws nine.
  for (int32_t i = 1; i < count; ++i) {
    char text[64];
    std::snprintf(text, sizeof text, "Creating Bubbles (%d/%d)...", i, count);
    SetInfoText(text);
    if (!Continue(i)) return 0;
    const int32_t r = draw(max_radius);
    const int32_t first = draw(max_radius + zone->Width());
    const int32_t second = draw(max_radius + zone->Height());
    const int64_t cx = zone->x0 + second, cy = zone->y0 + first;
    const float a = 2.0f * float(r) * round_factor;
    const int64_t x0 = std::max<int64_t>(cx - r, 0), x1 = std::min<int64_t>(cx + r, pictures->width - 1);
    const int64_t y0 = std::max<int64_t>(cy - r, 0), y1 = std::min<int64_t>(cy + r, pictures->height - 1);
    for (int64_t y = y0; y <= y1; ++y)
      for (int64_t x = x0; x <= x1; ++x) {
        const int64_t dx = x - cx, dy = y - cy;
        float d = std::sqrt(float(dx * dx + dy * dy));
        if (!(d < r)) continue;
        if (d == 0) d = 1;
        const double s = a * std::sin(1.57 * d / a);
        const float u = float(cx + 2.0 * dx * d / s), v = float(cy + 2.0 * dy * d / s);
        uint8_t* p = PixelAt(pictures->out, x, y);
        uint8_t sample[3];
        SampleWithBackground(input, u, v, mode, mode == Background::kKeep ? p : clear.data(), sample);
        for (int ch = 0; ch < 3; ++ch) sample[ch] = scaled[ch][sample[ch]];
        MixPixel(p, sample, k);
      }
    SmoothDiscEdge(pictures->out, pictures->width, pictures->height, int32_t(cx), int32_t(cy), r);
  }
  return 1;
}

const ParameterRow kBubbleParameters[] = {
    {1, "Number", "10", "0", kKindPositiveInteger},    {3, "Maximum Radius", "100", "0", kKindHorizontal},
    {4, "Round Factor", "1", "0", kKindPositiveReal},  {6, "Red Factor", "1", "0.0", kKindReal},
    {7, "Green Factor", "1", "0.0", kKindReal},        {8, "Blue Factor", "1.1", "0.0", kKindReal},
    {9, "Clear Color", "0 0 0", "0 0 0", kKindColour}, {10, "Transparency", "20 %", "0.0 %", kKindPercentage},
};
const OptionRow kBubbleOptions[] = {
    {1, "Clear Background", 1, 1},
    {2, "Keep Background", 0, 1},
    {3, "Repeat", 0, 1},
};

}  // namespace

const CatalogueRow kBubble = {"Bubble", ApplyBubble, kHelpFile, 4, kBubbleParameters, kBubbleOptions};

}  // namespace ombrix::pic
