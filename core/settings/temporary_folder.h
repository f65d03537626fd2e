// The installation's folder for instance scripts, the test-render script and the last-run script.
//
// It is "Programs/Temp" under the installation directory when this user may write there. An
// installation the user cannot write (a system-wide one under /opt) gets a per-user folder
// instead: $XDG_CACHE_HOME/zorvex/ombrix/Temp (default ~/.cache/...), private to the user.
#pragma once

#include <string>

namespace ombrix {

// "Programs/Temp" under install_dir, without creating or checking anything.
std::string InstallationTemporaryFolder(const std::string& install_dir);
// The per-user folder that stands in for it, without creating anything; empty when neither
// XDG_CACHE_HOME nor HOME is set.
std::string PerUserTemporaryFolder();
// Makes the folder the installation's temporary files go to and returns it: the installation's
// own when it exists or can be made and is writable, else the per-user one (made with mode
// 0700). An existing folder is no error. When neither can be made the installation's path is
// returned, so that writes into it fail where the caller reports them.
std::string PrepareTemporaryFolder(const std::string& install_dir);

}  // namespace ombrix
