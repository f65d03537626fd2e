// Joining the editor's paths.
#include "editor/model/derived_paths.h"

#include "core/platform/paths.h"

namespace ombrix::editor {

DerivedPaths BuildDerivedPaths(const std::string& install_dir, const std::string& help_file,
                               const std::string& temporary_folder) {
  using platform::JoinPath;
  DerivedPaths paths;
  paths.install_dir = install_dir;
  paths.filter_module = JoinPath(JoinPath(install_dir, "Programs"), "ombrix-filter.p");
  paths.temporary_folder = temporary_folder;
  paths.render_script = JoinPath(temporary_folder, "Render.Oms");
  paths.last_script = JoinPath(temporary_folder, "Last.Oms");
  paths.help_folder = JoinPath(install_dir, "Help");
  paths.main_help_file = JoinPath(paths.help_folder, help_file);
  return paths;
}

}  // namespace ombrix::editor
