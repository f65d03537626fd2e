// Initial settings of an installation.
#include "core/settings/installation.h"

#include <string>

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/settings/settings.h"

namespace ombrix {

void WriteInstallationDefaults(const std::string& install_dir, bool only_existing_plugins) {
  using platform::JoinPath;
  auto in_dir = [&](const char* relative) { return JoinPath(install_dir, relative); };
  WriteSettingText(nullptr, "InstallDir", install_dir.c_str());
  WriteSettingText(nullptr, "Im_pp", in_dir("UGIO/Im_pp").c_str());
  WriteSettingText(nullptr, "OmOutDll", in_dir("Programs/OmOutX.Omw").c_str());
  WriteSettingText(nullptr, "HelpDir", in_dir("Help").c_str());
  WriteSettingText(nullptr, "InfoData", in_dir("Programs/Info.Dta").c_str());
  WriteSettingText(nullptr, "AskData", in_dir("Programs/Ask.Dta").c_str());
  WriteSettingText(nullptr, "WorkingData", in_dir("Programs/Work.Dta").c_str());
  WriteSettingText(nullptr, "Version", "X 1.0e");
  WriteSettingText(nullptr, "HelpFile", "Ombrix.Hlp");

  int count = 0;
  for (const char* name : {"ZvPic.Omp", "ZvPal.Omp", "ZvCom.Omp"}) {
    const std::string path = JoinPath(in_dir("Plugins"), name);
    if (only_existing_plugins && !platform::FileExists(path.c_str())) continue;
    const std::string key = "Plug-in_" + std::to_string(count++);
    WriteSettingText("Plug-ins", key.c_str(), path.c_str());
    WriteSettingText("References", name, path.c_str());
  }
  WriteSettingNumber("Plug-ins", "N_Plug", count);

  for (const char* name : {"AskDel", "ShowProgress", "ShowXPic", "ShowPic", "KeepXPic", "AskExit"})
    WriteSettingNumber("Options", name, 1);
  WriteSettingNumber("Options", "StartLast", 0);
  WriteSettingText("Options", "RenderPicture", "");
  WriteSettingText("Options", "LastConfig", "");
  WriteSettingText("Options", "ContentDirectory", install_dir.c_str());
  WriteSettingText("Options", "TestPicture", in_dir("Images/Back.Bmp").c_str());
  WriteSettingNumber("Options", "B-Width", 640);
  WriteSettingNumber("Options", "B-Height", 480);
}

}  // namespace ombrix
