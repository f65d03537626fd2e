// Title (tiles of the picture laid with random offsets) and Brick (the zone tiled with a miniature of itself).
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// Not written yet: the host reports a failed apply.
int32_t ApplyTitle(ApplyContext*) { return 0; }

const ParameterRow kTitleParameters[] = {
    {1, "Width", "10", "0", kKindHorizontal},
    {2, "Height", "10", "0", kKindVertical},
    {3, "Max. X Offset", "5", "0", kKindHorizontal},
    {4, "Max. Y Offset", "5", "0", kKindVertical},
    {6, "Clear Color", "0 0 0", "0 0 0", kKindColour},
    {8, "Transparency Level", "50 %", "0 %", kKindPercentage},
};
const OptionRow kTitleOptions[] = {
    {2, "Clear Background", 1, 1}, {3, "Keep Background", 0, 1}, {6, "Solid", 1, 2},
    {7, "Transparent", 0, 2},      {9, "Random Transparency", 0, 3},
};

// Not written yet: the host reports a failed apply.
int32_t ApplyBrick(ApplyContext*) { return 0; }

const ParameterRow kBrickParameters[] = {
    {1, "X Size", "100", "0", kKindHorizontal},
    {2, "Y Size", "50", "0", kKindVertical},
    {4, "Dec Step", "0", "0", kKindHorizontal},
};
const OptionRow kBrickOptions[] = {
    {2, "Horizontal", 1, 1}, {3, "Vertical", 0, 1},
};

}  // namespace

const CatalogueRow kTitle = {"Title", ApplyTitle, kHelpFile, 29, kTitleParameters, kTitleOptions};
const CatalogueRow kBrick = {"Brick", ApplyBrick, kHelpFile, 3, kBrickParameters, kBrickOptions};

}  // namespace ombrix::pic
