// uninstall: removes an installation by replaying its uninstall log backwards, in a window when
// there is a display and with a progress line on the terminal otherwise.
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/platform/console.h"
#include "setup/terminal_display.h"
#include "setup/uninstaller.h"
#include "setup/uninstaller/uninstall_window.h"

namespace {

constexpr const char* kUsage =
    "Usage: uninstall [LOG]\n"
    "Removes an installation of Ombrix by taking back, from the last to the first, the changes\n"
    "that its uninstall log records: files, folders, registry keys and configuration lines.\n"
    "LOG is the uninstall log; without it, \"Install.Nui\" in the current directory. The program\n"
    "is installed as \"Uninst.Exe\" next to the log, and the list of installed programs starts it\n"
    "with the log's path.\n"
    "Without a display (or with OMBRIX_HEADLESS=1) it shows its progress on the terminal.\n"
    "Options: --help  this text.\n"
    "Example: uninstall ~/.local/share/zorvex/windows/Zorvex/Ombrix/Install.Nui\n"
    "Exit status: 0 when the log was replayed (removals that fail are passed over), 1 when the\n"
    "log cannot be read or the window cannot be opened, 2 for a bad command line.\n";

constexpr const char* kToolkitError =
    "OLE initialization failed.  Make sure that the OLE libraries are the correct version.";

class UninstallApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h")) {
    if (arguments.size() != 1) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    std::fputs(kUsage, stdout);
    return 0;
  }
  const std::string log_path = ombrix::setup::LogPathFromArguments(arguments);

  if (ombrix::platform::HeadlessSession()) {
    ombrix::setup::TerminalDisplay display;
    return ombrix::setup::RunUninstaller(log_path, display);
  }

  // The toolkit stands in for the original's OLE and control hosting.
  wxApp::SetInstance(new UninstallApp);
  int toolkit_argc = 1;
  char* toolkit_argv[] = {argv[0], nullptr};
  if (!wxEntryStart(toolkit_argc, toolkit_argv)) {
    std::fprintf(stderr, "%s: %s\n", ombrix::setup::kUninstallCaption, kToolkitError);
    return 1;
  }
  delete wxLog::SetActiveTarget(new wxLogStderr);  // NOLINT(clang-analyzer-cplusplus.NewDeleteLeaks)
  int status = 0;
  {
    ombrix::setup::WindowDisplay display;
    status = ombrix::setup::RunUninstaller(log_path, display);
  }
  wxEntryCleanup();
  return status;
}
