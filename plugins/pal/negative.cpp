// Negative (each channel inverted against its own parameter, with three ways to treat overflow)
// and Negative Light (the pixel's intensity inverted, its tint kept).
#include <cstdint>

#include "core/kit/channel_maps.h"
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"
#include "plugins/pal/pixel_rows.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kRedNegative = 1, kGreenNegative = 2, kBlueNegative = 3 };
enum Option : int32_t { kCheckOverflow = 1, kCircularOverflow = 2, kAbsoluteOverflow = 3 };

enum class Overflow { kCheck, kCircular, kAbsolute };

int64_t Modulo256(int64_t d) { return ((d % 256) + 256) % 256; }

uint8_t Invert(int64_t target, int32_t c, Overflow overflow) {
  int64_t d = target - c;
  if (overflow == Overflow::kCircular) d = Modulo256(d);
  if (overflow == Overflow::kAbsolute) d = Modulo256(d < 0 ? -d : d);
  return Clamp(d);
}

int32_t ApplyNegative(const ApplyContext& context, const Zone zone) {
  Overflow overflow = Overflow::kCheck;
  switch (FirstSetOption(context, {kCheckOverflow, kCircularOverflow, kAbsoluteOverflow})) {
    case kCircularOverflow:
      overflow = Overflow::kCircular;
      break;
    case kAbsoluteOverflow:
      overflow = Overflow::kAbsolute;
      break;
    default:
      break;
  }
  // One table per channel, in pixel order blue, green, red.
  uint8_t table[3][256];
  const int32_t parameter_of_channel[3] = {kBlueNegative, kGreenNegative, kRedNegative};
  for (int ch = 0; ch < 3; ++ch) {
    const int64_t target = TruncateToInt(ParameterValue(context, parameter_of_channel[ch]));
    for (int32_t c = 0; c < 256; ++c) table[ch][c] = Invert(target, c, overflow);
  }
  const ChannelMaps maps(table);
  const size_t bytes = 3 * size_t(zone.Width() > 0 ? zone.Width() : 0);
  return WalkRows(zone, [&](int32_t, uint8_t* p) { maps.Row(p, bytes); });
}

int32_t ApplyNegativeLight(const ApplyContext& context, const Zone zone) {
  // Each channel's result depends on the pixel's mean and its own value only.
  // The table has no parameter, so it is built once.
  static MeanTableCache cache;
  cache.Prepare(0, [](MeanChannelTable& table) {
    table.Fill([](int32_t mean, int32_t c) { return IntensityChannel(c, mean, 255 - mean); });
    return MeanArithmetic{MeanRule::kInvertIntensity, 0};
  });
  const MeanChannelTable& table = cache.table();
  const MeanArithmetic arithmetic = cache.arithmetic();
  const size_t count = size_t(zone.Width() > 0 ? zone.Width() : 0);
  return WalkRows(zone, [&](int32_t, uint8_t* p) { MeanTableRow(p, count, table, arithmetic); });
}

const ParameterRow kNegativeParameters[] = {
    {kRedNegative, "Red Negative", "255", "0", kKindByteRange},
    {kGreenNegative, "Green Negative", "255", "0", kKindByteRange},
    {kBlueNegative, "Blue Negative", "255", "0", kKindByteRange},
};
const OptionRow kNegativeOptions[] = {
    {kCheckOverflow, "Check overflow", 1, 1},
    {kCircularOverflow, "Circular overflow", 0, 1},
    {kAbsoluteOverflow, "Absolute overflow", 0, 1},
};

}  // namespace

const CatalogueRow kNegative = {"Negative", ApplyInZone<ApplyNegative>, kHelpFile,
                                10,         kNegativeParameters,        kNegativeOptions};
const CatalogueRow kNegativeLight = {"Negative Light", ApplyInZone<ApplyNegativeLight>, kHelpFile, 9, {}, {}};

}  // namespace ombrix::pal
