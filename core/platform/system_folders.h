// The folders of the original platform that the installation tools write to, placed in the
// user's data folder: the Windows directory, its System folder and the start menu.
#pragma once

#include <string>

namespace ombrix::platform {

// $XDG_DATA_HOME when set, else $HOME/.local/share.
std::string DataHomeDirectory();
// DataHomeDirectory()/zorvex/windows.
std::string WindowsDirectory();
// WindowsDirectory()/System.
std::string SystemDirectory();
// DataHomeDirectory()/applications: sub-menus are folders in it, links are desktop entries.
std::string StartMenuDirectory();

}  // namespace ombrix::platform
