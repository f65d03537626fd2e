// Combinate: combines each pixel of the zone with the second picture's sample by a bitwise or
// arithmetic operator, clamped to a byte.
#include <cstdint>

#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/com/com_filters.h"
#include "plugins/com/combine_ops.h"
#include "plugins/com/composition_frame.h"

namespace ombrix::com {
namespace {

using namespace ombrix::kit;

int32_t ApplyCombinate(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const float dx = ParameterValue(*context, 2);
  const float dy = ParameterValue(*context, 3);
  // The first set operator of group 1; none set leaves the pixels as they are.
  const auto op = static_cast<Operator>(FirstSetOption(*context, {1, 2, 3, 4, 5, 6}));
  const bool negative = OptionSet(*context, 7);
  const Addressing addressing = AddressingOf(*context);

  return RunWithSecondPicture(*context, PictureSlot::kOfCombinate, [&](const SecondPicture& second) {
    return WalkWithSampleRows(
        *zone, second, addressing, dx, dy, negative,
        [op](int32_t, uint8_t* p, const uint8_t* s, int32_t count) { CombineRow(op, p, s, 3 * size_t(count)); });
  });
}

const ParameterRow kParameters[] = {
    {1, "Picture Name", "(none)", "", kKindPictureFile},
    {2, "X Offset", "0", "0", kKindHorizontal},
    {3, "Y Offset", "0", "0", kKindVertical},
};
const OptionRow kOptions[] = {
    {1, "And", 1, 1},        {2, "Or", 0, 1},       {3, "XOr", 0, 1},    {4, "Add", 0, 1},     {5, "Sub", 0, 1},
    {6, "Difference", 0, 1}, {7, "Negative", 0, 3}, {8, "Normal", 1, 4}, {9, "Stretch", 0, 4}, {10, "Repeat", 0, 4},
};

}  // namespace

// The name ends with a blank, as the catalogue has always spelt it.
const CatalogueRow kCombinate = {"Combinate ", ApplyCombinate, kHelpFile, 1, kParameters, kOptions};

}  // namespace ombrix::com
