// The start-up sequence without windows: its steps in order, the ways it ends early, the filter
// module's handshake, the start-up script and the test picture, and the ways the editor ends.
#include "editor/model/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/import/targa.h"
#include "core/platform/clipboard.h"
#include "core/platform/files.h"
#include "core/platform/registry.h"
#include "core/settings/installation.h"
#include "core/settings/settings.h"
#include "editor/model/ending.h"
#include "editor/model/test_picture.h"
#include "gui/scripted_dialogs.h"
#include "tests/editor/comma_locale.h"
#include "tests/editor/editor_test_support.h"

namespace {

using namespace ombrix;
using namespace ombrix::editor;
namespace fs = std::filesystem;

class RecordingView : public StartupView {
 public:
  std::vector<std::string> events;
  void ShowStep(const char* text) override { events.push_back(text); }
  void BuildFilterMenus() override { events.push_back("menus"); }
  void ShowInitialState() override { events.push_back("initial state"); }
  void TestPictureChanged() override { events.push_back("test picture"); }
  void CloseSplash() override { events.push_back("splash closed"); }
  void ReadColours() override { events.push_back("colours"); }
  void ScriptLoaded() override { events.push_back("script loaded"); }
};

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    test::UsePrivateStores(name_);
  }

  std::string WriteScriptOf(const char* filter, const std::string& file) {
    return test::WriteOneFilterScript(name_, filter, file);
  }

  std::string name_;
};

TEST_F(Startup, StepsRunInOrderAndALaunchScriptIsRead) {
  test::MakeInstallation(name_);
  const std::string script = WriteScriptOf("Negative", "launch.Oms");
  EditorSession session(script);
  RecordingView view;
  gui::ScriptedDialogs dialogs;
  ASSERT_EQ(RunStartup(session, view, dialogs), StartupResult::kOpen);
  const std::vector<std::string> expected = {
      "Reading config file...", "Loading plug-ins...", "Building menu...", "menus",         "Creating window...",
      "initial state",          "Loading pictures...", "test picture",     "splash closed", "colours",
      "script loaded"};
  EXPECT_EQ(view.events, expected);
  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text;
  EXPECT_TRUE(session.ready);
  EXPECT_EQ(session.startup_script, script);
  ASSERT_EQ(session.chain.Count(), 1);
  EXPECT_STREQ(session.chain.At(0)->name, "Negative");
  EXPECT_EQ(session.test_frame, 7);
  EXPECT_TRUE(session.filter_module.IsOpen());
  EXPECT_GE(session.plugins.Count(), 54);  // the three staged plug-ins
  EXPECT_FALSE(session.menu.empty());
  // The test picture came from its file and, since the editor was started on a script, waits on
  // the clipboard for the next start from the same instance.
  ASSERT_NE(session.test_picture, nullptr);
  EXPECT_EQ(std::string(session.test_picture->SourceText()), session.options.test_picture);
  EXPECT_TRUE(platform::Clipboard::HasFormat(platform::kClipboardTemporaryPicture));
  // The temporary folder of the installation was made.
  EXPECT_TRUE(fs::is_directory(session.paths.temporary_folder));
}

TEST_F(Startup, AnEmptyInstallDirEndsWithTheReinstallMessage) {
  EditorSession session;
  RecordingView view;
  gui::ScriptedDialogs dialogs;
  EXPECT_EQ(RunStartup(session, view, dialogs), StartupResult::kEnd);
  EXPECT_EQ(view.events, std::vector<std::string>{"Reading config file..."});
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Some information are missing, you must reinstall Ombrix");
  EXPECT_EQ(dialogs.messages[0].caption, "Ombrix - Error");
  EXPECT_FALSE(dialogs.messages[0].question);
}

TEST_F(Startup, RunFromAnInstallationTreeWithoutSettingsItOffersToWriteThem) {
  const std::string install = test::MakeInstallation(name_);
  platform::RegistryDeleteKey(platform::RegistryRoot::kCurrentUser, "Software\\Zorvex\\Ombrix\\");
  ASSERT_EQ(ReadSetting(nullptr, "InstallDir"), "");
  {
    // "No" ends as before and writes nothing.
    EditorSession session;
    session.program_directory = install + "/Programs";
    RecordingView view;
    gui::ScriptedDialogs dialogs;
    dialogs.AnswerQuestion(0);
    EXPECT_EQ(RunStartup(session, view, dialogs), StartupResult::kEnd);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, "Some information are missing, you must reinstall Ombrix");
    EXPECT_EQ(dialogs.messages[1].text,
              "Ombrix is installed in\n\"" + install + "\".\nWrite your settings from this installation?");
    EXPECT_TRUE(dialogs.messages[1].question);
    EXPECT_EQ(ReadSetting(nullptr, "InstallDir"), "");
  }
  // "Yes" writes the installation's initial settings and starts as usual.
  EditorSession session;
  session.program_directory = install + "/Programs/";
  RecordingView view;
  gui::ScriptedDialogs dialogs;
  dialogs.AnswerQuestion(1);
  EXPECT_EQ(RunStartup(session, view, dialogs), StartupResult::kOpen);
  EXPECT_EQ(ReadSetting(nullptr, "InstallDir"), install);
  EXPECT_EQ(ReadSetting("Options", "TestPicture"), install + "/Images/Back.Bmp");
  EXPECT_GE(session.plugins.Count(), 54);
  // A folder that is no installation's "Programs" offers nothing.
  EXPECT_EQ(InstallationTreeOf(install), "");
  EXPECT_EQ(InstallationTreeOf(install + "/Plugins"), "");
}

