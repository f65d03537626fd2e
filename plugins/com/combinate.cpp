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

enum Slot : int32_t { kXOffset = 2, kYOffset = 3 };
// Option slots 1 to 6 are the operators, numbered as Operator numbers them.
enum Option : int32_t { kAnd = 1, kOr, kXOr, kAdd, kSub, kDifference, kNegative };

int32_t ApplyCombinate(const ApplyContext& context, const Zone zone) {
  const float dx = ParameterValue(context, kXOffset);
  const float dy = ParameterValue(context, kYOffset);
  // The first set operator of group 1; none set leaves the pixels as they are.
  const auto op = static_cast<Operator>(FirstSetOption(context, {kAnd, kOr, kXOr, kAdd, kSub, kDifference}));
  const bool negative = OptionSet(context, kNegative);
  const Addressing addressing = AddressingOf(context);

  return RunWithSecondPicture(context, PictureSlot::kOfCombinate, [&](const SecondPicture& second) {
    return WalkWithSampleRows(
        zone, second, addressing, dx, dy, negative,
        [op](int32_t, uint8_t* p, const uint8_t* s, int32_t count) { CombineRow(op, p, s, 3 * size_t(count)); });
  });
}

const ParameterRow kParameters[] = {
    {kPictureName, "Picture Name", "(none)", "", kKindPictureFile},
    {kXOffset, "X Offset", "0", "0", kKindHorizontal},
    {kYOffset, "Y Offset", "0", "0", kKindVertical},
};
const OptionRow kOptions[] = {
    {kAnd, "And", 1, 1},           {kOr, "Or", 0, 1},         {kXOr, "XOr", 0, 1},
    {kAdd, "Add", 0, 1},           {kSub, "Sub", 0, 1},       {kDifference, "Difference", 0, 1},
    {kNegative, "Negative", 0, 3}, {kNormal, "Normal", 1, 4}, {kStretch, "Stretch", 0, 4},
    {kRepeat, "Repeat", 0, 4},
};

}  // namespace

// The name ends with a blank, as the catalogue has always spelt it.
const CatalogueRow kCombinate = {"Combinate ", ApplyInZone<ApplyCombinate>, kHelpFile, 1, kParameters, kOptions};

}  // namespace ombrix::com
