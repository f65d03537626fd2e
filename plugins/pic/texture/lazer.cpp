// Lazer (every column or row drawn toward its first pixel) and Lazer Morph (toward a gradient between its first and last pixels).
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

int32_t ApplyLazer(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const float transparency = ParameterValue(*context, 2);
  if (transparency == 100.0f) return 1;
  const int32_t k = TruncateToInt((1 - 0.01 * static_cast<long double>(transparency)) * 255);
  if (FirstSetOption(*context, {2, 3}) != 3) {
    StartProgress(zone->x0, zone->x1);
    for (int32_t x = zone->x0; x < zone->x1; ++x) {
      if (x % 10 == 0 && !Continue(x)) return 0;
      uint8_t line[3];
      CopyPixel(line, PixelAt(pictures->out, x, zone->y0));
      for (int32_t y = zone->y0; y < zone->y1; ++y) MixPixel(PixelAt(pictures->out, x, y), line, k);
    }
    return 1;
  }
  return WalkRows(*zone, [&](int32_t, uint8_t* p) {
    uint8_t line[3];
    CopyPixel(line, p);
    for (int32_t x = zone->x0; x < zone->x1; ++x, p += 3) MixPixel(p, line, k);
  });
}

const ParameterRow kLazerParameters[] = {
    {2, "Transparency Level", "50 %", "0 %", kKindPercentage},
};
const OptionRow kLazerOptions[] = {
    {2, "Vertical", 1, 1}, {3, "Horizontal", 0, 1},
};

// The pixel c drawn toward the gradient value g at level k (0..255, floating):
// truncate(k * ((g - c) * 256) + c * 65536) shifted right by 16.
uint8_t MorphChannel(long double k, int32_t c, int32_t g) {
  return uint8_t(TruncateToInt(k * ((g - c) * 256) + c * 65536) >> 16);
}

// Gradient value at position t of `span` between a and b: truncate((b - a) / span * t + a). A
// line of one pixel has no span and takes a.
int32_t GradientChannel(int32_t a, int32_t b, int32_t span, int32_t t) {
  if (span == 0) return a;
  return TruncateToInt(static_cast<long double>(b - a) / span * t + a);
}

int32_t ApplyLazerMorph(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const float transparency = ParameterValue(*context, 2);
  if (transparency == 100.0f) return 1;
  const long double k = (1 - 0.01 * static_cast<long double>(transparency)) * 255;
  if (zone->Width() < 1 || zone->Height() < 1) return 1;
  if (FirstSetOption(*context, {2, 3}) != 3) {
    const int32_t span = zone->y1 - 1 - zone->y0;
    StartProgress(zone->x0, zone->x1);
    for (int32_t x = zone->x0; x < zone->x1; ++x) {
      if (x % 10 == 0 && !Continue(x)) return 0;
      uint8_t a[3], b[3];
      CopyPixel(a, PixelAt(pictures->out, x, zone->y0));
      CopyPixel(b, PixelAt(pictures->out, x, zone->y1 - 1));
      for (int32_t y = zone->y0; y < zone->y1; ++y) {
        uint8_t* p = PixelAt(pictures->out, x, y);
        for (int ch = 0; ch < 3; ++ch) p[ch] = MorphChannel(k, p[ch], GradientChannel(a[ch], b[ch], span, y - zone->y0));
      }
    }
    return 1;
  }
  const int32_t span = zone->x1 - 1 - zone->x0;
  return WalkRows(*zone, [&](int32_t, uint8_t* p) {
    uint8_t a[3], b[3];
    CopyPixel(a, p);
    CopyPixel(b, p + 3 * size_t(span));
    for (int32_t t = 0; t <= span; ++t, p += 3)
      for (int ch = 0; ch < 3; ++ch) p[ch] = MorphChannel(k, p[ch], GradientChannel(a[ch], b[ch], span, t));
  });
}

const ParameterRow kLazerMorphParameters[] = {
    {2, "Transparency Level", "0 %", "0 %", kKindPercentage},
};
const OptionRow kLazerMorphOptions[] = {
    {2, "Vertical", 1, 1}, {3, "Horizontal", 0, 1},
};

}  // namespace

const CatalogueRow kLazer = {"Lazer", ApplyLazer, kHelpFile, 13, kLazerParameters, kLazerOptions};
const CatalogueRow kLazerMorph = {"Lazer Morph", ApplyLazerMorph, kHelpFile, 14, kLazerMorphParameters, kLazerMorphOptions};

}  // namespace ombrix::pic
