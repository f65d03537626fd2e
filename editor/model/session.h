// Everything the editor holds for one run, from start-up until it ends: the launch script, the
// option set and derived paths, the plug-in table and its menu, the chain with its script
// header and test frame, the test picture, the last test render and the image-filter module.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/picture/picture.h"
#include "core/platform/paths.h"
#include "core/plugin/plugin_host.h"
#include "core/script/effect_script.h"
#include "editor/model/derived_paths.h"
#include "editor/model/filter_chain.h"
#include "editor/model/filter_menu.h"
#include "editor/model/filter_module.h"
#include "editor/model/options.h"
#include "gui/dialogs.h"

namespace ombrix::editor {

struct EditorSession {
  explicit EditorSession(std::string launch_script_path = {})
      : launch_script(std::move(launch_script_path)),
        launched_with_script(!launch_script.empty()),
        script_path(launch_script) {
    custom_colours.fill(gui::kWhite);
  }

  std::string launch_script;  // the command line: the script to edit, or empty
  // The folder the editor runs from; without settings, start-up offers an installation tree there.
  std::string program_directory = platform::ExecutableDirectory();
  bool launched_with_script = false;
  OptionSet options;
  DerivedPaths paths;
  PluginTable plugins;
  std::vector<FilterMenuGroup> menu;
  FilterChain chain;
  ScriptHeader header;  // content directory and based size of the scripts read and written
  int test_frame = 0;
  std::unique_ptr<Picture> test_picture;  // null when there is none
  Picture last_render;                    // the last successful test render; empty before the first
  FilterModule filter_module;
  std::string startup_script;  // the script read at start-up, or empty
  // The script last loaded or saved (at first the launch script): its file name is where the
  // Load and Save dialogs start.
  std::string script_path;
  // Set once a script was read or a filter chosen: only then does confirming write the chain.
  bool ready = false;
  // The colour dialog's 16 custom colours, one set for the whole run and every window.
  gui::CustomColours custom_colours{};
};

}  // namespace ombrix::editor
