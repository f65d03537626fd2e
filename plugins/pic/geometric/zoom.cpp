// Zoom (a cut-out of the picture scaled over the whole picture) and 16/9 (bars that give the
// zone a wide-screen proportion, the picture squeezed between them or covered by them).
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// c moved toward s at a level t on the scale 0..255: truncate(t * ((s - c) * 256) + c * 65536)
// shifted right by 16.
uint8_t BlendChannel(long double t, int32_t c, int32_t s) {
  return uint8_t(TruncateToInt(t * ((s - c) * 256) + c * 65536) >> 16);
}

namespace zoom {
enum Slot : int32_t { kX0 = 1, kY0 = 2, kX1 = 3, kY1 = 4, kClearColour = 6, kTransparency = 8 };
enum Option : int32_t {
  kClearBackground = 2,
  kKeepBackground = 3,
  kSolid = 6,
  kTransparent = 7,
  kUseExtrapolation = 9
};
}  // namespace zoom

int32_t ApplyZoom(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace zoom;
  const auto cut = ClipZone(TruncateToInt(ParameterValue(context, kX0)), TruncateToInt(ParameterValue(context, kY0)),
                            TruncateToInt(ParameterValue(context, kX1)), TruncateToInt(ParameterValue(context, kY1)),
                            pictures.width, pictures.height);
  if (!cut || cut->Width() < 1 || cut->Height() < 1) return 1;
  const long double t = (FirstSetOption(context, {kSolid, kTransparent}) == kTransparent
                             ? static_cast<long double>(ParameterValue(context, kTransparency)) * 0.01
                             : 1.0L) *
                        255;
  // The cut-out is taken before the zone is cleared: taken after, a cut-out inside the zone
  // would be the clear colour only and the picture would vanish.
  Picture scaled;
  if (!CutOut(pictures.out, *cut, scaled)) return 0;
  if (FirstSetOption(context, {kClearBackground, kKeepBackground}) == kClearBackground) {
    const Bgr clear = ColourParameter(context, kClearColour);
    FillZone(pictures.out, zone, clear.data());
  }
  const bool done = OptionSet(context, kUseExtrapolation) ? ResizePicture(scaled, pictures.width, pictures.height)
                                                          : ScalePicture(scaled, pictures.width, pictures.height);
  if (!done) return 0;
  SetInfoText("Rebuilding picture...");
  // The blend depends on the two bytes only: one table of every pair, filled by the blend itself,
  // so the pixel loop does look-ups instead of extended-precision products.
  auto blend = Scratch<uint8_t>(256 * 256);
  for (int32_t c = 0; c < 256; ++c)
    for (int32_t v = 0; v < 256; ++v) blend[size_t(c) << 8 | size_t(v)] = BlendChannel(t, c, v);
  const uint8_t* const table = blend.get();
  const size_t bytes = 3 * size_t(zone.Width());
  for (int32_t y = zone.y0; y < zone.y1; ++y) {
    uint8_t* p = PixelAt(pictures.out, zone.x0, y);
    const uint8_t* s = scaled.Row(y - zone.y0);
    for (size_t i = 0; i < bytes; ++i) p[i] = table[size_t(p[i]) << 8 | s[i]];
  }
  return 1;
}

const ParameterRow kZoomParameters[] = {
    {zoom::kX0, "X0", "0", "0", kKindHorizontal},
    {zoom::kY0, "Y0", "0", "0", kKindVertical},
    {zoom::kX1, "X1", "320", "0", kKindHorizontal},
    {zoom::kY1, "Y1", "240", "0", kKindVertical},
    {zoom::kClearColour, "Clear Color", "0 0 0", "0 0 0", kKindColour},
    {zoom::kTransparency, "Transparency", "50 %", "0 %", kKindPercentage},
};
const OptionRow kZoomOptions[] = {
    {zoom::kClearBackground, "Clear Background", 1, 1},
    {zoom::kKeepBackground, "Keep Background", 0, 1},
    {zoom::kSolid, "Solid", 1, 2},
    {zoom::kTransparent, "Transparent", 0, 2},
    {zoom::kUseExtrapolation, "Use Extrapolation", 0, 3},
};

// Paints one bar pixel, solid or blended toward the colour.
void PaintBar(uint8_t* p, const Bgr& colour, bool transparent, long double k) {
  if (!transparent)
    CopyPixel(p, colour.data());
  else
    for (int ch = 0; ch < 3; ++ch) p[ch] = BlendChannel(k, p[ch], colour.c[ch]);
}

