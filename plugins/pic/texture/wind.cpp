// Wind, Range Wind and Light Wind: streaks that fade from the picture into the colour of randomly chosen seed pixels.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/kit/random.h"
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"
#include "plugins/pic/texture/streak.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

using Direction = StreakDirection;

// The direction options every wind filter has.
enum Option : int32_t { kHorizontal = 1, kVertical = 2, kDiagonalRight = 3, kDiagonalLeft = 4 };

Direction DirectionOption(const ApplyContext& context) {
  switch (FirstSetOption(context, {kHorizontal, kVertical, kDiagonalRight, kDiagonalLeft})) {
    case kVertical:
      return Direction::kVertical;
    case kDiagonalRight:
      return Direction::kDiagonalRight;
    case kDiagonalLeft:
      return Direction::kDiagonalLeft;
    default:
      return Direction::kHorizontal;
  }
}

// The ramps for streaks up to `longest` pixels, which no streak of the picture exceeds beyond
// its larger side. Without them the streaks take the plain path.
StreakRamps RampsUpTo(const HostPictures& pictures, int64_t longest) {
  StreakRamps ramps;
  ramps.Reset(std::min<int64_t>(longest, std::max(pictures.width, pictures.height)));
  return ramps;
}

// The seeds of one row, drawn ahead of its streaks: the chance draw for every pixel, a seed with
// one chance in n (every pixel without a draw when n is below 1, as ChanceIn has it), and for
// Wind the length draw right after a seed's chance draw, as the pixel-by-pixel walk makes them.
// The draws do not depend on the picture, so the order of draws is unchanged; taking them in a
// loop without branches spares the processor a misjudged branch at every random seed.
class RowSeeds {
 public:
  RowSeeds(int32_t n, const Zone& zone)
      : always_(n < 1),
        chance_(n),
        xs_(size_t(std::max(zone.x1 - zone.x0, 0)) + 1),
        draws_(size_t(std::max(zone.x1 - zone.x0, 0)) + 1) {}

  // The seeds among columns x0 .. x1 - 1; with `length_draw`, a length draw after every seed.
  int32_t Draw(int32_t x0, int32_t x1, bool length_draw) {
    int32_t count = 0;
    if (always_) {
      for (int32_t x = x0; x < x1; ++x) {
        xs_[size_t(count)] = x;
        draws_[size_t(count)] = length_draw ? Random() : 0;
        ++count;
      }
      return count;
    }
    uint32_t state = RandomState();
    for (int32_t x = x0; x < x1; ++x) {
      state = state * 214013u + 2531011u;
      const bool seed = chance_.Of(int32_t((state >> 16) & 0x7FFFu)) == 0;
      const uint32_t next = state * 214013u + 2531011u;
      xs_[size_t(count)] = x;
      draws_[size_t(count)] = int32_t((next >> 16) & 0x7FFFu);
      state = seed && length_draw ? next : state;
      count += seed ? 1 : 0;
    }
    SetRandomState(state);
    return count;
  }
  int32_t x(int32_t i) const { return xs_[size_t(i)]; }
  // The length draw of seed i.
  int32_t draw(int32_t i) const { return draws_[size_t(i)]; }

 private:
  bool always_;
  DrawModulus chance_;
  std::vector<int32_t> xs_, draws_;
};

// n = truncate(100 / Quantity), the division in floating point.
int32_t ChanceDivisor(float quantity) { return TruncateToInt(100.0L / quantity); }

namespace wind {
enum Slot : int32_t { kQuantity = 2, kMaximumLength = 3 };
}  // namespace wind

int32_t ApplyWind(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace wind;
  const float quantity = ParameterValue(context, kQuantity);
  if (quantity == 0.0f) return 1;
  const int32_t n = ChanceDivisor(quantity);
  const int32_t l = TruncateToInt(ParameterValue(context, kMaximumLength));
  const int32_t bound = l == INT32_MIN ? INT32_MAX : std::abs(l);
  const Direction direction = DirectionOption(context);
  const DrawModulus length_draw(bound);
  StreakRamps ramps = RampsUpTo(pictures, l < 1 ? 1 : bound);
  uint8_t* const* rows = pictures.out;
  const int32_t width = pictures.width;
  // A length is drawn only where the maximum allows more than one pixel.
  const bool draws_length = l >= 1;
  RowSeeds seeds(n, zone);
  return WalkRows(zone, [&](int32_t y, uint8_t*) {
    const int32_t count = seeds.Draw(zone.x0, zone.x1, draws_length);
    for (int32_t i = 0; i < count; ++i) {
      const int64_t length = draws_length ? length_draw.Of(seeds.draw(i)) + 1 : 1;
      DrawStreak(rows, width, seeds.x(i), y, length, direction, ramps);
    }
  });
}

const ParameterRow kWindParameters[] = {
    {wind::kQuantity, "Quantity", "50 %", "0 %", kKindPercentage},
    {wind::kMaximumLength, "Maximum lenght", "15", "0", kKindHorizontal},
};
const OptionRow kWindOptions[] = {
    {kHorizontal, "Horizontal", 1, 1},
    {kVertical, "Vertical", 0, 1},
    {kDiagonalRight, "Diagonal Right", 0, 1},
    {kDiagonalLeft, "Diagonal Left", 0, 1},
};

