// Interlace (neighbouring rows or columns exchanged in pairs) and Camera View (every second row or column painted).
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// Not written yet: the host reports a failed apply.
int32_t ApplyInterlace(ApplyContext*) { return 0; }

const OptionRow kInterlaceOptions[] = {
    {2, "Horizontal", 1, 1}, {3, "Vertical", 0, 1},
};

// Not written yet: the host reports a failed apply.
int32_t ApplyCameraView(ApplyContext*) { return 0; }

const ParameterRow kCameraViewParameters[] = {
    {2, "Color", "0 0 0", "0 0 0", kKindColour},
};
const OptionRow kCameraViewOptions[] = {
    {1, "Use Solid color", 1, 1}, {2, "Change Color", 0, 1}, {3, "Horizontal", 1, 2}, {4, "Vertical", 0, 2},
};

}  // namespace

const CatalogueRow kInterlace = {"Interlace", ApplyInterlace, kHelpFile, 12, {}, kInterlaceOptions};
const CatalogueRow kCameraView = {"Camera View", ApplyCameraView, kHelpFile, 5, kCameraViewParameters, kCameraViewOptions};

}  // namespace ombrix::pic
