// Loading and extending the plug-in database.
#include "editor/model/plugin_database.h"

#include <cstdio>

#include "core/platform/dynamic_library.h"
#include "core/platform/paths.h"
#include "core/plugin/last_error.h"
#include "core/settings/settings.h"
#include "core/text/ascii.h"
#include "editor/model/dialog_folders.h"

namespace ombrix::editor {
namespace {

constexpr const char* kCountValue = "N_Plug";

std::string ListValueName(int i) { return "Plug-in_" + std::to_string(i); }

std::string Quoted(const char* format, const std::string& path) {
  char text[1024];
  std::snprintf(text, sizeof text, format, path.c_str());
  return text;
}

}  // namespace

bool LoadPluginDatabase(PluginTable& table, const ReportFailure& report) {
  for (int i = 0; i < ReadSettingNumber(kPluginsSection, kCountValue, 0); ++i) {
    const std::string path = ReadSetting(kPluginsSection, ListValueName(i).c_str());
    ClearLastError();
    if (!LoadPluginFile(table, path.c_str()) && report) report(LastErrorText(), "Ombrix - Error");
  }
  return table.Count() > 0;
}

bool RegisterPluginFile(const std::string& path, std::string* error) {
  const std::string name = platform::FileNamePart(path.c_str());
  const std::string previous = ReadSetting(kReferencesSection, name.c_str());

  platform::LibraryHandle module = platform::OpenLibrary(path.c_str());
  if (module == nullptr) {
    if (error != nullptr) *error = Quoted("Cannot find file\n\"%s\".", path);
    return false;
  }
  const bool identified = CheckModuleKind(module, 1);
  platform::CloseLibrary(module);
  if (!identified) {
    if (error != nullptr) *error = Quoted("File \"%s\".cannot be recognize and use\nby this version of Ombrix", path);
    return false;
  }

  const int count = ReadSettingNumber(kPluginsSection, kCountValue, 0);
  for (int i = 0; i < count; ++i) {
    const std::string value_name = ListValueName(i);
    if (!text::EqualsIgnoringCase(ReadSetting(kPluginsSection, value_name.c_str()), previous)) continue;
    WriteSettingText(kPluginsSection, value_name.c_str(), path.c_str());
    WriteSettingText(kReferencesSection, name.c_str(), path.c_str());
    return true;
  }
  WriteSettingText(kPluginsSection, ListValueName(count).c_str(), path.c_str());
  WriteSettingText(kReferencesSection, name.c_str(), path.c_str());
  WriteSettingNumber(kPluginsSection, kCountValue, count + 1);
  return true;
}

Notice AddPluginFromFile(const std::optional<std::string>& chosen) {
  if (!chosen) return {"No plug-in added.", "Ombrix - Message"};
  std::string error;
  const bool registered = RegisterPluginFile(*chosen, &error);
  RememberDialogFolder(kPluginFolderValue, *chosen);
  if (!registered) return {error, "Ombrix - Error"};
  return {"Plug-in has bean added to the database\nAnd will be available at next Ombrix run.", "Ombrix - Message"};
}

}  // namespace ombrix::editor
