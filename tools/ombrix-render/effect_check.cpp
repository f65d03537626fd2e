// Checking an effect against the installation before rendering.
#include "tools/ombrix-render/effect_check.h"

#include <cstdio>

#include "core/platform/files.h"
#include "core/plugin/last_error.h"
#include "core/script/effect_script.h"
#include "core/settings/settings.h"

namespace ombrix::render {

void BuildHostPluginTable(PluginTable& table, std::vector<std::string>* problems) {
  const int count = ReadSettingNumber("Plug-ins", "N_Plug", 0);
  for (int i = 0; i < count; ++i) {
    const std::string key = "Plug-in_" + std::to_string(i);
    const std::string path = ReadSetting("Plug-ins", key.c_str());
    if (!LoadPluginFile(table, path.c_str()) && problems != nullptr) problems->push_back(LastErrorText());
  }
}

EffectCheck CheckEffect(const std::string& script) {
  EffectCheck check;
  ScriptFile file;
  file.LoadText(script);
  const std::string* identification = file.Find("Header", "Identification");
  if (identification == nullptr || *identification != kScriptIdentification) {
    check.problems.push_back(script.empty() ? "the file is empty"
                                            : "not an effect script (no \"Identification=Zorvex\xA7OmbrixScript\" "
                                              "in its [Header], in Windows-1252 bytes)");
    return check;
  }
  PluginTable table;
  BuildHostPluginTable(table, &check.problems);
  for (const std::string& dropped : FiltersNotInTable(file, table)) check.problems.push_back(dropped);

  // The reader asks for every file it cannot find; here each one is a problem, not a question.
  FilterDescriptor* entries[kMaxScriptEntries] = {};
  int count = 0, test_frame = 0;
  ScriptHeader header;
  header.content_directory = ReadSetting("Options", "ContentDirectory");
  std::vector<std::string> missing;
  const MissingFileHandler note_missing = [&missing](char* text) {
    missing.push_back(text);
    return 0;
  };
  if (ReadScriptFrom(file, entries, kMaxScriptEntries, &count, &test_frame, header, table, note_missing) == 0) {
    check.problems.push_back("the script cannot be read");
    return check;
  }
  for (int i = 0; i < count; ++i) {
    const FilterDescriptor& e = *entries[i];
    check.filters.push_back(std::string("\"") + e.name + "\" of " + e.file_name);
    const std::string module = ReadSetting("References", e.file_name);
    if (module.empty() || !platform::CanOpenForReading(module.c_str()))
      check.problems.push_back(std::string("the plug-in ") + e.file_name + " is not installed (no readable file in " +
                               "the settings' \"References\")");
  }
  for (const std::string& name : missing) check.problems.push_back("Cannot find file \"" + name + "\"");
  for (int i = 0; i < count; ++i) FreeDescriptor(entries[i], true);
  if (count == 0 && check.problems.empty()) check.problems.push_back("the script holds no filter");
  return check;
}

std::vector<int> MissingFrames(const std::vector<std::string>& paths, int first) {
  std::vector<int> missing;
  for (size_t i = 0; i < paths.size(); ++i)
    if (!platform::CanOpenForReading(paths[i].c_str())) missing.push_back(first + int(i));
  return missing;
}

}  // namespace ombrix::render
