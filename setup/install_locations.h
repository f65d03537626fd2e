// The folders an installation ties into: the installation directory, the renderer's folder and
// the system folders of the user's session, with the places of the uninstaller and its log.
#pragma once

#include <string>

namespace ombrix::setup {

// The renderer directory when the user has none.
inline constexpr const char* kNoRendererDirectory = "(none)";

struct InstallLocations {
  std::string install_dir;   // without a trailing separator
  std::string renderer_dir;  // the LightWave directory, or kNoRendererDirectory
  std::string windows_dir;
  std::string start_menu_dir;
  std::string data_home;  // where the desktop keeps its menus and MIME database

  std::string InInstall(const std::string& relative) const;
  // Windows directory + "Zorvex/Ombrix": the uninstaller and the uninstall log.
  std::string ProgramDirectory() const;
  std::string UninstallerPath() const;  // "Uninst.Exe" in the program directory
  std::string LogPath() const;          // "Install.Nui" in the program directory
  std::string EditorPath() const;       // "Programs/ombrix-editor" in the installation
};

// The locations for install_dir and renderer_dir in the current user's session (platform
// system folders). A trailing separator of install_dir is dropped.
InstallLocations UserInstallLocations(const std::string& install_dir, const std::string& renderer_dir);

}  // namespace ombrix::setup
