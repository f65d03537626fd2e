// The editor's start-up, from reading its configuration to reading its start-up script, as a
// sequence of steps that the main window drives and can be followed without a display.
#pragma once

#include "core/platform/process.h"
#include "editor/model/session.h"
#include "gui/dialogs.h"

namespace ombrix::editor {

// The splash window's texts, shown before each of the five steps, in this order.
inline constexpr const char* kStepTexts[] = {"Reading config file...", "Loading plug-ins...", "Building menu...",
                                             "Creating window...", "Loading pictures..."};
inline constexpr const char* kReinstallMessage = "Some information are missing, you must reinstall Ombrix";
// Asked after kReinstallMessage when the editor runs from an installation tree.
std::string WriteSettingsQuestion(const std::string& tree);

// What the sequence asks of the windows. Messages go through the dialogs, not through here.
class StartupView {
 public:
  virtual ~StartupView() = default;
  // Before each of the five steps: the splash window shows its text.
  virtual void ShowStep(const char* text) = 0;
  // Step "Building menu...": the filter menus from the session's menu groups.
  virtual void BuildFilterMenus() = 0;
  // Step "Creating window...": the controls' initial state for a chain of one empty filter.
  virtual void ShowInitialState() = 0;
  // After "Loading pictures...": the session's test picture (or none) is the one to show.
  virtual void TestPictureChanged() = 0;
  virtual void CloseSplash() = 0;
  // The colour set is read again (after the filter module's handshake).
  virtual void ReadColours() = 0;
  // A start-up script was read into the chain: show its first filter and the commands a
  // loaded script makes available.
  virtual void ScriptLoaded() = 0;
  // Dispatches the windows' events while the picture converter runs.
  virtual platform::Pump EventPump() { return {}; }
};

enum class StartupResult {
  kEnd,       // the main window ends with the cancel result; the program ends
  kNotReady,  // the main window stays open without its filter module (no test render)
  kOpen,      // the main window is open; session.ready tells whether a script was read
};

// Runs the start-up steps in order:
//  1. "Reading config file...": an empty "InstallDir" shows kReinstallMessage ("Ombrix - Error")
//     and ends, unless the editor runs from an installation tree and the user then agrees to have
//     this user's settings written from it (the installation's initial settings); else the option set, the derived
//     paths (the temporary folder is made) and the script header from the options.
//  2. "Loading plug-ins...": the plug-in database; each loader failure is shown; no filter at
//     all ends without a further message.
//  3. "Building menu...", 4. "Creating window...": the menu groups and the initial state.
//  5. "Loading pictures...": the test picture kept on the clipboard, else the "TestPicture" file
//     (with the import's messages); when started on a script, a loaded file is kept on the
//     clipboard for the next start.
// Then the splash closes, the filter module is opened (its message shown, and kNotReady, when
// that fails), and the start-up script is read: the launch script, else the last-run script
// when "StartLast" is on.
StartupResult RunStartup(EditorSession& session, StartupView& view, gui::Dialogs& dialogs);

// The script start-up reads: the launch script, else the last-run script when "StartLast" is
// on, else none.
std::string ChooseStartupScript(const EditorSession& session);

}  // namespace ombrix::editor
