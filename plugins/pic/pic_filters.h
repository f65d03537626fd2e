// The catalogue rows of the picture filters; each is defined beside its apply routine.
#pragma once

#include "core/kit/catalogue_row.h"

namespace ombrix::pic {

inline constexpr const char* kHelpFile = "ZvOmPic.Hlp";

// Geometric filters.
extern const kit::CatalogueRow kVerticalFlip;
extern const kit::CatalogueRow kHorizontalFlip;
extern const kit::CatalogueRow kSpherize;
extern const kit::CatalogueRow kFlag;
extern const kit::CatalogueRow kZoom;
extern const kit::CatalogueRow kRotate;
extern const kit::CatalogueRow kTwirl;
extern const kit::CatalogueRow kMove;
extern const kit::CatalogueRow kPolarCoordinates;
extern const kit::CatalogueRow kSixteenNine;
extern const kit::CatalogueRow kSpeedZoom;
extern const kit::CatalogueRow kMirror;
extern const kit::CatalogueRow kRoll;
extern const kit::CatalogueRow kReversePolar;

// Texture, streak and cover filters.
extern const kit::CatalogueRow kEmboss;
extern const kit::CatalogueRow kMosaic;
extern const kit::CatalogueRow kBubble;
extern const kit::CatalogueRow kInterlace;
extern const kit::CatalogueRow kDisplace;
extern const kit::CatalogueRow kDisplaceMosaic;
extern const kit::CatalogueRow kScratch;
extern const kit::CatalogueRow kLineArt;
extern const kit::CatalogueRow kMotionBlur;
extern const kit::CatalogueRow kWind;
extern const kit::CatalogueRow kBlur;
extern const kit::CatalogueRow kCameraView;
extern const kit::CatalogueRow kRangeWind;
extern const kit::CatalogueRow kLightWind;
extern const kit::CatalogueRow kTitle;
extern const kit::CatalogueRow kLazer;
extern const kit::CatalogueRow kLazerMorph;
extern const kit::CatalogueRow kAddNoise;
extern const kit::CatalogueRow kAddDust;
extern const kit::CatalogueRow kBrick;

}  // namespace ombrix::pic
