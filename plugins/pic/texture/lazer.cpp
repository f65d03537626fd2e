// Lazer (every column or row drawn toward its first pixel) and Lazer Morph (toward a gradient between its first and
// last pixels).
#include <algorithm>
#include <cstring>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"
#include "plugins/pic/pic_kernels.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// Both filters have the same slots.
enum Slot : int32_t { kTransparencyLevel = 2 };
enum Option : int32_t { kVertical = 2, kHorizontal = 3 };

int32_t ApplyLazer(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  const float transparency = ParameterValue(context, kTransparencyLevel);
  if (transparency == 100.0f) return 1;
  const int32_t k = TruncateToInt((1 - 0.01 * static_cast<long double>(transparency)) * 255);
  if (FirstSetOption(context, {kVertical, kHorizontal}) != kHorizontal) {
    // Row y0 mixed toward itself stays as it is, so it is the line of colours for every row.
    StartProgress(zone.x0, zone.x1);
    auto line = Scratch<uint8_t>(3 * size_t(std::max(zone.Width(), 0)));
    if (zone.Height() > 0) std::memcpy(line.get(), PixelAt(pictures.out, zone.x0, zone.y0), 3 * size_t(zone.Width()));
    uint8_t* const* rows = pictures.out;
    const int32_t x0 = zone.x0, y0 = zone.y0, y1 = zone.y1;
    return WalkColumnBands(x0, zone.x1, 1, [&](int64_t from, int64_t to) {
      for (int32_t y = y0; y < y1; ++y)
        MixRowToward(PixelAt(rows, from, y), line.get() + 3 * size_t(from - x0), 3 * size_t(to - from), k);
    });
  }
  return WalkRows(zone, [&](int32_t, uint8_t* p) {
    const uint8_t l0 = p[0], l1 = p[1], l2 = p[2];
    for (int32_t x = zone.x0; x < zone.x1; ++x, p += 3) {
      const uint8_t c0 = p[0], c1 = p[1], c2 = p[2];
      p[0] = MixChannel(c0, l0, k);
      p[1] = MixChannel(c1, l1, k);
      p[2] = MixChannel(c2, l2, k);
    }
  });
}

const ParameterRow kLazerParameters[] = {
    {kTransparencyLevel, "Transparency Level", "50 %", "0 %", kKindPercentage},
};
const OptionRow kLazerOptions[] = {
    {kVertical, "Vertical", 1, 1},
    {kHorizontal, "Horizontal", 0, 1},
};

// The pixel c drawn toward the gradient value g at level k (0..255, floating):
// truncate(k * ((g - c) * 256) + c * 65536) shifted right by 16.
uint8_t MorphChannel(long double k, int32_t c, int32_t g) {
  return uint8_t(TruncateToInt(k * ((g - c) * 256) + c * 65536) >> 16);
}

// The gradient value at position t of a line of `span` between a and b is
// truncate((b - a) / span * t + a) (GradientValue), the quotient taken once per line and
// channel; a line of one pixel has no span and takes a.

// MorphChannel for one level over every (gradient, pixel) byte pair: 64 KB, static storage
// (modules are not re-entrant).
struct MorphTable {
  uint8_t value[256][256];  // [g][c]
  void Fill(long double k) {
    for (int32_t g = 0; g < 256; ++g)
      for (int32_t c = 0; c < 256; ++c) value[g][c] = MorphChannel(k, c, g);
  }
};

int32_t ApplyLazerMorph(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  const float transparency = ParameterValue(context, kTransparencyLevel);
  if (transparency == 100.0f) return 1;
  const long double k = (1 - 0.01 * static_cast<long double>(transparency)) * 255;
  if (zone.Width() < 1 || zone.Height() < 1) return 1;
  static MorphTable morph;
  morph.Fill(k);
  // The gradient lies between two bytes, so it indexes the table; the check keeps any other
  // value on the formula.
  auto mix = [&](int32_t c, int32_t g) { return uint32_t(g) < 256 ? morph.value[g][c] : MorphChannel(k, c, g); };
  if (FirstSetOption(context, {kVertical, kHorizontal}) != kHorizontal) {
    // Row by row over bands of columns; per column and channel the ends and the gradient's
    // slope (b - a) / span are taken once.
    const int32_t span = zone.y1 - 1 - zone.y0;
    const size_t n = 3 * size_t(zone.Width());
    auto ends = Scratch<int32_t>(n);
    auto slopes = Scratch<long double>(n);
    auto near = Scratch<double>(n);
    const uint8_t* top = PixelAt(pictures.out, zone.x0, zone.y0);
    const uint8_t* bottom = PixelAt(pictures.out, zone.x0, zone.y1 - 1);
    for (size_t i = 0; i < n; ++i) {
      ends[i] = top[i];
      slopes[i] = span == 0 ? 0 : static_cast<long double>(bottom[i] - top[i]) / span;
      near[i] = double(slopes[i]);
    }
    StartProgress(zone.x0, zone.x1);
    uint8_t* const* rows = pictures.out;
    const int32_t x0 = zone.x0, y0 = zone.y0, y1 = zone.y1;
    return WalkColumnBands(x0, zone.x1, 1, [&](int64_t from, int64_t to) {
      const size_t i0 = 3 * size_t(from - x0), i1 = 3 * size_t(to - x0);
      for (int32_t y = y0; y < y1; ++y) {
        uint8_t* p = PixelAt(rows, x0, y);
        const int32_t t = y - y0;
        for (size_t i = i0; i < i1; ++i) {
          const int32_t g = span == 0 ? ends[i] : GradientValue(slopes[i], near[i], ends[i], t);
          p[i] = mix(p[i], g);
        }
      }
    });
  }
  const int32_t span = zone.x1 - 1 - zone.x0;
  return WalkRows(zone, [&](int32_t, uint8_t* p) {
    long double slope[3];
    double near[3];
    int32_t a[3];
    for (int ch = 0; ch < 3; ++ch) {
      a[ch] = p[ch];
      slope[ch] = span == 0 ? 0 : static_cast<long double>(p[3 * size_t(span) + ch] - p[ch]) / span;
      near[ch] = double(slope[ch]);
    }
    for (int32_t t = 0; t <= span; ++t, p += 3)
      for (int ch = 0; ch < 3; ++ch) {
        const int32_t g = span == 0 ? a[ch] : GradientValue(slope[ch], near[ch], a[ch], t);
        p[ch] = mix(p[ch], g);
      }
  });
}

const ParameterRow kLazerMorphParameters[] = {
    {kTransparencyLevel, "Transparency Level", "0 %", "0 %", kKindPercentage},
};
const OptionRow kLazerMorphOptions[] = {
    {kVertical, "Vertical", 1, 1},
    {kHorizontal, "Horizontal", 0, 1},
};

}  // namespace

const CatalogueRow kLazer = {"Lazer", ApplyWithPictures<ApplyLazer>, kHelpFile, 13, kLazerParameters, kLazerOptions};
const CatalogueRow kLazerMorph = {
    "Lazer Morph", ApplyWithPictures<ApplyLazerMorph>, kHelpFile, 14, kLazerMorphParameters, kLazerMorphOptions};

}  // namespace ombrix::pic
