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

namespace add_noise {
enum Slot : int32_t { kPercent = 1, kMaximumRed = 2, kMaximumGreen = 3, kMaximumBlue = 4 };
}  // namespace add_noise

int32_t ApplyAddNoise(const ApplyContext& context, const Zone zone) {
  using namespace add_noise;
  const int32_t percent = TruncateToInt(ParameterValue(context, kPercent));
  if (percent == 0) return 1;
  const int32_t n = 100 / percent;
  int32_t maximum[3];
  const int32_t slot_of_channel[3] = {kMaximumBlue, kMaximumGreen, kMaximumRed};
  for (int ch = 0; ch < 3; ++ch) {
    const int64_t m = std::llabs(int64_t(TruncateToInt(ParameterValue(context, slot_of_channel[ch]))));
    maximum[ch] = m == 0 ? 1 : int32_t(std::min<int64_t>(m, INT32_MAX));
  }
  const ChanceIn chance(n);
  const MagnitudeFirstOffset red_offset(maximum[kRed]), green_offset(maximum[kGreen]), blue_offset(maximum[kBlue]);
  return ForEachWorkPixel(zone, [&](uint8_t* p) {
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
    {add_noise::kPercent, "Percent", "25 %", "0 %", kKindPercentage},
    {add_noise::kMaximumRed, "Maximum Red", "128", "0", kKindByteRange},
    {add_noise::kMaximumGreen, "Maximum Green", "128", "0", kKindByteRange},
    {add_noise::kMaximumBlue, "Maximum Blue", "128", "0", kKindByteRange},
};

namespace add_dust {
enum Slot : int32_t { kPercent = 2, kMaximumDust = 3 };
enum Option : int32_t { kGrayScale = 2, kKeepColour = 3 };
}  // namespace add_dust

int32_t ApplyAddDust(const ApplyContext& context, const Zone zone) {
  using namespace add_dust;
  const int32_t percent = TruncateToInt(ParameterValue(context, kPercent));
  if (percent == 0) return 1;
  const int32_t n = 100 / percent;
  const int64_t m = std::llabs(int64_t(TruncateToInt(ParameterValue(context, kMaximumDust))));
  if (m == 0) return 1;
  const int32_t bound = int32_t(std::min<int64_t>(m, INT32_MAX));
  const bool grey = FirstSetOption(context, {kGrayScale, kKeepColour}) != kKeepColour;
  const ChanceIn chance(n);
  const MagnitudeFirstOffset offset(bound);
  return ForEachWorkPixel(zone, [&](uint8_t* p) {
    if (!chance.Draw()) return;
    const uint8_t level = Clamp(int64_t(Mean(p)) + offset.Draw());
    if (grey)
      p[0] = p[1] = p[2] = level;
    else
      SetIntensity(p, level);
  });
}

const ParameterRow kAddDustParameters[] = {
    {add_dust::kPercent, "Percent", "50 %", "0 %", kKindPercentage},
    {add_dust::kMaximumDust, "Maximum Dust", "128", "0", kKindByteRange},
};
const OptionRow kAddDustOptions[] = {
    {add_dust::kGrayScale, "Gray Scale", 1, 1},
    {add_dust::kKeepColour, "Keep Color", 0, 1},
};

}  // namespace

const CatalogueRow kAddNoise = {"Add Noise", ApplyInZone<ApplyAddNoise>, kHelpFile, 35, kAddNoiseParameters, {}};
const CatalogueRow kAddDust = {"Add Dust", ApplyInZone<ApplyAddDust>, kHelpFile,
                               1,          kAddDustParameters,        kAddDustOptions};

}  // namespace ombrix::pic
