// Message boxes through the process's exported handler, or on standard error.
#include "core/platform/message_box.h"

#include <dlfcn.h>

#include <cstdio>

namespace ombrix::platform {
namespace {

MessageBoxHandler ProcessHandler() {
  // Looked up on every call: the handler lives in the executable, which may install it after a
  // module was loaded, and a look-up is cheap next to showing a window.
  return reinterpret_cast<MessageBoxHandler>(dlsym(RTLD_DEFAULT, "Ombrix_Message_Box_Handler"));
}

int Show(const char* text, const char* caption, int icon, int question) {
  if (MessageBoxHandler handler = ProcessHandler()) return handler(text, caption, icon, question);
  std::fprintf(stderr, "%s: %s\n", caption != nullptr ? caption : "", text != nullptr ? text : "");
  return question ? 0 : 1;
}

}  // namespace

int ShowMessageBox(const char* text, const char* caption, MessageIcon icon) { return Show(text, caption, icon, 0); }

int AskQuestion(const char* text, const char* caption) { return Show(text, caption, kIconQuestion, 1); }

bool ChooseFileToOpen(const char* title, const char* filter, const char* proposed, std::string& chosen) {
  auto handler = reinterpret_cast<FileDialogHandler>(dlsym(RTLD_DEFAULT, "Ombrix_File_Dialog_Handler"));
  if (handler == nullptr) return false;
  char buffer[4096] = {};
  if (handler(title, filter, proposed, buffer, int(sizeof buffer)) == 0) return false;
  chosen = buffer;
  return true;
}

}  // namespace ombrix::platform
