// Initial settings of an installation.
#include "core/settings/installation.h"

#include <string>
#include <string_view>

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/registry.h"
#include "core/settings/settings.h"

namespace ombrix {

std::vector<InitialSetting> InitialSettings(const std::string& install_dir, bool only_existing_plugins) {
  using platform::JoinPath;
  auto in_dir = [&](const char* relative) { return JoinPath(install_dir, relative); };
  const std::string product = std::string(kProductKey) + '\\';
  const std::string plugins = product + "Plug-ins\\";
  const std::string references = product + "References\\";
  const std::string options = product + "Options\\";

  std::vector<InitialSetting> rows = {
      {kProductListKey, kProductListValue, in_dir("Programs/ombrix-editor")},
      {product, "InstallDir", install_dir},
      {product, "Im_pp", in_dir("UGIO/Im_pp")},
      {product, "OmOutDll", in_dir("Programs/OmOutX.Omw")},
      {product, "HelpDir", in_dir("Help")},
      {product, "InfoData", in_dir("Programs/Info.Dta")},
      {product, "AskData", in_dir("Programs/Ask.Dta")},
      {product, "WorkingData", in_dir("Programs/Work.Dta")},
      {product, "Version", "X 1.0e"},
      {product, "HelpFile", "Ombrix.Hlp"},
      {product, kCopyrightValue, kCopyrightNotice},
  };

  std::vector<std::pair<std::string, std::string>> listed;  // file name, full path
  for (const char* name : {"ZvPic.Omp", "ZvPal.Omp", "ZvCom.Omp"}) {
    const std::string path = JoinPath(in_dir("Plugins"), name);
    if (!only_existing_plugins || platform::FileExists(path.c_str())) listed.emplace_back(name, path);
  }
  rows.push_back({plugins, "N_Plug", std::to_string(listed.size())});
  for (size_t i = 0; i < listed.size(); ++i)
    rows.push_back({plugins, "Plug-in_" + std::to_string(i), listed[i].second});
  for (const auto& [name, path] : listed) rows.push_back({references, name, path});

  for (const char* name : {"AskDel", "ShowProgress", "ShowXPic", "ShowPic", "KeepXPic", "AskExit"})
    rows.push_back({options, name, "1"});
  rows.push_back({options, "StartLast", "0"});
  rows.push_back({options, "RenderPicture", ""});
  rows.push_back({options, "LastConfig", ""});
  rows.push_back({options, "ContentDirectory", install_dir});
  rows.push_back({options, "TestPicture", in_dir("Images/Back.Bmp")});
  rows.push_back({options, "B-Width", "640"});
  rows.push_back({options, "B-Height", "480"});
  return rows;
}

std::string InstallationTreeOf(const std::string& program_dir) {
  std::string dir = program_dir;
  while (dir.size() > 1 && platform::IsSeparator(dir.back())) dir.pop_back();
  if (std::string_view(platform::FileNamePart(dir.c_str())) != "Programs") return {};
  const std::string tree = platform::DirectoryPart(dir);
  if (tree.empty() || !platform::FileExists(platform::JoinPath(dir, "ombrix-filter.p").c_str()) ||
      !platform::DirectoryExists(platform::JoinPath(tree, "Plugins").c_str()))
    return {};
  return tree;
}

void WriteInstallationDefaults(const std::string& install_dir, bool only_existing_plugins) {
  for (const InitialSetting& row : InitialSettings(install_dir, only_existing_plugins))
    platform::RegistrySetString(platform::RegistryRoot::kCurrentUser, row.key_path, row.name, row.text);
}

}  // namespace ombrix
