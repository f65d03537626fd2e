// Emboss (relief from the difference to a neighbour) and Line Art (lines where neighbours differ).
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// Entry i of a ramp of `steps` entries: entry + truncate((exit - entry) / steps * i) per channel.
void RampEntry(const Bgr& entry, const Bgr& exit, int32_t steps, int32_t i, uint8_t out[3]) {
  for (int ch = 0; ch < 3; ++ch)
    out[ch] = uint8_t(entry.c[ch] + TruncateToInt(static_cast<long double>(exit.c[ch] - entry.c[ch]) / steps * i));
}

// Walks the zone so that every neighbour at (x + dx, y + dy) is read before it changes:
// columns and rows in the direction of the offset. Progress counts the rows done. Rows whose
// neighbour row lies outside the picture are left; a neighbour column outside gives black.
template <typename PixelFunction>
int32_t WalkTowardNeighbour(const HostPictures& pictures, const Zone& zone, int64_t dx, int64_t dy,
                            PixelFunction&& pixel) {
  static const uint8_t kBlack[3] = {0, 0, 0};
  const int64_t w = pictures.work->Width(), h = pictures.work->Height();
  const int64_t step = dx >= 0 ? 1 : -1;
  const int32_t width = zone.Width();
  StartProgress(0, zone.Height());
  for (int32_t counter = 0; counter < zone.Height(); ++counter) {
    if (counter % 10 == 0 && !Continue(counter)) return 0;
    const int64_t y = dy >= 0 ? zone.y0 + counter : zone.y1 - 1 - counter;
    const int64_t ny = y + dy;
    if (ny < 0 || ny >= h) continue;
    uint8_t* const row = pictures.out[y];
    const uint8_t* const neighbours = pictures.out[ny];
    int64_t x = dx >= 0 ? zone.x0 : zone.x1 - 1;
    for (int32_t i = 0; i < width; ++i, x += step) {
      const int64_t nx = x + dx;
      pixel(row + 3 * x, nx >= 0 && nx < w ? neighbours + 3 * nx : kBlack);
    }
  }
  return 1;
}

namespace emboss {
enum Slot : int32_t { kXOffset = 1, kYOffset = 2, kEntryColour = 6, kExitColour = 7, kMiddleGray = 9, kThreshold = 10 };
enum Option : int32_t { kGrayScale = 2, kSpecial = 3, kColour = 4, kNormal = 6, kGray = 7, kBlack = 8 };
}  // namespace emboss

int32_t ApplyEmboss(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace emboss;
  const int64_t dx = TruncateToInt(ParameterValue(context, kXOffset));
  const int64_t dy = TruncateToInt(ParameterValue(context, kYOffset));
  const long double middle = std::fabs(static_cast<long double>(ParameterValue(context, kMiddleGray)));
  if (middle == 0) return 1;
  const int64_t threshold = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kThreshold))));
  const Bgr entry = ColourParameter(context, kEntryColour), exit = ColourParameter(context, kExitColour);
  uint8_t gradient[256][3];
  for (int32_t i = 0; i < 256; ++i) RampEntry(entry, exit, 256, i, gradient[i]);
  const int32_t mode = FirstSetOption(context, {kGrayScale, kSpecial, kColour});
  const int32_t special = FirstSetOption(context, {kNormal, kGray, kBlack});
  // The index of a pixel from its mean and its neighbour's channel sum.
  auto index = [](const uint8_t* p, const uint8_t* n, int32_t& w) {
    w = Mean(p);
    const int32_t nsum = int32_t(n[0]) + n[1] + n[2];
    return (nsum / -3 - w + 255) / 2 + w;
  };
  auto walk = [&](auto&& pixel) { return WalkTowardNeighbour(pictures, zone, dx, dy, pixel); };
  if (mode == kGrayScale) {
    return walk([&gradient, index](uint8_t* p, const uint8_t* n) {
      int32_t w;
      const uint8_t* colour = gradient[index(p, n, w)];
      const uint8_t c0 = colour[0], c1 = colour[1], c2 = colour[2];
      p[0] = c0, p[1] = c1, p[2] = c2;
    });
  }
  if (mode == kSpecial) {
    return walk([special, threshold, middle, index](uint8_t* p, const uint8_t* n) {
      int32_t w;
      const int32_t i = index(p, n, w);
      if (special == kGray) {
        SetIntensity(p, i);
      } else if (special == kBlack) {
        if (std::abs(i - 128) > threshold)
          SetIntensity(p, TruncateToInt(static_cast<long double>(w) * i / middle));
        else
          p[0] = p[1] = p[2] = 0;
      } else {
        for (int ch = 0; ch < 3; ++ch) p[ch] = Clamp(TruncateToInt(static_cast<long double>(p[ch]) * i / middle));
      }
    });
  }
  return walk([](uint8_t* p, const uint8_t* n) {
    const int32_t n0 = n[0], n1 = n[1], n2 = n[2];
    p[0] = uint8_t((p[0] - n0 + 255) / 2);
    p[1] = uint8_t((p[1] - n1 + 255) / 2);
    p[2] = uint8_t((p[2] - n2 + 255) / 2);
  });
}

