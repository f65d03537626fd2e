// A test module that lists only kind 2: no host may take it as a filter module.
#include "core/kit/plugin_kit.h"

namespace {
void Catalogue() { RegisterFilter("Never Read", nullptr, nullptr, 0); }
const PluginRights kRights = {"Test", "All Rights Reserved.", 0, 0};
const int32_t kKinds[] = {2, 0};
const PluginExtension kExtension = {"Ombrix Plug-ins Extension", 0, Catalogue, 0};
const PluginInfo kInfo = ombrix::MakePluginInfo("Kind Two Only", &kRights, kKinds, &kExtension, nullptr);
}  // namespace

OMBRIX_EXPORT int32_t Zorvex_Plugin_Entry(int32_t type, int32_t a, void* out) {
  return ombrix::kit::PluginEntry(&kInfo, type, a, out);
}

OMBRIX_EXPORT int32_t Ombrix_Filter_Plugin_Entry(int32_t command, int32_t zero, HostBlock* block) {
  return ombrix::kit::FilterEntry(&kInfo, command, zero, block);
}
