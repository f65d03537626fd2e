// Wind, Range Wind and Light Wind: streaks that fade from the picture into the colour of randomly chosen seed pixels.
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// Not written yet: the host reports a failed apply.
int32_t ApplyWind(ApplyContext*) { return 0; }

const ParameterRow kWindParameters[] = {
    {2, "Quantity", "50 %", "0 %", kKindPercentage},
    {3, "Maximum lenght", "15", "0", kKindHorizontal},
};
const OptionRow kWindOptions[] = {
    {1, "Horizontal", 1, 1}, {2, "Vertical", 0, 1}, {3, "Diagonal Right", 0, 1}, {4, "Diagonal Left", 0, 1},
};

// Not written yet: the host reports a failed apply.
int32_t ApplyRangeWind(ApplyContext*) { return 0; }

const ParameterRow kRangeWindParameters[] = {
    {1, "Quantity", "50 %", "0 %", kKindPercentage},
    {2, "Maximum lenght (pixel)", "15", "0", kKindHorizontal},
    {3, "Based Luminosity", "255", "0", kKindByteRange},
    {4, "Threshold", "32", "0", kKindByteRange},
};
const OptionRow kRangeWindOptions[] = {
    {1, "Horizontal", 1, 1}, {2, "Vertical", 0, 1}, {3, "Diagonal Right", 0, 1}, {4, "Diagonal Left", 0, 1},
};

// Not written yet: the host reports a failed apply.
int32_t ApplyLightWind(ApplyContext*) { return 0; }

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
