// The catalogue rows of the palette filters; each is defined beside its apply routine.
#pragma once

#include "core/kit/catalogue_row.h"

namespace ombrix::pal {

inline constexpr const char* kHelpFile = "ZvOmPal.Hlp";

extern const kit::CatalogueRow kSwapRgb;
extern const kit::CatalogueRow kRgbCalculations;
extern const kit::CatalogueRow kShiftRgb;
extern const kit::CatalogueRow kMovePlane;
extern const kit::CatalogueRow kBlackAndWhite;
extern const kit::CatalogueRow kGrayScale;
extern const kit::CatalogueRow kBrightness;
extern const kit::CatalogueRow kGammaCorrection;
extern const kit::CatalogueRow kOverexposure;
extern const kit::CatalogueRow kContrast;
extern const kit::CatalogueRow kAntique;
extern const kit::CatalogueRow kFade;
extern const kit::CatalogueRow kReplaceColor;
extern const kit::CatalogueRow kKillColors;
extern const kit::CatalogueRow kNegative;
extern const kit::CatalogueRow kNegativeLight;

}  // namespace ombrix::pal
