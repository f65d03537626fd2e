// A test module whose identification code carries a trailing blank: hosts must refuse it.
#include <cstring>

#include "core/kit/plugin_kit.h"

namespace {
void Catalogue() { RegisterFilter("Never Read", nullptr, nullptr, 0); }
const PluginRights kRights = {"Test", "All Rights Reserved.", 0, 0};
const int32_t kKinds[] = {1, 0};
const PluginExtension kExtension = {"Ombrix Plug-ins Extension", 0, Catalogue, 0};
const PluginInfo kInfo = ombrix::MakePluginInfo("Trailing Blank", &kRights, kKinds, &kExtension, nullptr);
}  // namespace

OMBRIX_EXPORT int32_t Zorvex_Plugin_Entry(int32_t type, int32_t, void* out) {
  if (type == 1) {
    std::strcpy(static_cast<char*>(out), OMBRIX_IDENTIFICATION_CODE " ");
    return 1;
  }
  if (type == 2) {
    *static_cast<const PluginInfo**>(out) = &kInfo;
    return 1;
  }
  return 0;
}

OMBRIX_EXPORT int32_t Ombrix_Filter_Plugin_Entry(int32_t command, int32_t zero, HostBlock* block) {
  return ombrix::kit::FilterEntry(&kInfo, command, zero, block);
}