namespace sixteen_nine {
enum Slot : int32_t { kXProportion = 2, kYProportion = 3, kColour = 5, kTransparency = 9 };
enum Option : int32_t { kStretchPicture = 3, kKillEdges = 4, kSolidBar = 6, kTransparentBar = 7 };
}  // namespace sixteen_nine

int32_t ApplySixteenNine(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace sixteen_nine;
  const int64_t a = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kXProportion))));
  const int64_t b = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kYProportion))));
  const float transparency = ParameterValue(context, kTransparency);
  if (a == 0 || b == 0 || transparency == 100.0f) return 1;
  const long double k = (1 - 0.01 * static_cast<long double>(transparency)) * 255;
  const Bgr colour = ColourParameter(context, kColour);
  const bool stretch = FirstSetOption(context, {kStretchPicture, kKillEdges}) != kKillEdges;
  const bool transparent = FirstSetOption(context, {kSolidBar, kTransparentBar}) == kTransparentBar;
  const int64_t w = zone.Width(), h = zone.Height();
  // b < a: bars at the top and bottom. A picture narrower than the wanted proportion (b >= a)
  // gets bars at the left and right by the same rules with rows and columns exchanged. A bar
  // that the formula would make negative (the zone already narrower than the proportion) is
  // taken as 0, so nothing is written outside the zone.
  const bool across = b < a;
  const int64_t length = across ? h : w;   // the dimension the bars cut into
  const int64_t breadth = across ? w : h;  // the other one
  const int64_t unit = breadth / (across ? a : b);
  int64_t bar = std::max<int64_t>((length - unit * (across ? b : a)) / 2, 0);
  if (stretch) {
    const int64_t kept = length - 2 * bar;
    Picture part;
    if (!CutOut(pictures.out, zone, part)) return length < 1 || breadth < 1 ? 1 : 0;
    if (kept >= 1) {
      const bool done =
          across ? ResizePicture(part, int32_t(w), int32_t(kept)) : ResizePicture(part, int32_t(kept), int32_t(h));
      if (!done) return 0;
    }
    ++bar;
    SetInfoText("Rebuilding picture...");
    // The resized lines go between the bars, from the first line after the top (left) bar.
    for (int64_t i = 0; i < length - 2 * bar && i < kept; ++i) {
      if (across) {
        std::memcpy(PixelAt(pictures.out, zone.x0, zone.y0 + bar + i), part.Row(int32_t(i)), 3 * size_t(w));
      } else {
        for (int64_t y = 0; y < h; ++y)
          CopyPixel(PixelAt(pictures.out, zone.x0 + bar + i, zone.y0 + y), part.Row(int32_t(y)) + 3 * size_t(i));
      }
    }
  }
  StartProgress(0, int32_t(bar));
  for (int64_t i = 0; i < bar; ++i) {
    if (i % 10 == 0 && !Continue(int32_t(i))) return 0;
    for (const int64_t line : {i, length - 1 - i}) {
      if (line < 0 || line >= length) continue;
      if (across) {
        uint8_t* p = PixelAt(pictures.out, zone.x0, zone.y0 + line);
        for (int64_t x = 0; x < w; ++x, p += 3) PaintBar(p, colour, transparent, k);
      } else {
        for (int64_t y = zone.y0; y < zone.y1; ++y)
          PaintBar(PixelAt(pictures.out, zone.x0 + line, y), colour, transparent, k);
      }
      if (line == length - 1 - line) break;
    }
  }
  return 1;
}

const ParameterRow kSixteenNineParameters[] = {
    {sixteen_nine::kXProportion, "X Proportion", "16", "0", kKindPositiveInteger},
    {sixteen_nine::kYProportion, "Y Proportion", "9", "0", kKindPositiveInteger},
    {sixteen_nine::kColour, "Color", "0 0 0", "0 0 0", kKindColour},
    {sixteen_nine::kTransparency, "Transparency", "50 %", "0 %", kKindPercentage},
};
const OptionRow kSixteenNineOptions[] = {
    {sixteen_nine::kStretchPicture, "Stretch Picture", 1, 2},
    {sixteen_nine::kKillEdges, "Kill Edges", 0, 2},
    {sixteen_nine::kSolidBar, "Solid Bar", 1, 3},
    {sixteen_nine::kTransparentBar, "Transparent Bar", 0, 3},
};

}  // namespace

const CatalogueRow kZoom = {"Zoom", ApplyWithPictures<ApplyZoom>, kHelpFile, 34, kZoomParameters, kZoomOptions};
const CatalogueRow kSixteenNine = {
    "16/9", ApplyWithPictures<ApplySixteenNine>, kHelpFile, 0, kSixteenNineParameters, kSixteenNineOptions};

}  // namespace ombrix::pic
