// Displace (pixels exchanged with random neighbours below and to the right) and Displace Mosaic (random exchanges inside cells).
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// Not written yet: the host reports a failed apply.
int32_t ApplyDisplace(ApplyContext*) { return 0; }

const ParameterRow kDisplaceParameters[] = {
    {2, "Displace Factor", "5", "0", kKindPositiveInteger},
};

// Not written yet: the host reports a failed apply.
int32_t ApplyDisplaceMosaic(ApplyContext*) { return 0; }

const ParameterRow kDisplaceMosaicParameters[] = {
    {1, "Perturbation", "50 %", "0 %", kKindPercentage},
    {3, "X Size", "7", "0", kKindPositiveInteger},
    {4, "Y Size", "7", "0", kKindPositiveInteger},
};

}  // namespace

const CatalogueRow kDisplace = {"Displace", ApplyDisplace, kHelpFile, 6, kDisplaceParameters, {}};
const CatalogueRow kDisplaceMosaic = {"Displace Mosaic", ApplyDisplaceMosaic, kHelpFile, 7, kDisplaceMosaicParameters, {}};

}  // namespace ombrix::pic
