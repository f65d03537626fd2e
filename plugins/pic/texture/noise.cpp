// Add Noise (random offsets per channel on randomly chosen pixels) and Add Dust (random brightness on randomly chosen
// pixels).
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

int32_t ApplyAddNoise(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const int32_t percent = TruncateToInt(ParameterValue(*context, 1));
  if (percent == 0) return 1;
  const int32_t n = 100 / percent;
  int32_t maximum[3];  // blue, green, red
  for (int ch = 0; ch < 3; ++ch) {
    const int64_t m = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 4 - ch))));
    maximum[ch] = m == 0 ? 1 : int32_t(std::min<int64_t>(m, INT32_MAX));
  }
  const ChanceIn chance(n);
  const MagnitudeFirstOffset red_offset(maximum[kRed]), green_offset(maximum[kGreen]), blue_offset(maximum[kBlue]);
  return ForEachWorkPixel(*zone, [&](uint8_t* p) {
    if (!chance.Draw()) return;
    // Red, green, blue, each magnitude first.
    const int32_t red = red_offset.Draw();
    const int32_t green = green_offset.Draw();
    const int32_t blue = blue_offset.Draw();
    p[kRed] = Clamp(int64_t(p[kRed]) + red);
    p[kGreen] = Clamp(int64_t(p[kGreen]) + green);
    p[kBlue] = Clamp(int64_t(p[kBlue]) + blue);
  });
}

const ParameterRow kAddNoiseParameters[] = {
    {1, "Percent", "25 %", "0 %", kKindPercentage},
    {2, "Maximum Red", "128", "0", kKindByteRange},
    {3, "Maximum Green", "128", "0", kKindByteRange},
    {4, "Maximum Blue", "128", "0", kKindByteRange},
};

int32_t ApplyAddDust(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const int32_t percent = TruncateToInt(ParameterValue(*context, 2));
  if (percent == 0) return 1;
  const int32_t n = 100 / percent;
  const int64_t m = std::llabs(int64_t(TruncateToInt(ParameterValue(*context, 3))));
  if (m == 0) return 1;
  const int32_t bound = int32_t(std::min<int64_t>(m, INT32_MAX));
  const bool grey = FirstSetOption(*context, {2, 3}) != 3;
  const ChanceIn chance(n);
  const MagnitudeFirstOffset offset(bound);
  return ForEachWorkPixel(*zone, [&](uint8_t* p) {
    if (!chance.Draw()) return;
    const uint8_t level = Clamp(int64_t(Mean(p)) + offset.Draw());
    if (grey)
      p[0] = p[1] = p[2] = level;
    else
      SetIntensity(p, level);
  });
}

const ParameterRow kAddDustParameters[] = {
    {2, "Percent", "50 %", "0 %", kKindPercentage},
    {3, "Maximum Dust", "128", "0", kKindByteRange},
};
const OptionRow kAddDustOptions[] = {
    {2, "Gray Scale", 1, 1},
    {3, "Keep Color", 0, 1},
};

}  // namespace

const CatalogueRow kAddNoise = {"Add Noise", ApplyAddNoise, kHelpFile, 35, kAddNoiseParameters, {}};
const CatalogueRow kAddDust = {"Add Dust", ApplyAddDust, kHelpFile, 1, kAddDustParameters, kAddDustOptions};

}  // namespace ombrix::pic
