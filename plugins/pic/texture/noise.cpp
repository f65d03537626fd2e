// Add Noise (random offsets per channel on randomly chosen pixels) and Add Dust (random brightness on randomly chosen pixels).
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// Not written yet: the host reports a failed apply.
int32_t ApplyAddNoise(ApplyContext*) { return 0; }

const ParameterRow kAddNoiseParameters[] = {
    {1, "Percent", "25 %", "0 %", kKindPercentage},
    {2, "Maximum Red", "128", "0", kKindByteRange},
    {3, "Maximum Green", "128", "0", kKindByteRange},
    {4, "Maximum Blue", "128", "0", kKindByteRange},
};

// Not written yet: the host reports a failed apply.
int32_t ApplyAddDust(ApplyContext*) { return 0; }

const ParameterRow kAddDustParameters[] = {
    {2, "Percent", "50 %", "0 %", kKindPercentage},
    {3, "Maximum Dust", "128", "0", kKindByteRange},
};
const OptionRow kAddDustOptions[] = {
    {2, "Gray Scale", 1, 1}, {3, "Keep Color", 0, 1},
};

}  // namespace

const CatalogueRow kAddNoise = {"Add Noise", ApplyAddNoise, kHelpFile, 35, kAddNoiseParameters, {}};
const CatalogueRow kAddDust = {"Add Dust", ApplyAddDust, kHelpFile, 1, kAddDustParameters, kAddDustOptions};

}  // namespace ombrix::pic
