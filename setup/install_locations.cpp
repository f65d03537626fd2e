// Installation locations from the platform's system folders.
#include "setup/install_locations.h"

#include "core/platform/paths.h"
#include "core/platform/system_folders.h"

namespace ombrix::setup {

std::string InstallLocations::InInstall(const std::string& relative) const {
  return platform::JoinPath(install_dir, relative);
}

std::string InstallLocations::ProgramDirectory() const {
  return platform::JoinPath(platform::JoinPath(windows_dir, "Zorvex"), "Ombrix");
}

std::string InstallLocations::UninstallerPath() const { return platform::JoinPath(ProgramDirectory(), "Uninst.Exe"); }

std::string InstallLocations::LogPath() const { return platform::JoinPath(ProgramDirectory(), "Install.Nui"); }

std::string InstallLocations::EditorPath() const { return InInstall("Programs/ombrix-editor"); }

InstallLocations UserInstallLocations(const std::string& install_dir, const std::string& renderer_dir) {
  InstallLocations locations;
  locations.install_dir = install_dir;
  while (locations.install_dir.size() > 1 && platform::IsSeparator(locations.install_dir.back()))
    locations.install_dir.pop_back();
  locations.renderer_dir = renderer_dir.empty() ? kNoRendererDirectory : renderer_dir;
  locations.windows_dir = platform::WindowsDirectory();
  locations.start_menu_dir = platform::StartMenuDirectory();
  locations.data_home = platform::DataHomeDirectory();
  return locations;
}

}  // namespace ombrix::setup
