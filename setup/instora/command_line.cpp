// Parsing the setup program's command line.
#include "setup/instora/command_line.h"

#include "core/platform/paths.h"

namespace ombrix::setup {

const char* SetupUsageText() {
  return "Usage: Instora MEDIUM\n"
         "       Instora MEDIUM --unattended --install-dir DIR [--renderer-dir DIR] --accept-license\n"
         "The setup program of Ombrix, started by the medium's \"install\" with the medium's folder\n"
         "MEDIUM. It shows the licence and the options, copies the chosen components from the medium\n"
         "into the installation folder, makes the menu entries, the file types, the settings and the\n"
         "renderer's configuration lines, and writes the uninstall log.\n"
         "With --unattended it installs every component into DIR without a window and prints what it\n"
         "does: --accept-license says that the licence is accepted, --renderer-dir names the folder\n"
         "of the renderer's configuration file \"Lw.Cfg\" (or the folder above its \"Programs\").\n"
         "Exit status: 0 installed, 1 some components failed, 2 aborted or a bad command line.\n";
}

SetupCommandLine ParseSetupCommandLine(const std::vector<std::string>& arguments, const std::string& current_dir) {
  SetupCommandLine line;
  auto fail = [&line](std::string error) {
    line.action = SetupCommandLine::Action::kUsageError;
    line.error = std::move(error);
    return line;
  };
  auto absolute = [&current_dir](const std::string& path) {
    return platform::IsAbsolutePath(path.c_str()) ? path : platform::JoinPath(current_dir, path);
  };
  bool unattended = false, accepted = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (a == "--help" || a == "-h") {
      if (arguments.size() != 1) return fail("--help takes nothing else");
      line.action = SetupCommandLine::Action::kHelp;
      return line;
    }
    if (a == "--unattended") {
      unattended = true;
    } else if (a == "--accept-license") {
      accepted = true;
    } else if (a == "--install-dir" || a == "--renderer-dir") {
      if (i + 1 >= arguments.size() || arguments[i + 1].empty()) return fail("missing folder after " + a);
      (a == "--install-dir" ? line.install_dir : line.renderer_dir) = absolute(arguments[++i]);
    } else if (a.starts_with("--")) {
      return fail("unknown option \"" + a + "\"");
    } else if (!line.source_dir.empty()) {
      return fail("more than one medium folder");
    } else {
      line.source_dir = absolute(a);
    }
  }
  if (line.source_dir.empty()) return fail("the medium's folder is missing");
  if (!unattended) {
    if (accepted || !line.install_dir.empty() || !line.renderer_dir.empty())
      return fail("--install-dir, --renderer-dir and --accept-license go with --unattended");
    line.action = SetupCommandLine::Action::kWindows;
    return line;
  }
  if (line.install_dir.empty()) return fail("--unattended needs --install-dir");
  if (!accepted) return fail("--unattended needs --accept-license: the licence must be accepted");
  line.action = SetupCommandLine::Action::kUnattended;
  return line;
}

}  // namespace ombrix::setup
