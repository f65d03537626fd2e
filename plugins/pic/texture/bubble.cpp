// Bubble: magnifying bubbles scattered over the zone.
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// Not written yet: the host reports a failed apply.
int32_t ApplyBubble(ApplyContext*) { return 0; }

const ParameterRow kBubbleParameters[] = {
    {1, "Number", "10", "0", kKindPositiveInteger},
    {3, "Maximum Radius", "100", "0", kKindHorizontal},
    {4, "Round Factor", "1", "0", kKindPositiveReal},
    {6, "Red Factor", "1", "0.0", kKindReal},
    {7, "Green Factor", "1", "0.0", kKindReal},
    {8, "Blue Factor", "1.1", "0.0", kKindReal},
    {9, "Clear Color", "0 0 0", "0 0 0", kKindColour},
    {10, "Transparency", "20 %", "0.0 %", kKindPercentage},
};
const OptionRow kBubbleOptions[] = {
    {1, "Clear Background", 1, 1}, {2, "Keep Background", 0, 1}, {3, "Repeat", 0, 1},
};

}  // namespace

const CatalogueRow kBubble = {"Bubble", ApplyBubble, kHelpFile, 4, kBubbleParameters, kBubbleOptions};

}  // namespace ombrix::pic
