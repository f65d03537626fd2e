// Flag: waves the zone like a flag, rows shifted by a row sine and columns by a column sine.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t {
  kXAmplitude = 1,
  kYAmplitude = 2,
  kXFrequency = 3,
  kYFrequency = 4,
  kXOffset = 5,
  kYOffset = 6,
  kClearColour = 10
};
enum Option : int32_t { kClearBackground = 1, kKeepBackground = 2, kRepeat = 3 };

int32_t ApplyFlag(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  const int32_t ax = TruncateToInt(ParameterValue(context, kXAmplitude));
  const int32_t ay = TruncateToInt(ParameterValue(context, kYAmplitude));
  const int32_t fx = TruncateToInt(ParameterValue(context, kXFrequency));
  const int32_t fy = TruncateToInt(ParameterValue(context, kYFrequency));
  const int32_t ox = TruncateToInt(ParameterValue(context, kXOffset));
  const int32_t oy = TruncateToInt(ParameterValue(context, kYOffset));
  const int32_t option = FirstSetOption(context, {kClearBackground, kKeepBackground, kRepeat});
  const Background mode = option == kKeepBackground ? Background::kKeep
                          : option == kRepeat       ? Background::kRepeat
                                                    : Background::kClear;
  const Bgr clear = ColourParameter(context, kClearColour);
  // The waves reach up to the amplitudes beyond the zone; a negative amplitude widens as much
  // as its magnitude.
  const int64_t wx = std::llabs(int64_t(ax)), wy = std::llabs(int64_t(ay));
  const Zone area{int32_t(std::max<int64_t>(zone.x0 - wx, 0)), int32_t(std::max<int64_t>(zone.y0 - wy, 0)),
                  int32_t(std::min<int64_t>(zone.x1 + wx, pictures.width)),
                  int32_t(std::min<int64_t>(zone.y1 + wy, pictures.height))};
  // The column sine depends on the column only: one table per call.
  auto column_shift = Scratch<double>(size_t(std::max(area.Width(), 0)));
  for (int32_t x = area.x0; x < area.x1; ++x)
    column_shift[x - area.x0] = std::sin((double(x) + ox) * fx * kRadiansPerDegree) * ax;
  const Picture& input = *pictures.input;
  const BilinearSampler sampler(input);
  const double* const shift = column_shift.get();
  const int32_t x0 = area.x0, x1 = area.x1, width = pictures.width;
  StartProgress(zone.y0, zone.y1);
  for (int32_t y = area.y0; y < area.y1; ++y) {
    if (y % 10 == 0 && !Continue(y)) return 0;
    const double row_shift = ay * std::sin((double(y) + oy) * fy * kRadiansPerDegree);
    uint8_t* p = PixelAt(pictures.out, x0, y);
    if (mode == Background::kRepeat) {
      for (int32_t x = x0; x < x1; ++x, p += 3) SampleWrapped(input, float(x - row_shift), float(y - shift[x - x0]), p);
    } else if (mode == Background::kKeep) {
      // Keep Background takes the pixel to the right (not yet changed, so INPUT's); the
      // rightmost column keeps the last one taken.
      const uint8_t* const input_row = pictures.in[y];
      uint8_t keep[3];
      CopyPixel(keep, p);
      for (int32_t x = x0; x < x1; ++x, p += 3) {
        if (x + 1 < width) CopyPixel(keep, input_row + 3 * size_t(x + 1));
        uint8_t s[3];
        sampler.Sample(float(x - row_shift), float(y - shift[x - x0]), keep, s);
        CopyPixel(p, s);
      }
    } else {
      for (int32_t x = x0; x < x1; ++x, p += 3) {
        uint8_t s[3];
        sampler.Sample(float(x - row_shift), float(y - shift[x - x0]), clear.c, s);
        CopyPixel(p, s);
      }
    }
  }
  return 1;
}

const ParameterRow kParameters[] = {
    {kXAmplitude, "X Amplitude", "15", "0", kKindHorizontal},
    {kYAmplitude, "Y Amplitude", "15", "0", kKindVertical},
    {kXFrequency, "X Frequency", "1", "0", kKindHorizontal},
    {kYFrequency, "Y Frequency", "1", "0", kKindVertical},
    {kXOffset, "X Offset", "0", "0", kKindHorizontal},
    {kYOffset, "Y Offset", "0", "0", kKindVertical},
    {kClearColour, "Clear Color", "0 0 0", "0 0 0", kKindColour},
};
const OptionRow kOptions[] = {
    {kClearBackground, "Clear Background", 1, 1},
    {kKeepBackground, "Keep Background", 0, 1},
    {kRepeat, "Repeat", 0, 1},
};

}  // namespace

const CatalogueRow kFlag = {"Flag", ApplyWithPictures<ApplyFlag>, kHelpFile, 9, kParameters, kOptions};

}  // namespace ombrix::pic
