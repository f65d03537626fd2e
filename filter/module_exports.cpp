// The exports of ombrix-filter.p besides the renderer's descriptor: the render procedure for
// the editor's test render, and the identification every Ombrix host checks.
#include <cstring>

#include "core/picture/picture.h"
#include "core/records.h"
#include "filter/render.h"

#define OMBRIX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
const PluginRights kRights = {"Copyright Zorvex", "All Rights Reserved.", 0, 0};
const int32_t kKinds[] = {1, 2, 0};
const PluginExtension kExtension = {"LightWave 3D image filter plug-in", 0, nullptr, 0};
const PluginInfo kInfo = {
    {1, 48, 0, 4, 8, 16}, "Zorvex Ombrix Plug-in", &kRights, 1.0, kKinds, &kExtension, nullptr, nullptr};
}  // namespace

// text is ignored; record starts with the script path (or is null: the previous script).
OMBRIX_EXPORT int32_t Ombrix_Render_Proc(const char* text, const void* record, Picture* picture) {
  (void)text;
  return ombrix::engine::RenderCall(record, picture);
}

OMBRIX_EXPORT int32_t Zorvex_Plugin_Entry(int32_t type, int32_t a, void* out) {
  switch (type) {
    case 1:
      if (out == nullptr) return 0;
      std::memcpy(out, OMBRIX_IDENTIFICATION_CODE, sizeof OMBRIX_IDENTIFICATION_CODE);
      return 1;
    case 2:
      if (out == nullptr) return 0;
      *static_cast<const PluginInfo**>(out) = &kInfo;
      return 1;
    default:
      (void)a;
      return 0;
  }
}
