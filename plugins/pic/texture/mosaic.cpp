// Mosaic: the zone painted in blocks of one colour each.
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// Not written yet: the host reports a failed apply.
int32_t ApplyMosaic(ApplyContext*) { return 0; }

const ParameterRow kMosaicParameters[] = {
    {2, "X Size", "2", "0", kKindHorizontal},
    {3, "Y Size", "2", "0", kKindVertical},
    {5, "X Offset", "0", "0", kKindHorizontal},
    {6, "Y Offset", "0", "0", kKindVertical},
};
const OptionRow kMosaicOptions[] = {
    {6, "Based on middle pixel", 1, 1},
    {7, "Based on custom pixel", 0, 1},
    {8, "Based on box average", 0, 1},
};

}  // namespace

const CatalogueRow kMosaic = {"Mosaic", ApplyMosaic, kHelpFile, 18, kMosaicParameters, kMosaicOptions};

}  // namespace ombrix::pic
