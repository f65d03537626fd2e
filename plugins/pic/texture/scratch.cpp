// Scratch: rows, columns or diagonals of the zone slid along themselves by random offsets.
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// Not written yet: the host reports a failed apply.
int32_t ApplyScratch(ApplyContext*) { return 0; }

const ParameterRow kScratchParameters[] = {
    {2, "Maximum Offset", "5", "0", kKindHorizontal},
    {5, "Clear Color", "0 0 0", "0 0 0", kKindColour},
    {7, "Transparency", "50 %", "0 %", kKindPercentage},
};
const OptionRow kScratchOptions[] = {
    {1, "Horizontal", 1, 1},       {2, "Vertical", 0, 1},        {3, "Left Diagonal", 0, 1},
    {4, "Right Diagonal", 0, 1},   {6, "Clear Background", 1, 3}, {7, "Keep Background", 0, 3},
    {9, "Solid", 1, 4},            {10, "Transparent", 0, 4},
};

}  // namespace

const CatalogueRow kScratch = {"Scratch", ApplyScratch, kHelpFile, 26, kScratchParameters, kScratchOptions};

}  // namespace ombrix::pic
