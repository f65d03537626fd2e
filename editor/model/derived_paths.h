// The paths the editor derives from the installation directory.
#pragma once

#include <string>

namespace ombrix::editor {

inline constexpr const char* kDefaultHelpFile = "Ombrix.Hlp";

struct DerivedPaths {
  std::string install_dir;
  std::string filter_module;     // Programs/ombrix-filter.p
  std::string temporary_folder;  // Programs/Temp, or the per-user folder standing in for it
  std::string render_script;     // Render.Oms in the temporary folder
  std::string last_script;       // Last.Oms in the temporary folder
  std::string help_folder;       // Help
  std::string main_help_file;    // the help folder joined with the "HelpFile" value
};

// Joins the parts with the native separator. temporary_folder is the folder chosen for the
// installation's temporary files (PrepareTemporaryFolder); the two scripts live in it.
DerivedPaths BuildDerivedPaths(const std::string& install_dir, const std::string& help_file,
                               const std::string& temporary_folder);

}  // namespace ombrix::editor
