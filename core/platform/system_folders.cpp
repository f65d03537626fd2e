// System folders from the XDG base directory variables.
#include "core/platform/system_folders.h"

#include "core/platform/environment.h"
#include "core/platform/paths.h"

namespace ombrix::platform {

std::string DataHomeDirectory() {
  const std::string xdg = GetEnvironment("XDG_DATA_HOME");
  if (!xdg.empty()) return xdg;
  return JoinPath(JoinPath(GetEnvironment("HOME"), ".local"), "share");
}

std::string WindowsDirectory() { return JoinPath(JoinPath(DataHomeDirectory(), "zorvex"), "windows"); }

std::string SystemDirectory() { return JoinPath(WindowsDirectory(), "System"); }

std::string StartMenuDirectory() { return JoinPath(DataHomeDirectory(), "applications"); }

}  // namespace ombrix::platform
