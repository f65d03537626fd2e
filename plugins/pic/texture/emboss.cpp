// Emboss (relief from the difference to a neighbour) and Line Art (lines where neighbours differ).
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// Not written yet: the host reports a failed apply.
int32_t ApplyEmboss(ApplyContext*) { return 0; }

const ParameterRow kEmbossParameters[] = {
    {1, "X Offset", "2", "0", kKindHorizontal},
    {2, "Y Offset", "2", "0", kKindVertical},
    {6, "Entry Color", "0 0 0", "0 0 0", kKindColour},
    {7, "Exit Color", "255 255 255", "0 0 0", kKindColour},
    {9, "Middle Gray", "128", "0", kKindByteRange},
    {10, "Threshold", "8", "0", kKindByteRange},
};
const OptionRow kEmbossOptions[] = {
    {2, "Gray Scale", 1, 1}, {3, "Special", 0, 1}, {4, "Color", 0, 1},
    {6, "Normal", 1, 2},     {7, "Gray", 0, 2},    {8, "Black", 0, 2},
};

// Not written yet: the host reports a failed apply.
int32_t ApplyLineArt(ApplyContext*) { return 0; }

const ParameterRow kLineArtParameters[] = {
    {1, "X Offset", "2", "0", kKindHorizontal},
    {2, "Y Offset", "2", "0", kKindVertical},
    {4, "Gray Scale", "120", "0", kKindByteRange},
    {6, "Entry Color", "0 0 0", "0 0 0", kKindColour},
    {7, "Exit Color", "255 255 255", "0 0 0", kKindColour},
};

}  // namespace

const CatalogueRow kEmboss = {"Emboss", ApplyEmboss, kHelpFile, 8, kEmbossParameters, kEmbossOptions};
const CatalogueRow kLineArt = {"Line Art", ApplyLineArt, kHelpFile, 16, kLineArtParameters, {}};

}  // namespace ombrix::pic
