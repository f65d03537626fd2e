// Instora: the setup program. Started by the medium's "install" with the medium's folder, it
// installs Ombrix through its windows, or without any with --unattended.
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/platform/console.h"
#include "core/platform/environment.h"
#include "setup/instora/command_line.h"
#include "setup/instora/setup_app.h"
#include "setup/instora/unattended.h"

namespace {

class SetupApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
  using namespace ombrix;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const setup::SetupCommandLine line = setup::ParseSetupCommandLine(arguments, platform::CurrentDirectory());
  switch (line.action) {
    case setup::SetupCommandLine::Action::kHelp:
      std::fputs(setup::SetupUsageText(), stdout);
      return 0;
    case setup::SetupCommandLine::Action::kUsageError:
      std::fprintf(stderr, "Instora: %s\n%s", line.error.c_str(), setup::SetupUsageText());
      return 2;
    case setup::SetupCommandLine::Action::kUnattended:
      return setup::RunUnattendedSetup(line);
    case setup::SetupCommandLine::Action::kWindows:
      break;
  }
  constexpr const char* kNoDisplay =
      "Instora: cannot open a display (set DISPLAY), or install without windows with --unattended\n";
  if (platform::HeadlessSession()) {
    std::fputs(kNoDisplay, stderr);
    return 2;
  }
  wxApp::SetInstance(new SetupApp);
  int toolkit_argc = 1;
  char* toolkit_argv[] = {argv[0], nullptr};
  wxLog::EnableLogging(false);
  const bool started = wxEntryStart(toolkit_argc, toolkit_argv);
  wxLog::EnableLogging(true);
  if (!started) {
    std::fputs(kNoDisplay, stderr);
    return 2;
  }
  delete wxLog::SetActiveTarget(new wxLogStderr);  // NOLINT(clang-analyzer-cplusplus.NewDeleteLeaks)
  const int status = setup::RunWindowedSetup(line);
  wxEntryCleanup();
  return status;
}
