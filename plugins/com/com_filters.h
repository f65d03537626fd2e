// The catalogue rows of the composition filters (each defined beside its apply routine) and the
// help file names they carry.
#pragma once

#include "core/kit/catalogue_row.h"

namespace ombrix::com {

// The help file, spelt two ways: Compose and Rub name it with a lower-case extension.
inline constexpr const char* kHelpFile = "ZvOmCom.Hlp";
inline constexpr const char* kHelpFileLower = "ZvOmCom.hlp";

extern const kit::CatalogueRow kCompose;
extern const kit::CatalogueRow kDisplaceMap;
extern const kit::CatalogueRow kCombinate;
extern const kit::CatalogueRow kRub;

}  // namespace ombrix::com
