// Reading the editor's command line.
#include "editor/model/command_line.h"

#include "core/platform/paths.h"

namespace ombrix::editor {

CommandLine ParseCommandLine(int argc, const char* const* argv, const std::string& cwd) {
  CommandLine line;
  int i = 1;
  for (; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      line.action = CommandLine::Action::kHelp;
      return line;
    }
    if (a == "--version") {
      line.action = CommandLine::Action::kVersion;
      return line;
    }
    if (a == "--root") {
      if (i + 1 >= argc) {
        line.action = CommandLine::Action::kUsageError;
        line.error = "--root needs a directory";
        return line;
      }
      line.root = argv[++i];
      if (!platform::IsAbsolutePath(line.root.c_str())) line.root = platform::JoinPath(cwd, line.root);
      continue;
    }
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      line.action = CommandLine::Action::kUsageError;
      line.error = "unknown option " + a;
      return line;
    }
    break;
  }
  for (; i < argc; ++i) {
    if (!line.launch_script.empty()) line.launch_script += ' ';
    line.launch_script += argv[i];
  }
  if (!line.launch_script.empty() && !platform::IsAbsolutePath(line.launch_script.c_str()))
    line.launch_script = platform::JoinPath(cwd, line.launch_script);
  return line;
}

const char* UsageText() {
  return "usage: ombrix-editor [--root DIR] [EFFECT.Oms]\n"
         "\n"
         "The Ombrix effect editor: builds and tests effects (chains of filters) on a test picture\n"
         "and saves them as .Oms scripts. Started with a script, it edits that script and saves the\n"
         "chain back to it when confirmed (the image-filter module starts it this way).\n"
         "\n"
         "options:\n"
         "  --root DIR   work on the installation in DIR with a settings store of this run's own,\n"
         "               filled with DIR's initial settings and removed at the end (for trying a\n"
         "               staged tree without installing it)\n"
         "  --help, --version\n"
         "\n"
         "example:\n"
         "  ombrix-editor --root \"$PWD/stage\" stage/Samples/Demo.Oms\n"
         "\n"
         "The editor needs a display. Exit status: 0 when it ended normally, 1 when it could not\n"
         "start, 2 for a bad command line.\n";
}

const char* VersionText() { return "ombrix-editor 1.0e\n"; }

}  // namespace ombrix::editor
