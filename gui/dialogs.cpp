// The process's dialogs and their headless stand-in.
#include "gui/dialogs.h"

#include <cstdio>

namespace ombrix::gui {
namespace {

class HeadlessDialogs : public Dialogs {
 public:
  std::optional<std::string> ChooseFile(const FileDialogRequest&) override { return std::nullopt; }
  std::optional<std::string> ChooseFolder(const FolderDialogRequest&) override { return std::nullopt; }
  std::optional<Colour> ChooseColour(Colour, CustomColours&) override { return std::nullopt; }
  int ShowMessage(const MessageRequest& request) override {
    std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
    return request.question ? 0 : 1;
  }
};

Dialogs* g_installed = nullptr;

}  // namespace

Dialogs& CurrentDialogs() {
  static HeadlessDialogs headless;
  return g_installed != nullptr ? *g_installed : headless;
}

void InstallDialogs(Dialogs* dialogs) { g_installed = dialogs; }

}  // namespace ombrix::gui
