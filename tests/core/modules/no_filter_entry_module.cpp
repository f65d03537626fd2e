// A test module that identifies itself correctly but has no filter entry.
#include "core/kit/plugin_kit.h"

namespace {
const PluginRights kRights = {"Test", "All Rights Reserved.", 0, 0};
const int32_t kKinds[] = {1, 0};
const PluginExtension kExtension = {"Ombrix Plug-ins Extension", 0, nullptr, 0};
const PluginInfo kInfo = ombrix::MakePluginInfo("No Filter Entry", &kRights, kKinds, &kExtension, nullptr);
}  // namespace

OMBRIX_EXPORT int32_t Zorvex_Plugin_Entry(int32_t type, int32_t a, void* out) {
  return ombrix::kit::PluginEntry(&kInfo, type, a, out);
}
