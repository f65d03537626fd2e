// The setup without windows.
#include "setup/instora/unattended.h"

#include <cstdio>

#include "core/platform/system_folders.h"
#include "setup/install_locations.h"
#include "setup/renderer_folder.h"

namespace ombrix::setup {

UnattendedView::UnattendedView(const SetupCommandLine& line, DiskSpaceQuery disk_space, gui::Dialogs& dialogs)
    : line_(line), disk_space_(std::move(disk_space)), dialogs_(dialogs) {}

std::optional<SetupChoice> UnattendedView::ChooseOptions() {
  SetupChoice choice;
  choice.install_dir = line_.install_dir;
  choice.renderer_dir = kNoRendererDirectory;
  if (!line_.renderer_dir.empty()) {
    const std::optional<std::string> accepted = AcceptRendererFolder(line_.renderer_dir);
    if (!accepted) {
      dialogs_.ShowMessage({NoRendererConfigText(line_.renderer_dir), kSetupWarningCaption, false});
      return std::nullopt;
    }
    choice.renderer_dir = *accepted;
  }
  if (HasSpace(choice.install_dir)) dialogs_.ShowMessage({kSpaceInPathText, kSetupWarningCaption, false});
  const std::optional<platform::DiskSpace> space = disk_space_(choice.install_dir);
  if (LacksSpace(space, SpaceNeeded(choice.components))) {
    dialogs_.ShowMessage({NoSpaceText(space), kSetupMessageCaption, false});
    return std::nullopt;
  }
  std::printf("Installing into %s (renderer folder %s)\n", choice.install_dir.c_str(), choice.renderer_dir.c_str());
  std::fflush(stdout);
  return choice;
}

void UnattendedView::ShowFile(int, const std::string& source, const std::string& target) {
  std::printf("Unpacking... %s To %s\n", source.c_str(), target.c_str());
}

void UnattendedView::Step(const std::string& action, const std::string& object) {
  std::printf("%s %s\n", action.c_str(), object.c_str());
}

void UnattendedView::Message(const std::string& caption, const std::string& text) {
  dialogs_.ShowMessage({text, caption, false});
}

int RunUnattendedSetup(const SetupCommandLine& line) {
  gui::Dialogs& dialogs = gui::CurrentDialogs();
  UnattendedView view(line, PlatformDiskSpace(), dialogs);
  SetupFolders folders;
  folders.source_dir = line.source_dir;
  folders.windows_dir = platform::WindowsDirectory();
  const SetupResult result = RunSetup(folders, view, dialogs);
  std::fflush(stdout);
  return SetupExitStatus(result);
}

}  // namespace ombrix::setup
