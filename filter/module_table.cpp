// Plug-in table from the settings store, and the per-render module table.
#include "filter/module_table.h"

#include <strings.h>

#include <cstdio>

#include "core/platform/files.h"
#include "core/platform/message_box.h"
#include "core/plugin/last_error.h"
#include "core/settings/settings.h"

namespace ombrix::engine {
namespace {
constexpr const char* kErrorCaption = "Ombrix - Error";
}

void BuildPluginTable(PluginTable& table) {
  const int count = ReadSettingNumber("Plug-ins", "N_Plug", 0);
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "Plug-in_%d", i);
    const std::string path = ReadSetting("Plug-ins", name, "");
    if (!LoadPluginFile(table, path.c_str()))
      platform::ShowMessageBox(LastErrorText(), LastErrorCaption(), platform::kIconError);
  }
}

int ModuleTable::FindModule(const char* file_name) const {
  if (file_name == nullptr) return -1;
  for (size_t i = 0; i < names_.size(); ++i)
    if (strcasecmp(names_[i].c_str(), file_name) == 0) return int(i);
  return -1;
}

int ModuleTable::LoadModule(const char* file_name) {
  if (file_name == nullptr) file_name = "";
  if (FindModule(file_name) >= 0) return 1;
  const std::string path = ReadSetting("References", file_name, "");
  if (path.empty()) {
    RecordLastError(kErrorCaption, "Cannot find path for\n\"%s\".", file_name);
    return 0;
  }
  platform::LibraryHandle module = nullptr;
  if (platform::CanOpenForReading(path.c_str())) module = platform::OpenLibrary(path.c_str());
  if (module == nullptr) {
    RecordLastError(kErrorCaption, "Cannot find file\n\"%s\".", path.c_str());
    return 0;
  }
  auto entry = reinterpret_cast<FilterEntryFunction>(platform::LibrarySymbol(module, "Ombrix_Filter_Plugin_Entry"));
  if (entry == nullptr) {
    // Not counted, so every entry of this module fails at its turn; the library goes at once.
    RecordLastError(kErrorCaption, "Cannot find plug-in entry point\n\"%s\".", path.c_str());
    platform::CloseLibrary(module);
    return 0;
  }
  // A filter module stays in memory for the rest of the process once a render has used it, so
  // its random sequence goes on from frame to frame instead of starting again at every render.
  platform::PinModuleOf(reinterpret_cast<const void*>(entry));
  entry(kCommandInitialise, 0, nullptr);
  names_.emplace_back(file_name);
  modules_.push_back(module);
  return 1;
}

FilterEntryFunction ModuleTable::Entry(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return reinterpret_cast<FilterEntryFunction>(
      platform::LibrarySymbol(modules_[size_t(index)], "Ombrix_Filter_Plugin_Entry"));
}

void ModuleTable::ReleaseModules() {
  for (size_t i = 0; i < modules_.size(); ++i) {
    if (FilterEntryFunction entry = Entry(int(i))) entry(kCommandRelease, 0, nullptr);
    platform::CloseLibrary(modules_[i]);
  }
  modules_.clear();
  names_.clear();
}

}  // namespace ombrix::engine
