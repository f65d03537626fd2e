// ZvCom: the composition filters module, its identification and its catalogue in registration
// order.
#include "core/kit/plugin_kit.h"
#include "plugins/com/com_filters.h"

namespace {

using namespace ombrix::com;

const ombrix::kit::CatalogueRow* const kCatalogue[] = {&kCompose, &kDisplaceMap, &kCombinate, &kRub};

void Catalogue() { ombrix::kit::RegisterRows(kCatalogue); }

}  // namespace

OMBRIX_FILTER_PLUGIN("Zorvex Picture Composition", Catalogue)
