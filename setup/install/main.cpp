// install: the first program of the distribution medium. It expands the run-time files into the
// system folder, expands the setup program into a working folder, runs it on the medium and
// removes the working folder again. It needs no windowing toolkit.
#include <cstdio>
#include <string>
#include <vector>

#include "core/platform/console.h"
#include "core/platform/paths.h"
#include "core/platform/system_folders.h"
#include "setup/low_level_install.h"

namespace {

constexpr const char* kUsage =
    "Usage: install [SETUP OPTIONS]\n"
    "Installs Ombrix from the distribution medium this program lies on: expands the run-time\n"
    "files of its \"Data\" folder into $XDG_DATA_HOME/zorvex/windows/System (files already there\n"
    "are kept), then runs the setup program from a working folder and removes that folder again.\n"
    "Every option is passed on to the setup program; for a scripted installation without windows:\n"
    "  install --unattended --install-dir DIR [--renderer-dir DIR] --accept-license\n"
    "Exit status: the setup program's (0 installed, 1 some components failed, 2 aborted or bad\n"
    "options); 1 when the setup program cannot be run.\n";

constexpr const char* kWaitText = "Please wait, installing components...";

// The wait window is one line on the terminal, taken away again once the files are unpacked.
class TerminalWait : public ombrix::setup::WaitIndicator {
 public:
  void Show() override {
    terminal_ = ombrix::platform::StandardErrorIsTerminal();
    ombrix::platform::WriteStandardError(std::string(kWaitText) + (terminal_ ? "" : "\n"));
  }
  void Hide() override {
    if (terminal_) ombrix::platform::WriteStandardError("\r\x1b[K");
  }

 private:
  bool terminal_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  using namespace ombrix;
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  setup::LowLevelInstall install;
  install.source_dir = platform::ExecutableDirectory();
  install.windows_dir = platform::WindowsDirectory();
  install.setup_arguments = arguments;
  TerminalWait wait;
  const setup::LowLevelResult result = setup::RunLowLevelInstall(install, wait);
  if (!result.setup_started || result.setup_status < 0) {
    std::fprintf(stderr, "install: the setup program \"%s/%s\" %s\n", install.WorkingDirectory().c_str(),
                 setup::kSetupProgramName, result.setup_started ? "did not end normally" : "could not be run");
    return 1;
  }
  return result.setup_status;
}
