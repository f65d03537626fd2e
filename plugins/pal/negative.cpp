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

enum class Overflow { kCheck, kCircular, kAbsolute };

int64_t Modulo256(int64_t d) { return ((d % 256) + 256) % 256; }

uint8_t Invert(int64_t target, int32_t c, Overflow overflow) {
  int64_t d = target - c;
  if (overflow == Overflow::kCircular) d = Modulo256(d);
  if (overflow == Overflow::kAbsolute) d = Modulo256(d < 0 ? -d : d);
  return Clamp(d);
}

int32_t ApplyNegative(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  Overflow overflow = Overflow::kCheck;
  switch (FirstSetOption(*context, {1, 2, 3})) {
    case 2:
      overflow = Overflow::kCircular;
      break;
    case 3:
      overflow = Overflow::kAbsolute;
      break;
    default:
      break;
  }
  // One table per channel, in pixel order blue, green, red (parameters 3, 2, 1).
  uint8_t table[3][256];
  const int32_t parameter_of_channel[3] = {3, 2, 1};
  for (int ch = 0; ch < 3; ++ch) {
    const int64_t target = TruncateToInt(ParameterValue(*context, parameter_of_channel[ch]));
    for (int32_t c = 0; c < 256; ++c) table[ch][c] = Invert(target, c, overflow);
  }
  const ChannelMaps maps(table);
  const size_t bytes = 3 * size_t(zone->Width() > 0 ? zone->Width() : 0);
  return WalkRows(*zone, [&](int32_t, uint8_t* p) { maps.Row(p, bytes); });
}

int32_t ApplyNegativeLight(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  // Each channel's result depends on the pixel's mean and its own value only.
  // The table has no parameter, so it is built once.
  static MeanTableCache cache;
  cache.Prepare(0, [](MeanChannelTable& table) {
    table.Fill([](int32_t mean, int32_t c) { return IntensityChannel(c, mean, 255 - mean); });
    return MeanArithmetic{MeanRule::kInvertIntensity, 0};
  });
  const MeanChannelTable& table = cache.table();
  const MeanArithmetic arithmetic = cache.arithmetic();
  const size_t count = size_t(zone->Width() > 0 ? zone->Width() : 0);
  return WalkRows(*zone, [&](int32_t, uint8_t* p) { MeanTableRow(p, count, table, arithmetic); });
}

const ParameterRow kNegativeParameters[] = {
    {1, "Red Negative", "255", "0", kKindByteRange},
    {2, "Green Negative", "255", "0", kKindByteRange},
    {3, "Blue Negative", "255", "0", kKindByteRange},
};
const OptionRow kNegativeOptions[] = {
    {1, "Check overflow", 1, 1},
    {2, "Circular overflow", 0, 1},
    {3, "Absolute overflow", 0, 1},
};

}  // namespace

const CatalogueRow kNegative = {"Negative", ApplyNegative, kHelpFile, 10, kNegativeParameters, kNegativeOptions};
const CatalogueRow kNegativeLight = {"Negative Light", ApplyNegativeLight, kHelpFile, 9, {}, {}};

}  // namespace ombrix::pal
