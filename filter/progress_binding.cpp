// Binding the progress module by path and name.
#include "filter/progress_binding.h"

#include <cstdio>

#include "core/platform/environment.h"
#include "core/platform/files.h"
#include "core/platform/message_box.h"
#include "core/platform/paths.h"

namespace ombrix::engine {

int32_t ProgressBinding::renderer_call_ = 0;

int ProgressBinding::Bind(bool open, bool show) {
  char text[1024];
  if (!platform::CanOpenForReading(path_.c_str())) {
    std::snprintf(text, sizeof text, "Cannot open file\n\"%s\".", path_.c_str());
    platform::ShowMessageBox(text, "Ombrix - Error", platform::kIconError);
    return 0;
  }
  // The module's folder becomes the current directory, so that files beside it are found.
  const std::string dir = platform::DirectoryPart(path_);
  if (!dir.empty()) platform::ChangeDirectory(dir);
  // A Bind while bound loads the module once more; the earlier load stays until the process
  // unloads this module, so windows it still shows are not torn away.
  platform::LibraryHandle library = platform::OpenLibrary(path_.c_str());
  if (library == nullptr) {
    std::snprintf(text, sizeof text, "Cannot access data of file\n\"%s\".", path_.c_str());
    platform::ShowMessageBox(text, "Ombrix - Error", platform::kIconError);
    return 0;
  }
  library_ = library;
  functions_ = BindOmOut(library);
  const ProgressFunctions& f = functions_;
  if (f.OmOutLightWaveCall != nullptr) *f.OmOutLightWaveCall = renderer_call_;
  if (!open) return 1;
  if (show) {
    if (f.OmOpenProgress != nullptr) f.OmOpenProgress(renderer_call_ != 0 ? 1 : 0);
  } else if (f.OmInitOmOutDll != nullptr) {
    f.OmInitOmOutDll();
  }
  return 1;
}

void ProgressBinding::Unbind() {
  if (functions_.OmCloseProgress != nullptr) functions_.OmCloseProgress();
  platform::CloseLibrary(library_);
  library_ = nullptr;
  functions_ = ProgressFunctions();
}

void ProgressBinding::SetMessage(const char* caption, const char* line1, const char* line2, const char* info) const {
  if (functions_.OmSetMessage == nullptr) {
    platform::ShowMessageBox("NULL Pointer", "OmSetMessage", platform::kIconError);
    return;
  }
  functions_.OmSetMessage(caption, line1, line2, info);
}

int32_t ProgressBinding::Message(const char* title, const char* text, int32_t kind) const {
  if (functions_.OpenMessageWin != nullptr) return functions_.OpenMessageWin(title, text, kind);
  return kind == 0 ? platform::AskQuestion(text, title)
                   : platform::ShowMessageBox(text, title, platform::kIconInformation);
}

}  // namespace ombrix::engine
