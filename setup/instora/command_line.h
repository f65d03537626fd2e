// The setup program's command line: the medium's folder, and the options of an installation
// without windows for render-farm nodes and scripted installs.
#pragma once

#include <string>
#include <vector>

namespace ombrix::setup {

struct SetupCommandLine {
  enum class Action { kWindows, kUnattended, kHelp, kUsageError };
  Action action = Action::kUsageError;
  std::string source_dir;  // absolute
  std::string install_dir;
  std::string renderer_dir;  // empty: none
  std::string error;         // for kUsageError
};

const char* SetupUsageText();
// Relative folders are taken from current_dir.
SetupCommandLine ParseSetupCommandLine(const std::vector<std::string>& arguments, const std::string& current_dir);

}  // namespace ombrix::setup
