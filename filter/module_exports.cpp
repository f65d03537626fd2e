// The exports of ombrix-filter.p besides the renderer's descriptor: the render procedure for
// the editor's test render, the frame failure our own host asks for, and the identification
// every Ombrix host checks.
#include <type_traits>

#include "core/boundary.h"
#include "core/identification.h"
#include "core/picture/picture.h"
#include "core/records.h"
#include "filter/lightwave_binding.h"
#include "filter/render.h"

#define OMBRIX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
const int32_t kKinds[] = {1, 2, 0};
const PluginExtension kExtension = {"LightWave 3D image filter plug-in", 0, nullptr, 0};
const PluginInfo kInfo =
    ombrix::MakePluginInfo("Zorvex Ombrix Plug-in", &ombrix::kZorvexRights, kKinds, &kExtension, nullptr);
}  // namespace

// text is ignored; record starts with the script path (or is null: the previous script).
OMBRIX_EXPORT int32_t Ombrix_Render_Proc(const char* text, const void* record, Picture* picture) {
  (void)text;
  return ombrix::engine::RenderCall(record, picture);
}

OMBRIX_EXPORT int32_t Ombrix_Frame_Failure(LWInstance instance, char* reason, int32_t size) {
  return ombrix::GuardBoundary(0, [&] { return ombrix::engine::FrameFailure(instance, reason, size); });
}
static_assert(std::is_same_v<decltype(&Ombrix_Frame_Failure), OmbrixFrameFailureFunction>);

OMBRIX_EXPORT int32_t Zorvex_Plugin_Entry(int32_t type, int32_t a, void* out) {
  return ombrix::GuardBoundary(0, [&] { return ombrix::AnswerPluginEntry(kInfo, type, a, out); });
}
