// The exported handlers behind the platform's message boxes.
#include "editor/model/platform_dialogs.h"

#include <cstdio>
#include <type_traits>

#include "core/platform/message_box.h"
#include "gui/dialogs.h"

namespace ombrix::editor {
namespace {

bool g_routed = false;

}  // namespace

void RoutePlatformDialogs() { g_routed = true; }
bool PlatformDialogsRouted() { return g_routed; }

}  // namespace ombrix::editor

// Before routing, the handlers answer as the platform layer does without them.
extern "C" __attribute__((visibility("default"))) int Ombrix_Message_Box_Handler(const char* text, const char* caption,
                                                                                 int, int question) {
  ombrix::gui::MessageRequest request{text != nullptr ? text : "", caption != nullptr ? caption : "", question != 0};
  if (!ombrix::editor::PlatformDialogsRouted()) {
    std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
    return question ? 0 : 1;
  }
  return ombrix::gui::CurrentDialogs().ShowMessage(request);
}

extern "C" __attribute__((visibility("default"))) int Ombrix_File_Dialog_Handler(const char* title, const char* filter,
                                                                                 const char* proposed, char* chosen,
                                                                                 int size) {
  if (!ombrix::editor::PlatformDialogsRouted() || chosen == nullptr || size <= 0) return 0;
  ombrix::gui::FileDialogRequest request;
  request.title = title != nullptr ? title : "";
  request.filter = filter != nullptr ? filter : "";
  request.start_path = proposed != nullptr ? proposed : "";
  const auto path = ombrix::gui::CurrentDialogs().ChooseFile(request);
  if (!path || path->size() >= size_t(size)) return 0;
  std::snprintf(chosen, size_t(size), "%s", path->c_str());
  return 1;
}

static_assert(std::is_same_v<decltype(&Ombrix_Message_Box_Handler), ombrix::platform::MessageBoxHandler>);
static_assert(std::is_same_v<decltype(&Ombrix_File_Dialog_Handler), ombrix::platform::FileDialogHandler>);
