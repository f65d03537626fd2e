// ZvPic: the picture filters module, its identification and its catalogue in registration order.
#include "core/kit/plugin_kit.h"
#include "plugins/pic/pic_filters.h"

namespace {

using namespace ombrix::pic;

const ombrix::kit::CatalogueRow* const kCatalogue[] = {
    &kEmboss,     &kMosaic,     &kVerticalFlip,   &kHorizontalFlip, &kSpherize, &kBubble,
    &kInterlace,  &kDisplace,   &kDisplaceMosaic, &kFlag,           &kScratch,  &kZoom,
    &kLineArt,    &kMotionBlur, &kRotate,         &kTwirl,          &kWind,     &kBlur,
    &kCameraView, &kMove,       &kRangeWind,      &kLightWind,      &kTitle,    &kPolarCoordinates,
    &kLazer,      &kLazerMorph, &kSixteenNine,    &kSpeedZoom,      &kMirror,   &kAddNoise,
    &kAddDust,    &kRoll,       &kReversePolar,   &kBrick,
};

void Catalogue() { ombrix::kit::RegisterRows(kCatalogue); }

}  // namespace

OMBRIX_FILTER_PLUGIN("Zorvex Picture Filters", Catalogue)
