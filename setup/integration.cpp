// The uninstall registration, the initial settings and logged directories.
#include "setup/integration.h"

#include <vector>

#include "core/platform/environment.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/registry.h"
#include "core/settings/installation.h"
#include "core/settings/settings.h"

namespace ombrix::setup {
namespace {

using platform::RegistryRoot;

// "A\B\C" as the parent path "A\B\" and the name "C".
void SplitKey(const std::string& key, std::string& parent, std::string& name) {
  std::string trimmed = key;
  while (!trimmed.empty() && trimmed.back() == '\\') trimmed.pop_back();
  const size_t cut = trimmed.rfind('\\');
  parent = cut == std::string::npos ? std::string() : trimmed.substr(0, cut + 1);
  name = cut == std::string::npos ? trimmed : trimmed.substr(cut + 1);
}

}  // namespace

bool MakeDirectoryLogged(const std::string& path, UninstallLog& log) {
  std::vector<std::string> missing;
  for (std::string dir = path; !dir.empty() && !platform::IsDirectory(dir); dir = platform::DirectoryPart(dir)) {
    missing.push_back(dir);
    if (platform::DirectoryPart(dir) == dir) break;
  }
  if (!platform::MakeDirectories(path.c_str())) return false;
  for (auto dir = missing.rbegin(); dir != missing.rend(); ++dir) log.Add(EntryKind::RemoveDirectory, *dir);
  return true;
}

void RegisterUninstaller(const InstallLocations& locations, UninstallLog& log) {
  const std::string key = std::string(kUninstallParentKey) + kUninstallKeyName + '\\';
  platform::RegistrySetString(RegistryRoot::kLocalMachine, key, "DisplayName", kDisplayName);
  platform::RegistrySetString(RegistryRoot::kLocalMachine, key, "UninstallString",
                              locations.UninstallerPath() + ' ' + locations.LogPath());
  log.Add(EntryKind::RemoveMachineKey, kUninstallParentKey, kUninstallKeyName);
}

void WriteInitialSettings(const InstallLocations& locations, UninstallLog& log) {
  // The product list key is shared by the maker's products: it goes with the product only when
  // this installation made it.
  const bool made_product_list = !platform::RegistryKeyExists(RegistryRoot::kCurrentUser, kProductListKey);
  bool first = true;
  for (const InitialSetting& row : InitialSettings(locations.install_dir, false)) {
    platform::RegistrySetString(RegistryRoot::kCurrentUser, row.key_path, row.name, row.text);
    if (!first) continue;
    first = false;
    std::string parent, name;
    SplitKey(kProductKey, parent, name);
    log.Add(EntryKind::RemoveUserKey, parent, name);
    if (made_product_list) {
      SplitKey(kProductListKey, parent, name);
      log.Add(EntryKind::RemoveUserKey, parent, name);
    }
  }
}

}  // namespace ombrix::setup