TEST_F(Startup, NoPlugInEndsWithoutAFurtherMessage) {
  test::MakeInstallation(name_);
  WriteSettingNumber("Plug-ins", "N_Plug", 0);
  EditorSession session;
  RecordingView view;
  gui::ScriptedDialogs dialogs;
  EXPECT_EQ(RunStartup(session, view, dialogs), StartupResult::kEnd);
  EXPECT_EQ(view.events, (std::vector<std::string>{"Reading config file...", "Loading plug-ins..."}));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(Startup, AMissingOrRefusedFilterModuleLeavesTheEditorOpenButNotReady) {
  const std::string install = test::MakeInstallation(name_);
  const std::string module = install + "/Programs/ombrix-filter.p";
  const std::string script = WriteScriptOf("Negative", "launch.Oms");
  struct Case {
    std::string file;  // what stands at the module's path, "" for nothing
    std::string message;
  };
  const std::string text_file = test::FreshDirectory(name_ + "/text") + "/module.txt";
  test::WriteFile(text_file, "not a library");
  const Case cases[] = {
      {"", "Cannot open file\n\"" + module + "\"."},
      {text_file, "Cannot access library\n\"" + module + "\"."},
      {test::TestModule("kind2_module.Omp"),
       "This version of Ombrix cannot recognize plug-in header\n\"" + module + "\"."},
  };
  for (const Case& c : cases) {
    fs::remove(module);
    if (!c.file.empty()) fs::copy_file(c.file, module);
    EditorSession session(script);
    RecordingView view;
    gui::ScriptedDialogs dialogs;
    EXPECT_EQ(RunStartup(session, view, dialogs), StartupResult::kNotReady);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, c.message);
    EXPECT_EQ(dialogs.messages[0].caption, "Ombrix - Error");
    EXPECT_FALSE(session.ready);
    EXPECT_EQ(session.chain.Count(), 1);
    EXPECT_TRUE(FilterChain::IsEmptyFilter(session.chain.At(0)));
    EXPECT_EQ(view.events.back(), "splash closed");  // the launch script is not read
    EXPECT_EQ(session.startup_script, "");
  }
}

TEST_F(Startup, TheLastRunScriptIsReadOnlyWhenStartLastIsOn) {
  test::MakeInstallation(name_);
  const std::string script = WriteScriptOf("Negative", "last.Oms");
  for (const bool start_last : {false, true}) {
    WriteSettingNumber("Options", "StartLast", start_last ? 1 : 0);
    EditorSession session;
    RecordingView view;
    gui::ScriptedDialogs dialogs;
    ASSERT_EQ(RunStartup(session, view, dialogs), StartupResult::kOpen);
    fs::copy_file(script, session.paths.last_script, fs::copy_options::overwrite_existing);
    EditorSession again;
    ASSERT_EQ(RunStartup(again, view, dialogs), StartupResult::kOpen);
    EXPECT_EQ(again.ready, start_last);
    EXPECT_EQ(again.startup_script, start_last ? again.paths.last_script : "");
    EXPECT_EQ(FilterChain::IsEmptyFilter(again.chain.At(0)), !start_last);
    // An editor the user started keeps no test picture on the clipboard.
    EXPECT_FALSE(platform::Clipboard::HasFormat(platform::kClipboardTemporaryPicture));
    fs::remove(again.paths.last_script);
  }
}

