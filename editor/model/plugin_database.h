// The plug-in database: the list of filter plug-in files in sections "Plug-ins" and "References"
// of the settings store, loaded into the editor's plug-in table at start-up and extended by
// "Add plug-in..." in the options window.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/plugin/plugin_host.h"

namespace ombrix::editor {

inline constexpr const char* kPluginsSection = "Plug-ins";
inline constexpr const char* kReferencesSection = "References";

// The file dialog of "Add plug-in...".
inline constexpr const char* kAddPluginTitle = "Add Plug-in From File";
inline constexpr const char* kAddPluginExtension = "OMP";
inline constexpr const char* kAddPluginFilter =
    "Ombrix Plug-in (*.Dll, *.p, *.Omp)|*.Dll*;*.p*;*.Omp*|All files (*.*)|*.*||";
inline constexpr const char* kPluginFolderValue = "PluginOpenDir";

// Called with a loader failure's text and caption, to be shown to the user.
using ReportFailure = std::function<void(const char* text, const char* caption)>;

// Loads every listed file ("Plug-in_0", "Plug-in_1", ... while below "N_Plug", which is read
// again before every file) into the table in copy-and-unload mode. A file the loader refuses is
// reported with the loader's own text and skipped. True when the table holds at least one filter.
bool LoadPluginDatabase(PluginTable& table, const ReportFailure& report);

// Registers a plug-in file. A file whose name is already in "References" replaces the old path
// in the list (the first "Plug-in_%d" holding it, letter case ignored); otherwise the path is
// appended and "N_Plug" grows by one. A file that cannot be loaded or is no filter plug-in gives
// false with the text to show, and nothing is written.
bool RegisterPluginFile(const std::string& path, std::string* error);

// A message for the user: its text and caption.
struct Notice {
  std::string text;
  std::string caption;
};

// What follows the "Add plug-in..." file dialog: nothing chosen gives "No plug-in added.";
// otherwise the file is registered and its folder is remembered in "PluginOpenDir", and the
// notice tells whether the registration worked.
Notice AddPluginFromFile(const std::optional<std::string>& chosen);

}  // namespace ombrix::editor
