// Wind, Range Wind and Light Wind: streaks that fade from the picture into the colour of randomly chosen seed pixels.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/kit/random.h"
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

enum class Direction { kHorizontal, kVertical, kDiagonalRight, kDiagonalLeft };

Direction DirectionOption(const ApplyContext& context) {
  switch (FirstSetOption(context, {1, 2, 3, 4})) {
    case 2: return Direction::kVertical;
    case 3: return Direction::kDiagonalRight;
    case 4: return Direction::kDiagonalLeft;
    default: return Direction::kHorizontal;
  }
}

// Draws a streak of `length` pixels ending at the seed (x, y): the pixel at step t from the far
// end s becomes c + truncate((seed - c) / (e - s) * t), fading from the picture into the seed's
// colour. The diagonal streaks step one row up and one column aside per pixel, their length
// limited by row 0 and the picture's side, and take the same ramp, far end first.
void DrawStreak(const HostPictures& pictures, int64_t x, int64_t y, int64_t length, Direction direction) {
  if (length < 1) return;
  int64_t steps = 0, dx = 0, dy = 0;  // from the seed to the far end, one step
  switch (direction) {
    case Direction::kHorizontal: steps = std::min(length, x), dx = -1; break;
    case Direction::kVertical: steps = std::min(length, y), dy = -1; break;
    case Direction::kDiagonalRight: steps = std::min({length, y, pictures.width - 1 - x}), dx = 1, dy = -1; break;
    case Direction::kDiagonalLeft: steps = std::min({length, y, x}), dx = -1, dy = -1; break;
  }
  if (steps < 1) return;
  uint8_t seed[3];
  CopyPixel(seed, PixelAt(pictures.out, x, y));
  for (int64_t t = 0; t < steps; ++t) {
    uint8_t* p = PixelAt(pictures.out, x + dx * (steps - t), y + dy * (steps - t));
    for (int ch = 0; ch < 3; ++ch)
      p[ch] = uint8_t(p[ch] + TruncateToInt(static_cast<long double>(seed[ch] - p[ch]) / steps * t));
  }
}

// n = truncate(100 / Quantity), the division in floating point.
int32_t ChanceDivisor(float quantity) { return TruncateToInt(100.0L / quantity); }

int32_t ApplyWind(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const float quantity = ParameterValue(*context, 2);
  if (quantity == 0.0f) return 1;
  const int32_t n = ChanceDivisor(quantity);
  const int32_t l = TruncateToInt(ParameterValue(*context, 3));
  const int32_t bound = l == INT32_MIN ? INT32_MAX : std::abs(l);
  const Direction direction = DirectionOption(*context);
  return WalkRows(*zone, [&](int32_t y, uint8_t*) {
    for (int32_t x = zone->x0; x < zone->x1; ++x) {
      if (!OneChanceIn(n)) continue;
      const int64_t length = l < 1 ? 1 : Random() % bound + 1;
      DrawStreak(*pictures, x, y, length, direction);
    }
  });
}

const ParameterRow kWindParameters[] = {
    {2, "Quantity", "50 %", "0 %", kKindPercentage},
    {3, "Maximum lenght", "15", "0", kKindHorizontal},
};
const OptionRow kWindOptions[] = {
    {1, "Horizontal", 1, 1}, {2, "Vertical", 0, 1}, {3, "Diagonal Right", 0, 1}, {4, "Diagonal Left", 0, 1},
};

int32_t ApplyRangeWind(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const float quantity = ParameterValue(*context, 1);
  // A Quantity of 0 would divide by zero; it is taken as no change.
  if (quantity == 0.0f) return 1;
  const int32_t n = ChanceDivisor(quantity);
  const int32_t l = TruncateToInt(ParameterValue(*context, 2));
  if (l == 0) return 1;
  const int32_t bound = l == INT32_MIN ? INT32_MAX : std::abs(l);
  const int64_t luminosity = TruncateToInt(ParameterValue(*context, 3));
  const int64_t threshold = TruncateToInt(ParameterValue(*context, 4));
  const Direction direction = DirectionOption(*context);
  return WalkRows(*zone, [&](int32_t y, uint8_t*) {
    for (int32_t x = zone->x0; x < zone->x1; ++x) {
      // The chance is drawn for every pixel; the length only for a seed in the luminosity range.
      if (!OneChanceIn(n)) continue;
      if (std::llabs(Mean(PixelAt(pictures->out, x, y)) - luminosity) > threshold) continue;
      DrawStreak(*pictures, x, y, Random() % bound + 1, direction);
    }
  });
}

const ParameterRow kRangeWindParameters[] = {
    {1, "Quantity", "50 %", "0 %", kKindPercentage},
    {2, "Maximum lenght (pixel)", "15", "0", kKindHorizontal},
    {3, "Based Luminosity", "255", "0", kKindByteRange},
    {4, "Threshold", "32", "0", kKindByteRange},
};
const OptionRow kRangeWindOptions[] = {
    {1, "Horizontal", 1, 1}, {2, "Vertical", 0, 1}, {3, "Diagonal Right", 0, 1}, {4, "Diagonal Left", 0, 1},
};

int32_t ApplyLightWind(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const float quantity = ParameterValue(*context, 2);
  if (TruncateToInt(quantity) == 0) return 1;
  const int32_t n = ChanceDivisor(quantity);
  const int64_t longest = TruncateToInt(ParameterValue(*context, 3));
  const int64_t shortest = TruncateToInt(ParameterValue(*context, 4));
  const Direction direction = DirectionOption(*context);
  return WalkRows(*zone, [&](int32_t y, uint8_t*) {
    for (int32_t x = zone->x0; x < zone->x1; ++x) {
      if (!OneChanceIn(n)) continue;
      // Brighter seeds give longer streaks.
      const int64_t mean = Mean(PixelAt(pictures->out, x, y));
      const int64_t length = TruncateToInt(static_cast<long double>(mean) * (longest - shortest) * 0.003921569 + shortest);
      DrawStreak(*pictures, x, y, length, direction);
    }
  });
}

const ParameterRow kLightWindParameters[] = {
    {2, "Quantity", "50 %", "0 %", kKindPercentage},
    {3, "Maximum lenght (pixel)", "60", "0", kKindHorizontal},
    {4, "Minimum lenght (pixel)", "0", "0", kKindHorizontal},
};
const OptionRow kLightWindOptions[] = {
    {1, "Horizontal", 1, 1}, {2, "Vertical", 0, 1}, {3, "Diagonal Right", 0, 1}, {4, "Diagonal Left", 0, 1},
};

}  // namespace

const CatalogueRow kWind = {"Wind", ApplyWind, kHelpFile, 33, kWindParameters, kWindOptions};
const CatalogueRow kRangeWind = {"Range Wind", ApplyRangeWind, kHelpFile, 22, kRangeWindParameters, kRangeWindOptions};
const CatalogueRow kLightWind = {"Light Wind", ApplyLightWind, kHelpFile, 15, kLightWindParameters, kLightWindOptions};

}  // namespace ombrix::pic
