// Choosing and making the installation's temporary folder.
#include "core/settings/temporary_folder.h"

#include "core/platform/environment.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"

namespace ombrix {

std::string InstallationTemporaryFolder(const std::string& install_dir) {
  return platform::JoinPath(platform::JoinPath(install_dir, "Programs"), "Temp");
}

std::string PerUserTemporaryFolder() {
  std::string cache = platform::GetEnvironment("XDG_CACHE_HOME");
  if (cache.empty()) {
    const std::string home = platform::GetEnvironment("HOME");
    if (home.empty()) return {};
    cache = platform::JoinPath(home, ".cache");
  }
  return platform::JoinPath(cache, "zorvex/ombrix/Temp");
}

std::string PrepareTemporaryFolder(const std::string& install_dir) {
  const std::string own = InstallationTemporaryFolder(install_dir);
  // Only an existing installation gets its folder made: an empty or wrong installation
  // directory must not scatter "Programs/Temp" folders around.
  if (platform::DirectoryExists(install_dir.c_str()) || platform::DirectoryExists(own.c_str())) {
    platform::MakeDirectories(own.c_str());
    if (platform::CanWriteDirectory(own.c_str())) return own;
  }
  const std::string per_user = PerUserTemporaryFolder();
  if (per_user.empty() || !platform::MakeDirectories(per_user.c_str())) return own;
  platform::RestrictToOwner(per_user.c_str());
  return per_user;
}

}  // namespace ombrix