const ParameterRow kEmbossParameters[] = {
    {emboss::kXOffset, "X Offset", "2", "0", kKindHorizontal},
    {emboss::kYOffset, "Y Offset", "2", "0", kKindVertical},
    {emboss::kEntryColour, "Entry Color", "0 0 0", "0 0 0", kKindColour},
    {emboss::kExitColour, "Exit Color", "255 255 255", "0 0 0", kKindColour},
    {emboss::kMiddleGray, "Middle Gray", "128", "0", kKindByteRange},
    {emboss::kThreshold, "Threshold", "8", "0", kKindByteRange},
};
const OptionRow kEmbossOptions[] = {
    {emboss::kGrayScale, "Gray Scale", 1, 1}, {emboss::kSpecial, "Special", 0, 1}, {emboss::kColour, "Color", 0, 1},
    {emboss::kNormal, "Normal", 1, 2},        {emboss::kGray, "Gray", 0, 2},       {emboss::kBlack, "Black", 0, 2},
};

namespace line_art {
enum Slot : int32_t { kXOffset = 1, kYOffset = 2, kGrayScale = 4, kEntryColour = 6, kExitColour = 7 };
}  // namespace line_art

int32_t ApplyLineArt(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace line_art;
  const int64_t dx = TruncateToInt(ParameterValue(context, kXOffset));
  const int64_t dy = TruncateToInt(ParameterValue(context, kYOffset));
  int64_t g = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kGrayScale))));
  if (g == 0) return 1;
  if (g > 128) g = 127;
  const Bgr entry = ColourParameter(context, kEntryColour), exit = ColourParameter(context, kExitColour);
  // Flat areas (index near 127) take the Exit Color; the first g entries ramp from Entry to
  // Exit and the last g entries mirror them, so the table ends at index 255 on the Entry Color.
  uint8_t table[256][3];
  for (auto& colour : table) CopyPixel(colour, exit.data());
  for (int32_t i = 0; i < g; ++i) {
    RampEntry(entry, exit, int32_t(g), i, table[i]);
    CopyPixel(table[255 - i], table[i]);
  }
  return WalkTowardNeighbour(pictures, zone, dx, dy, [&table](uint8_t* p, const uint8_t* n) {
    const int32_t w = int32_t(p[0]) + p[1] + p[2];
    const int32_t nsum = int32_t(n[0]) + n[1] + n[2];
    const uint8_t* colour = table[(nsum / -3 - w / 3 + 255) / 2 + w / 3];
    const uint8_t c0 = colour[0], c1 = colour[1], c2 = colour[2];
    p[0] = c0, p[1] = c1, p[2] = c2;
  });
}

const ParameterRow kLineArtParameters[] = {
    {line_art::kXOffset, "X Offset", "2", "0", kKindHorizontal},
    {line_art::kYOffset, "Y Offset", "2", "0", kKindVertical},
    {line_art::kGrayScale, "Gray Scale", "120", "0", kKindByteRange},
    {line_art::kEntryColour, "Entry Color", "0 0 0", "0 0 0", kKindColour},
    {line_art::kExitColour, "Exit Color", "255 255 255", "0 0 0", kKindColour},
};

}  // namespace

const CatalogueRow kEmboss = {"Emboss",      ApplyWithPictures<ApplyEmboss>, kHelpFile, 8, kEmbossParameters,
                              kEmbossOptions};
const CatalogueRow kLineArt = {"Line Art", ApplyWithPictures<ApplyLineArt>, kHelpFile, 16, kLineArtParameters, {}};

}  // namespace ombrix::pic
