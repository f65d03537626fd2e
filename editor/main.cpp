// ombrix-editor: the effect editor.
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>

#include "core/platform/console.h"
#include "core/platform/environment.h"
#include "core/settings/private_store.h"
#include "editor/model/command_line.h"
#include "editor/windows/editor_app.h"

namespace {

constexpr const char* kNoDisplay = "ombrix-editor: cannot open a display (set DISPLAY)\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace ombrix;
  const editor::CommandLine line = editor::ParseCommandLine(argc, argv, platform::CurrentDirectory());
  switch (line.action) {
    case editor::CommandLine::Action::kHelp:
      std::fputs(editor::UsageText(), stdout);
      return 0;
    case editor::CommandLine::Action::kVersion:
      std::fputs(editor::VersionText(), stdout);
      return 0;
    case editor::CommandLine::Action::kUsageError:
      std::fprintf(stderr, "ombrix-editor: %s (see --help)\n", line.error.c_str());
      return 2;
    case editor::CommandLine::Action::kRun:
      break;
  }
  if (platform::HeadlessSession()) {
    std::fputs(kNoDisplay, stderr);
    return editor::kExitStartFailed;
  }

  std::string private_store;
  if (!line.root.empty()) {
    private_store = CreatePrivateSettingsStore(line.root);
    if (private_store.empty()) {
      std::fprintf(stderr, "ombrix-editor: cannot make a settings store for %s\n", line.root.c_str());
      return editor::kExitStartFailed;
    }
  }

  // The toolkit sees only the program's name: the rest of the command line is the script path.
  auto* app = new editor::EditorApp(line);
  wxApp::SetInstance(app);
  int toolkit_argc = 1;
  char* toolkit_argv[] = {argv[0], nullptr};
  // The toolkit's own complaint about a display it cannot open would be a second line.
  wxLog::EnableLogging(false);
  const bool started = wxEntryStart(toolkit_argc, toolkit_argv);
  wxLog::EnableLogging(true);
  if (!started) {
    std::fputs(kNoDisplay, stderr);
    RemovePrivateSettingsStore(private_store);
    return editor::kExitStartFailed;
  }
  int status = editor::kExitStartFailed;
  if (app->CallOnInit()) {
    app->OnRun();
    status = app->ExitCode();
  }
  app->OnExit();
  wxEntryCleanup();
  RemovePrivateSettingsStore(private_store);
  return status;
}
