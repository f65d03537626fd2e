// The exports of OmOutX.Omw: the current progress display (a window, or the terminal line when no
// window can be shown) and the modal message window.
#include <cstdio>
#include <cstring>

#include "core/omout_api.h"
#include "core/platform/console.h"
#include "core/platform/dynamic_library.h"
#include "core/platform/message_box.h"
#include "gui/gui_app.h"
#include "progress/message_window.h"
#include "progress/progress_window.h"
#include "progress/terminal_progress.h"

extern "C" {
int32_t OmOutLightWaveCall = 0;
}

namespace ombrix::omout {
namespace {

// The current progress display. A plain pointer on purpose: a display the caller never closed is
// left alone at process exit, when the toolkit behind a window may already be gone.
ProgressSink* g_progress = nullptr;

void CloseCurrentProgress() {
  ProgressSink* progress = g_progress;
  g_progress = nullptr;
  delete progress;
}

// Whether windows can be shown. A process without an application object gets the module's own,
// whatever OmOutLightWaveCall says: without one no window could open at all. Once the toolkit
// runs, the module stays in memory even after the caller unloads it, since the toolkit keeps
// pointers into it (window classes, its threads' callbacks).
bool WindowsAvailable() {
  if (platform::HeadlessSession()) return false;
  if (!gui::EnsureGuiApplication()) return false;
  static const bool pinned = platform::PinModuleOf(reinterpret_cast<const void*>(&OmOpenProgress));
  (void)pinned;
  return true;
}

// Nothing is thrown across the module boundary; a failure leaves the given result.
template <typename Result, typename Action>
Result Guarded(Result fallback, Action action) {
  try {
    return action();
  } catch (...) {
    return fallback;
  }
}

template <typename Action>
void Guarded(Action action) {
  try {
    action();
  } catch (...) {
  }
}

}  // namespace
}  // namespace ombrix::omout

using namespace ombrix::omout;

extern "C" {

void OmInitOmOutDll(void) {
  Guarded([] { WindowsAvailable(); });
  OmOutLightWaveCall = 1;
}

void OmOpenProgress(int32_t) {
  Guarded([] {
    // A window the caller left open is closed first, so it does not stay on the screen for good.
    CloseCurrentProgress();
    if (WindowsAvailable()) {
      g_progress = new WindowProgress;
    } else {
      g_progress = new TerminalProgress;
    }
  });
}

void OmInitProgress(int32_t bar, int32_t low, int32_t high) {
  Guarded([&] {
    if (g_progress != nullptr) g_progress->InitRange(bar, low, high);
  });
}

void OmSetMessage(const char* caption, const char* line1, const char* line2, const char* info) {
  Guarded([&] {
    if (g_progress != nullptr) g_progress->SetTexts(caption, line1, line2, info);
  });
}

void OmShowProgress(int32_t show_command) {
  Guarded([&] {
    if (g_progress != nullptr) g_progress->Show(show_command);
  });
}

int32_t OmUpdateProgress(int32_t bar, int32_t position) {
  return Guarded<int32_t>(1,
                          [&]() -> int32_t { return g_progress != nullptr ? g_progress->Update(bar, position) : 1; });
}

void OmCloseProgress(void) {
  Guarded([] { CloseCurrentProgress(); });
}

int32_t OpenMessageWin(const char* title, const char* text, int32_t kind) {
  const int32_t unanswered = kind == 0 ? 0 : 1;
  return Guarded<int32_t>(unanswered, [&]() -> int32_t {
    if (!WindowsAvailable()) {
      // No window: the process's message box handler has it, or it goes to standard error
      // (a question is then answered "No").
      if (kind == 0) return ombrix::platform::AskQuestion(text, title);
      const bool error = title != nullptr && std::strstr(title, "Error") != nullptr;
      ombrix::platform::ShowMessageBox(text, title,
                                       error ? ombrix::platform::kIconError : ombrix::platform::kIconInformation);
      std::fflush(stderr);
      return unanswered;
    }
    MessageWindow window(title, text, kind);
    return window.Run();
  });
}

}  // extern "C"
