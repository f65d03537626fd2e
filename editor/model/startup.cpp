// The start-up steps.
#include "editor/model/startup.h"

#include "core/import/picture_import.h"
#include "core/settings/installation.h"
#include "core/settings/settings.h"
#include "core/settings/temporary_folder.h"
#include "editor/model/missing_file.h"
#include "editor/model/platform_dialogs.h"
#include "editor/model/plugin_database.h"
#include "editor/model/test_picture.h"

namespace ombrix::editor {
namespace {

constexpr const char* kErrorCaption = "Ombrix - Error";
constexpr const char* kMessageCaption = "Ombrix - Message";

bool ReadConfiguration(EditorSession& session, gui::Dialogs& dialogs) {
  std::string install_dir = ReadSetting(nullptr, "InstallDir");
  if (install_dir.empty()) {
    dialogs.ShowMessage({kReinstallMessage, kErrorCaption, false});
    // A user of a system-wide installation has no settings of their own until they are written.
    const std::string tree = InstallationTreeOf(session.program_directory);
    if (tree.empty() || dialogs.ShowMessage({WriteSettingsQuestion(tree), kMessageCaption, true}) != 1) return false;
    WriteInstallationDefaults(tree);
    install_dir = ReadSetting(nullptr, "InstallDir");
    if (install_dir.empty()) return false;
  }
  session.options = ReadOptionSet();
  const std::string help_file = ReadSetting(nullptr, "HelpFile", kDefaultHelpFile);
  session.paths = BuildDerivedPaths(install_dir, help_file, PrepareTemporaryFolder(install_dir));
  session.header.content_directory = session.options.content_directory;
  session.header.based_width = session.options.based_width;
  session.header.based_height = session.options.based_height;
  return true;
}

void LoadTestPicture(EditorSession& session, const platform::Pump& pump) {
  session.test_picture = TakeClipboardTestPicture();
  if (session.test_picture) return;
  session.test_picture = LoadPictureWithMessages(session.options.test_picture.c_str(), pump);
  if (session.test_picture && session.launched_with_script) KeepTestPictureOnClipboard(*session.test_picture);
}

}  // namespace

std::string WriteSettingsQuestion(const std::string& tree) {
  return "Ombrix is installed in\n\"" + tree + "\".\nWrite your settings from this installation?";
}

std::string ChooseStartupScript(const EditorSession& session) {
  if (session.launched_with_script) return session.launch_script;
  if (session.options.start_last) return session.paths.last_script;
  return {};
}

StartupResult RunStartup(EditorSession& session, StartupView& view, gui::Dialogs& dialogs) {
  RoutePlatformDialogs();
  session.ready = false;

  view.ShowStep(kStepTexts[0]);
  if (!ReadConfiguration(session, dialogs)) return StartupResult::kEnd;

  view.ShowStep(kStepTexts[1]);
  const bool loaded = LoadPluginDatabase(session.plugins, [&dialogs](const char* text, const char* caption) {
    dialogs.ShowMessage({text, caption, false});
  });
  if (!loaded) return StartupResult::kEnd;

  view.ShowStep(kStepTexts[2]);
  session.menu = BuildFilterMenu(session.plugins);
  view.BuildFilterMenus();

  view.ShowStep(kStepTexts[3]);
  session.chain.Reset();
  session.test_frame = 0;
  view.ShowInitialState();

  view.ShowStep(kStepTexts[4]);
  LoadTestPicture(session, view.EventPump());
  view.TestPictureChanged();
  view.CloseSplash();

  std::string failure;
  if (!session.filter_module.Open(session.paths.filter_module, &failure)) {
    dialogs.ShowMessage({failure, kErrorCaption, false});
    return StartupResult::kNotReady;
  }

  session.startup_script = ChooseStartupScript(session);
  view.ReadColours();
  if (!session.startup_script.empty()) {
    const bool read =
        session.chain.Read(session.startup_script.c_str(), session.plugins, session.header, &session.test_frame,
                           MissingFileAsker(session.header.content_directory, dialogs));
    if (read) {
      session.ready = true;
      session.script_path = session.startup_script;
      view.ScriptLoaded();
    }
  }
  return StartupResult::kOpen;
}

}  // namespace ombrix::editor
