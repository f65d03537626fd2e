// ZvPal: the palette filters module, its identification and its catalogue in registration order.
#include "core/kit/plugin_kit.h"
#include "plugins/pal/pal_filters.h"

namespace {

using namespace ombrix::pal;

const ombrix::kit::CatalogueRow* const kCatalogue[] = {
    &kSwapRgb,      &kRgbCalculations, &kShiftRgb,     &kMovePlane,     &kBlackAndWhite, &kGrayScale,
    &kBrightness,   &kGammaCorrection, &kOverexposure, &kContrast,      &kAntique,       &kFade,
    &kReplaceColor, &kKillColors,      &kNegative,     &kNegativeLight,
};

void Catalogue() { ombrix::kit::RegisterRows(kCatalogue); }

}  // namespace

OMBRIX_FILTER_PLUGIN("Zorvex Palette Filters", Catalogue)