namespace range_wind {
enum Slot : int32_t { kQuantity = 1, kMaximumLength = 2, kBasedLuminosity = 3, kThreshold = 4 };
}  // namespace range_wind

int32_t ApplyRangeWind(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace range_wind;
  const float quantity = ParameterValue(context, kQuantity);
  // A Quantity of 0 would divide by zero; it is taken as no change.
  if (quantity == 0.0f) return 1;
  const int32_t n = ChanceDivisor(quantity);
  const int32_t l = TruncateToInt(ParameterValue(context, kMaximumLength));
  if (l == 0) return 1;
  const int32_t bound = l == INT32_MIN ? INT32_MAX : std::abs(l);
  const int64_t luminosity = TruncateToInt(ParameterValue(context, kBasedLuminosity));
  const int64_t threshold = TruncateToInt(ParameterValue(context, kThreshold));
  const Direction direction = DirectionOption(context);
  const ChanceIn seed_chance(n);
  const DrawModulus length_draw(bound);
  StreakRamps ramps = RampsUpTo(pictures, bound);
  uint8_t* const* rows = pictures.out;
  const int32_t width = pictures.width;
  return WalkRows(zone, [&](int32_t y, uint8_t*) {
    for (int32_t x = zone.x0; x < zone.x1; ++x) {
      // The chance is drawn for every pixel; the length only for a seed in the luminosity range.
      if (!seed_chance.Draw()) continue;
      if (std::llabs(Mean(PixelAt(rows, x, y)) - luminosity) > threshold) continue;
      DrawStreak(rows, width, x, y, length_draw.Of(Random()) + 1, direction, ramps);
    }
  });
}

const ParameterRow kRangeWindParameters[] = {
    {range_wind::kQuantity, "Quantity", "50 %", "0 %", kKindPercentage},
    {range_wind::kMaximumLength, "Maximum lenght (pixel)", "15", "0", kKindHorizontal},
    {range_wind::kBasedLuminosity, "Based Luminosity", "255", "0", kKindByteRange},
    {range_wind::kThreshold, "Threshold", "32", "0", kKindByteRange},
};
const OptionRow kRangeWindOptions[] = {
    {kHorizontal, "Horizontal", 1, 1},
    {kVertical, "Vertical", 0, 1},
    {kDiagonalRight, "Diagonal Right", 0, 1},
    {kDiagonalLeft, "Diagonal Left", 0, 1},
};

namespace light_wind {
enum Slot : int32_t { kQuantity = 2, kMaximumLength = 3, kMinimumLength = 4 };
}  // namespace light_wind

int32_t ApplyLightWind(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace light_wind;
  const float quantity = ParameterValue(context, kQuantity);
  if (TruncateToInt(quantity) == 0) return 1;
  const int32_t n = ChanceDivisor(quantity);
  const int64_t longest = TruncateToInt(ParameterValue(context, kMaximumLength));
  const int64_t shortest = TruncateToInt(ParameterValue(context, kMinimumLength));
  const Direction direction = DirectionOption(context);
  // Brighter seeds give longer streaks: the length of every mean, computed once.
  int64_t length_of_mean[256];
  int64_t most = 0;
  for (int32_t mean = 0; mean < 256; ++mean) {
    length_of_mean[mean] =
        TruncateToInt(static_cast<long double>(mean) * (longest - shortest) * 0.003921569 + shortest);
    most = std::max(most, length_of_mean[mean]);
  }
  StreakRamps ramps = RampsUpTo(pictures, most);
  uint8_t* const* rows = pictures.out;
  const int32_t width = pictures.width;
  RowSeeds seeds(n, zone);
  return WalkRows(zone, [&](int32_t y, uint8_t*) {
    // The seed's mean is read when its streak is drawn: a streak only changes pixels left of
    // its seed, so the seeds after it see the same picture as in a pixel-by-pixel walk.
    const int32_t count = seeds.Draw(zone.x0, zone.x1, false);
    for (int32_t i = 0; i < count; ++i) {
      const int32_t x = seeds.x(i);
      DrawStreak(rows, width, x, y, length_of_mean[Mean(PixelAt(rows, x, y))], direction, ramps);
    }
  });
}

const ParameterRow kLightWindParameters[] = {
    {light_wind::kQuantity, "Quantity", "50 %", "0 %", kKindPercentage},
    {light_wind::kMaximumLength, "Maximum lenght (pixel)", "60", "0", kKindHorizontal},
    {light_wind::kMinimumLength, "Minimum lenght (pixel)", "0", "0", kKindHorizontal},
};
const OptionRow kLightWindOptions[] = {
    {kHorizontal, "Horizontal", 1, 1},
    {kVertical, "Vertical", 0, 1},
    {kDiagonalRight, "Diagonal Right", 0, 1},
    {kDiagonalLeft, "Diagonal Left", 0, 1},
};

}  // namespace

const CatalogueRow kWind = {"Wind", ApplyWithPictures<ApplyWind>, kHelpFile, 33, kWindParameters, kWindOptions};
const CatalogueRow kRangeWind = {
    "Range Wind", ApplyWithPictures<ApplyRangeWind>, kHelpFile, 22, kRangeWindParameters, kRangeWindOptions};
const CatalogueRow kLightWind = {
    "Light Wind", ApplyWithPictures<ApplyLightWind>, kHelpFile, 15, kLightWindParameters, kLightWindOptions};

}  // namespace ombrix::pic
