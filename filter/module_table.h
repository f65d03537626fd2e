// The plug-in table built from the registered plug-in files, and the render-time module table
// that loads each module a script names once per render, found through "References".
#pragma once

#include <string>
#include <vector>

#include "core/platform/dynamic_library.h"
#include "core/plugin/plugin_host.h"
#include "core/records.h"

namespace ombrix::engine {

// Fills table from "Plug-ins": "N_Plug" files named "Plug-in_%d". A file that cannot be read is
// reported in a message box and skipped.
void BuildPluginTable(PluginTable& table);

class ModuleTable {
 public:
  ModuleTable() = default;
  ~ModuleTable() { ReleaseModules(); }
  ModuleTable(const ModuleTable&) = delete;
  ModuleTable& operator=(const ModuleTable&) = delete;

  // Loads the module whose path "References" gives for file_name and sends it command 1.
  // 1 when it is (or already was) loaded; 0 with the last error set.
  int LoadModule(const char* file_name);
  // Index of the loaded module with this file name, letter case ignored; -1 when none.
  int FindModule(const char* file_name) const;
  // Sends every module command 4 and unloads it.
  void ReleaseModules();

  int Count() const { return int(modules_.size()); }
  FilterEntryFunction Entry(int index) const;

 private:
  std::vector<std::string> names_;
  std::vector<platform::LibraryHandle> modules_;
};

}  // namespace ombrix::engine
