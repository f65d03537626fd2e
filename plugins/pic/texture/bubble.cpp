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

enum Slot : int32_t {
  kNumber = 1,
  kMaximumRadius = 3,
  kRoundFactor = 4,
  kRedFactor = 6,
  kGreenFactor = 7,
  kBlueFactor = 8,
  kClearColour = 9,
  kTransparency = 10
};
enum Option : int32_t { kClearBackground = 1, kKeepBackground = 2, kRepeat = 3 };

int32_t ApplyBubble(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  const int64_t n = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kNumber))));
  const int64_t largest = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kMaximumRadius))));
  if (n == 0 || largest == 0) return 1;
  const int32_t max_radius = int32_t(std::min<int64_t>(largest, 65535));
  const float round_factor = ParameterValue(context, kRoundFactor);
  const float factor[3] = {ParameterValue(context, kBlueFactor), ParameterValue(context, kGreenFactor),
                           ParameterValue(context, kRedFactor)};
  uint8_t scaled[3][256];
  for (int ch = 0; ch < 3; ++ch)
    for (int32_t c = 0; c < 256; ++c) scaled[ch][c] = Clamp(TruncateToInt(static_cast<long double>(c) * factor[ch]));
  const Bgr clear = ColourParameter(context, kClearColour);
  const int32_t k = TruncateToInt((1 - 0.01 * static_cast<long double>(ParameterValue(context, kTransparency))) * 255);
  const int32_t option = FirstSetOption(context, {kClearBackground, kKeepBackground, kRepeat});
  const Background mode = option == kKeepBackground ? Background::kKeep
                          : option == kRepeat       ? Background::kRepeat
                                                    : Background::kClear;
  const Picture& input = *pictures.input;
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
    const int32_t first = draw(max_radius + zone.Width());
    const int32_t second = draw(max_radius + zone.Height());
    const int64_t cx = zone.x0 + second, cy = zone.y0 + first;
    const float a = 2.0f * float(r) * round_factor;
    const int64_t x0 = std::max<int64_t>(cx - r, 0), x1 = std::min<int64_t>(cx + r, pictures.width - 1);
    const int64_t y0 = std::max<int64_t>(cy - r, 0), y1 = std::min<int64_t>(cy + r, pictures.height - 1);
    for (int64_t y = y0; y <= y1; ++y)
      for (int64_t x = x0; x <= x1; ++x) {
        const int64_t dx = x - cx, dy = y - cy;
        float d = std::sqrt(float(dx * dx + dy * dy));
        if (!(d < r)) continue;
        if (d == 0) d = 1;
        const double s = a * std::sin(1.57 * d / a);
        const float u = float(cx + 2.0 * dx * d / s), v = float(cy + 2.0 * dy * d / s);
        uint8_t* p = PixelAt(pictures.out, x, y);
        uint8_t sample[3];
        SampleWithBackground(input, u, v, mode, mode == Background::kKeep ? p : clear.data(), sample);
        for (int ch = 0; ch < 3; ++ch) sample[ch] = scaled[ch][sample[ch]];
        MixPixel(p, sample, k);
      }
    SmoothDiscEdge(pictures.out, pictures.width, pictures.height, int32_t(cx), int32_t(cy), r);
  }
  return 1;
}

const ParameterRow kBubbleParameters[] = {
    {kNumber, "Number", "10", "0", kKindPositiveInteger},
    {kMaximumRadius, "Maximum Radius", "100", "0", kKindHorizontal},
    {kRoundFactor, "Round Factor", "1", "0", kKindPositiveReal},
    {kRedFactor, "Red Factor", "1", "0.0", kKindReal},
    {kGreenFactor, "Green Factor", "1", "0.0", kKindReal},
    {kBlueFactor, "Blue Factor", "1.1", "0.0", kKindReal},
    {kClearColour, "Clear Color", "0 0 0", "0 0 0", kKindColour},
    {kTransparency, "Transparency", "20 %", "0.0 %", kKindPercentage},
};
const OptionRow kBubbleOptions[] = {
    {kClearBackground, "Clear Background", 1, 1},
    {kKeepBackground, "Keep Background", 0, 1},
    {kRepeat, "Repeat", 0, 1},
};

}  // namespace

const CatalogueRow kBubble = {"Bubble",      ApplyWithPictures<ApplyBubble>, kHelpFile, 4, kBubbleParameters,
                              kBubbleOptions};

}  // namespace ombrix::pic
