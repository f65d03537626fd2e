// The editor's command line. The image-filter module starts the editor with "<editor> <script>"
// as one line, so the arguments joined with one blank are the launch script's path: a path with
// blanks still arrives whole. No arguments: the user started the editor.
#pragma once

#include <string>

namespace ombrix::editor {

struct CommandLine {
  enum class Action { kRun, kHelp, kVersion, kUsageError };
  Action action = Action::kRun;
  std::string launch_script;  // absolute, or empty
  std::string root;           // --root: work on this installation with settings of its own
  std::string error;          // for kUsageError
};

// The options come first: --help (-h), --version, --root DIR. Any other argument that starts
// with "--" as the first one is a usage error; from the first other argument on, every argument
// is part of the launch script path. A relative path is made absolute against cwd.
CommandLine ParseCommandLine(int argc, const char* const* argv, const std::string& cwd);
const char* UsageText();
const char* VersionText();

}  // namespace ombrix::editor