TEST_F(Startup, TheClipboardPictureComesFirstAndAMissingFileIsReported) {
  test::MakeInstallation(name_);
  Picture kept;
  ASSERT_TRUE(kept.Create(5, 3));
  ASSERT_TRUE(KeepTestPictureOnClipboard(kept));
  {
    EditorSession session;
    RecordingView view;
    gui::ScriptedDialogs dialogs;
    ASSERT_EQ(RunStartup(session, view, dialogs), StartupResult::kOpen);
    ASSERT_NE(session.test_picture, nullptr);
    EXPECT_EQ(session.test_picture->Width(), 5);
    EXPECT_STREQ(session.test_picture->SourceText(), "Test Picture");
    EXPECT_STREQ(session.test_picture->TypeText(), "Zorvex Memory File");
    // The user started this editor: at its end the picture leaves the clipboard.
    ForgetTestPictureAtEnd(session);
    EXPECT_FALSE(platform::Clipboard::HasFormat(platform::kClipboardTemporaryPicture));
  }
  // Without one on the clipboard, a missing test picture file gives the import's message, which
  // reaches the editor's dialogs through the platform's message box.
  WriteSettingText("Options", "TestPicture", "/no/such/picture.tga");
  EditorSession session;
  RecordingView view;
  gui::ScriptedDialogs dialogs;
  ASSERT_EQ(RunStartup(session, view, dialogs), StartupResult::kOpen);
  EXPECT_EQ(session.test_picture, nullptr);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Cannot open file \"/no/such/picture.tga\".\nNo such a file or directory.");
  EXPECT_EQ(dialogs.messages[0].caption, "Ombrix - Error");
}

TEST_F(Startup, ConfirmWritesTheChainOnlyWhenReadyAndToTheRightScript) {
  test::MakeInstallation(name_);
  const std::string script = WriteScriptOf("Negative", "launch.Oms");
  EditorSession session(script);
  RecordingView view;
  gui::ScriptedDialogs dialogs;
  ASSERT_EQ(RunStartup(session, view, dialogs), StartupResult::kOpen);
  EXPECT_EQ(ConfirmTarget(session), script);
  session.test_frame = 3;
  fs::remove(script);
  EXPECT_TRUE(WriteChainOnConfirm(session, nullptr));
  const auto text = platform::ReadWholeFile(script.c_str());
  ASSERT_TRUE(text.has_value());
  EXPECT_NE(text->find("TestFrame=3\r\n"), std::string::npos);
  EXPECT_NE(text->find("FilterName=Negative\r\n"), std::string::npos);

  // Not ready (nothing read, nothing chosen): nothing is written anywhere.
  WriteSettingNumber("Options", "StartLast", 1);
  EditorSession fresh;
  ASSERT_EQ(RunStartup(fresh, view, dialogs), StartupResult::kOpen);
  EXPECT_EQ(ConfirmTarget(fresh), "");
  fresh.ready = true;  // a filter was chosen
  EXPECT_EQ(ConfirmTarget(fresh), fresh.paths.last_script);

  // A launch script that cannot be written is a failure the caller shows.
  session.launch_script = "/no/such/folder/fx.Oms";
  std::string failed;
  EXPECT_FALSE(WriteChainOnConfirm(session, &failed));
  EXPECT_EQ(failed, "/no/such/folder/fx.Oms");
  EXPECT_EQ(CannotSaveMessage(failed), "Cannot save script\n\"/no/such/folder/fx.Oms\".");
}

TEST_F(Startup, NumbersReadTheSameUnderACommaDecimalLocale) {
  test::MakeInstallation(name_);
  const std::string script = WriteScriptOf("Negative", "numbers.Oms");
  auto text = platform::ReadWholeFile(script.c_str());
  ASSERT_TRUE(text.has_value());
  auto replace = [&](const std::string& from, const std::string& to) {
    const size_t at = text->find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text->replace(at, from.size(), to);
  };
  replace("AlphaInit=0.000000", "AlphaInit=2.5");
  replace("Zone_Step=0.000000 0.000000", "Zone_Step=0.25 1.5");
  platform::SetReadOnly(script.c_str(), false);
  test::WriteFile(script, *text);
  WriteSettingText("Options", "B-Width", "800");

  ASSERT_TRUE(test::UseCommaLocale()) << "the test locale " << test::kCommaLocale << " is missing";
  EditorSession session(script);
  RecordingView view;
  gui::ScriptedDialogs dialogs;
  const StartupResult result = RunStartup(session, view, dialogs);
  const FilterDescriptor* entry = session.chain.At(0);
  const bool written = WriteChainOnConfirm(session, nullptr);
  test::LeaveCommaLocale();

  ASSERT_EQ(result, StartupResult::kOpen);
  EXPECT_EQ(session.options.based_width, 800);
  EXPECT_FLOAT_EQ(entry->alpha_init, 2.5f);
  EXPECT_FLOAT_EQ(entry->zone_step[0], 0.25f);
  EXPECT_FLOAT_EQ(entry->zone_step[1], 1.5f);
  ASSERT_TRUE(written);
  const auto back = platform::ReadWholeFile(script.c_str());
  ASSERT_TRUE(back.has_value());
  EXPECT_NE(back->find("AlphaInit=2.500000\r\n"), std::string::npos);
  EXPECT_NE(back->find("Zone_Step=0.250000 1.500000 0.000000 0.000000\r\n"), std::string::npos);
}

}  // namespace
