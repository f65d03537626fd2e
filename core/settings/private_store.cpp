// Private settings stores in the temporary directory.
#include "core/settings/private_store.h"

#include "core/platform/environment.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/settings/installation.h"

namespace ombrix {

std::string CreatePrivateSettingsStore(const std::string& install_dir) {
  const std::string temporary = platform::GetEnvironment("TMPDIR");
  const std::string directory = platform::MakeTemporaryDirectory(
      platform::JoinPath(temporary.empty() ? "/tmp" : temporary, "ombrix-registry.XXXXXX"));
  if (directory.empty()) return {};
  platform::SetEnvironment("OMBRIX_REGISTRY_DIR", directory);
  WriteInstallationDefaults(install_dir);
  return directory;
}

void RemovePrivateSettingsStore(const std::string& directory) {
  if (directory.empty()) return;
  for (const std::string& name : platform::ListDirectory(directory))
    platform::RemoveFile(platform::JoinPath(directory, name).c_str());
  platform::RemoveDirectory(directory.c_str());
}

}  // namespace ombrix
