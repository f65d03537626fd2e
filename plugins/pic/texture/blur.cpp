// Blur (a 3 x 3 box filter over the whole picture, repeated) and Motion Blur (shifted copies overlaid).
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// Not written yet: the host reports a failed apply.
int32_t ApplyBlur(ApplyContext*) { return 0; }

const ParameterRow kBlurParameters[] = {
    {2, "n Loop", "1", "0", kKindPositiveInteger},
};

// Not written yet: the host reports a failed apply.
int32_t ApplyMotionBlur(ApplyContext*) { return 0; }

const ParameterRow kMotionBlurParameters[] = {
    {1, "n Loop", "10", "0", kKindPositiveInteger},
    {3, "X Speed (pixel/loop)", "-10", "0", kKindInteger},
    {4, "Y Speed (pixel/loop)", "0", "0", kKindInteger},
    {6, "Clear Color", "0 0 0", "0 0 0", kKindColour},
};
const OptionRow kMotionBlurOptions[] = {
    {2, "Clear Background", 1, 1}, {3, "Keep Background", 0, 1},
};

}  // namespace

const CatalogueRow kBlur = {"Blur", ApplyBlur, kHelpFile, 2, kBlurParameters, {}};
const CatalogueRow kMotionBlur = {"Motion Blur", ApplyMotionBlur, kHelpFile, 19, kMotionBlurParameters, kMotionBlurOptions};

}  // namespace ombrix::pic
