// Lazer (every column or row drawn toward its first pixel) and Lazer Morph (toward a gradient between its first and last pixels).
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// Not written yet: the host reports a failed apply.
int32_t ApplyLazer(ApplyContext*) { return 0; }

const ParameterRow kLazerParameters[] = {
    {2, "Transparency Level", "50 %", "0 %", kKindPercentage},
};
const OptionRow kLazerOptions[] = {
    {2, "Vertical", 1, 1}, {3, "Horizontal", 0, 1},
};

// Not written yet: the host reports a failed apply.
int32_t ApplyLazerMorph(ApplyContext*) { return 0; }

const ParameterRow kLazerMorphParameters[] = {
    {2, "Transparency Level", "0 %", "0 %", kKindPercentage},
};
const OptionRow kLazerMorphOptions[] = {
    {2, "Vertical", 1, 1}, {3, "Horizontal", 0, 1},
};

}  // namespace

const CatalogueRow kLazer = {"Lazer", ApplyLazer, kHelpFile, 13, kLazerParameters, kLazerOptions};
const CatalogueRow kLazerMorph = {"Lazer Morph", ApplyLazerMorph, kHelpFile, 14, kLazerMorphParameters, kLazerMorphOptions};

}  // namespace ombrix::pic
