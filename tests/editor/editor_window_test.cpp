// The editor's windows on a private X server: start-up with its splash steps, the ways it ends,
// the options window storing exactly what it shows, the filter menu, the about and message
// windows. Dialogs are answered by the scripted stand-in; every window leaves a screenshot.
#include <gtest/gtest.h>
#include <wx/animate.h>
#include <wx/app.h>
#include <wx/menu.h>
#include <wx/scrolbar.h>
#include <wx/uiaction.h>

#include <clocale>
#include <filesystem>
#include <string>
#include <vector>

#include "core/platform/clipboard.h"
#include "core/platform/files.h"
#include "core/platform/registry.h"
#include "core/settings/settings.h"
#include "editor/model/options.h"
#include "editor/windows/about_window.h"
#include "editor/windows/main_window.h"
#include "editor/windows/options_window.h"
#include "editor/windows/preview_window.h"
#include "editor/windows/splash_window.h"
#include "gui/ani_button.h"
#include "gui/colour_set.h"
#include "gui/gui_app.h"
#include "gui/masked_edit.h"
#include "gui/message_window.h"
#include "tests/editor/comma_locale.h"
#include "tests/editor/editor_gui_support.h"
#include "tests/editor/editor_test_support.h"
#include "tests/progress/gui_test_support.h"
#include "tests/progress/screen_reader.h"

namespace {

using namespace ombrix;
using namespace ombrix::editor;
using test::ClickControl;
using test::PumpFor;

std::string StoreFile() {
  return platform::ReadWholeFile(platform::RegistryFilePath(platform::RegistryRoot::kCurrentUser).c_str()).value_or("");
}

class EditorWindows : public test::EditorWindowTest {
 protected:
  gui::AniButton* Button(int id) { return window_->Controls().Button(id); }
  gui::MaskedEdit* Field(int id) { return window_->Controls().Field(id); }
};

TEST_F(EditorWindows, StartUpShowsItsStepsAndOpensTheMainWindowWithItsMenus) {
  session_ = std::make_unique<EditorSession>();
  window_ = new MainWindow(*session_, [this](int) { ++end_calls_; });
  std::vector<std::string> steps;
  window_->SetStepObserver([&](SplashWindow& splash) {
    EXPECT_TRUE(splash.IsShown());
    steps.push_back(std::string(splash.StepText().utf8_str()));
    if (steps.size() == 2) test::SaveEditorScreenshot(&splash, "splash_window");
  });
  ASSERT_EQ(window_->StartUp(), StartupResult::kOpen);
  const std::vector<std::string> expected(std::begin(kStepTexts), std::end(kStepTexts));
  EXPECT_EQ(steps, expected);
  EXPECT_TRUE(dialogs_->messages.empty()) << dialogs_->messages[0].text;
  EXPECT_EQ(test::FindTopLevel("Ombrix - v1.0e"), window_);
  EXPECT_FALSE(session_->ready);
  EXPECT_TRUE(window_->DragTimer().IsRunning());
  EXPECT_EQ(window_->DragTimer().GetInterval(), kDragTimerMilliseconds);

  // The filter menus: one submenu per plug-in title, a second one for the 20th filter on.
  const wxMenu* menu = window_->FilterMenu();
  ASSERT_NE(menu, nullptr);
  std::vector<std::string> titles;
  int items = 0;
  for (const wxMenuItem* item : menu->GetMenuItems()) {
    titles.push_back(std::string(item->GetItemLabelText().utf8_str()));
    ASSERT_NE(item->GetSubMenu(), nullptr);
    EXPECT_LE(item->GetSubMenu()->GetMenuItemCount(), 19u);
    items += int(item->GetSubMenu()->GetMenuItemCount());
  }
  EXPECT_EQ(titles, (std::vector<std::string>{"Zorvex Picture Filters", "Zorvex Picture Filters (2)",
                                              "Zorvex Palette Filters", "Zorvex Picture Composition"}));
  EXPECT_EQ(items, session_->plugins.Count());

  // The empty filter: "(none)", no rows, and the test picture in all three picture areas.
  EXPECT_EQ(Button(kMainFilterName)->GetLabel(), "(none)");
  EXPECT_EQ(Field(kEndFrameField)->GetValue(), "30");
  EXPECT_FALSE(Button(kMainParameter1)->IsShown());
  EXPECT_TRUE(Button(kMainParameterImage)->IsShown());
  EXPECT_EQ(Button(kMainPreviewLabel)->GetLabel(), "Original");
  test::SaveEditorScreenshot(window_, "main_window");
}

TEST_F(EditorWindows, AnEmptyInstallDirShowsTheMessageAndEnds) {
  WriteSettingText(nullptr, "InstallDir", "");
  Start();
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "Some information are missing, you must reinstall Ombrix");
  EXPECT_EQ(dialogs_->messages[0].caption, "Ombrix - Error");
  EXPECT_TRUE(window_->Ended());
  EXPECT_EQ(window_->EndResult(), wxID_CANCEL);
  EXPECT_EQ(end_calls_, 1);
  EXPECT_FALSE(window_->IsShown());
  EXPECT_EQ(test::FindTopLevel("Ombrix"), nullptr);  // the splash window is gone too
}

TEST_F(EditorWindows, NoPlugInEndsTheEditorBeforeItsWindowOpens) {
  WriteSettingNumber("Plug-ins", "N_Plug", 0);
  Start();
  EXPECT_TRUE(dialogs_->messages.empty());
  EXPECT_TRUE(window_->Ended());
  EXPECT_FALSE(window_->IsShown());
}

TEST_F(EditorWindows, AMissingFilterModuleLeavesTheWindowOpenButNotReady) {
  const std::string script = test::WriteOneFilterScript(name_, "Negative", "launch.Oms");
  std::filesystem::remove(install_ + "/Programs/ombrix-filter.p");
  const std::string before = *platform::ReadWholeFile(script.c_str());
  Start(script);
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "Cannot open file\n\"" + install_ + "/Programs/ombrix-filter.p\".");
  EXPECT_EQ(dialogs_->messages[0].caption, "Ombrix - Error");
  EXPECT_TRUE(window_->IsShown());
  EXPECT_FALSE(session_->ready);
  EXPECT_EQ(Button(kMainFilterName)->GetLabel(), "(none)");
  // Not ready: confirming ends without writing the launch script.
  ClickControl(Button(kMainConfirm));
  EXPECT_TRUE(window_->Ended());
  EXPECT_EQ(window_->EndResult(), wxID_OK);
  EXPECT_EQ(*platform::ReadWholeFile(script.c_str()), before);
}

TEST_F(EditorWindows, CancelAndCloseAskFirstOnlyWhenAskExitIsOn) {
  WriteSettingNumber("Options", "AskExit", 0);
  Start();
  ClickControl(Button(kMainCancel));
  EXPECT_TRUE(window_->Ended());
  EXPECT_EQ(window_->EndResult(), wxID_CANCEL);
  EXPECT_TRUE(dialogs_->messages.empty());
  window_->Destroy();
  window_ = nullptr;

  WriteSettingNumber("Options", "AskExit", 1);
  Start();
  dialogs_->AnswerQuestion(0);
  ClickControl(Button(kMainCancel));
  EXPECT_FALSE(window_->Ended());
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "Are you sure you want to quit Ombrix ?");
  EXPECT_EQ(dialogs_->messages[0].caption, "Ombrix - Warning");
  EXPECT_TRUE(dialogs_->messages[0].question);
  // The close box and Escape ask the same; "Yes" ends without saving.
  dialogs_->AnswerQuestion(0);
  EXPECT_FALSE(window_->Close());
  EXPECT_FALSE(window_->Ended());
  dialogs_->AnswerQuestion(1);
  test::PressKey(Field(kMainZone1), WXK_ESCAPE);
  EXPECT_TRUE(window_->Ended());
  EXPECT_EQ(window_->EndResult(), wxID_CANCEL);
  EXPECT_EQ(dialogs_->messages.size(), 3u);
  EXPECT_EQ(dialogs_->unexpected, 0);
}

TEST_F(EditorWindows, ConfirmWritesTheEditedChainBackToTheLaunchScript) {
  const std::string script = test::WriteOneFilterScript(name_, "Negative", "launch.Oms");
  Start(script);
  ASSERT_TRUE(session_->ready);
  EXPECT_EQ(Button(kMainFilterName)->GetLabel(), "Negative");
  EXPECT_EQ(Field(kTestFrameField)->GetValue(), "7");
  // The launch script's editor keeps its test picture on the clipboard for the next start.
  EXPECT_TRUE(platform::Clipboard::HasFormat(platform::kClipboardTemporaryPicture));
  Field(kMainZone1 + 2)->ChangeValue("320");
  Field(kTestFrameField)->ChangeValue("5");
  ClickControl(Button(kMainFullScreen));  // off to on
  ClickControl(Button(kMainConfirm));
  EXPECT_TRUE(window_->Ended());
  EXPECT_EQ(window_->EndResult(), wxID_OK);
  const std::string text = *platform::ReadWholeFile(script.c_str());
  EXPECT_NE(text.find("TestFrame=5\r\n"), std::string::npos);
  EXPECT_NE(text.find("Zone=0 0 320 0\r\n"), std::string::npos);
  EXPECT_NE(text.find("FullScreen=1\r\n"), std::string::npos);
}

TEST_F(EditorWindows, AChainThatCannotBeWrittenKeepsTheEditorOpen) {
  const std::string script = test::WriteOneFilterScript(name_, "Negative", "launch.Oms");
  Start(script);
  ASSERT_TRUE(session_->ready);
  session_->launch_script = "/no/such/folder/launch.Oms";
  ClickControl(Button(kMainConfirm));
  EXPECT_FALSE(window_->Ended());
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "Cannot save script\n\"/no/such/folder/launch.Oms\".");
}

TEST_F(EditorWindows, NumbersStayNumbersUnderACommaDecimalLocale) {
  std::string script = test::WriteOneFilterScript(name_, "Negative", "numbers.Oms");
  std::string text = *platform::ReadWholeFile(script.c_str());
  text.replace(text.find("AlphaInit=0.000000"), 18, "AlphaInit=2.5");
  text.replace(text.find("Zone_Step=0.000000"), 18, "Zone_Step=0.25");
  platform::SetReadOnly(script.c_str(), false);
  test::WriteFile(script, text);
  // The toolkit takes the user's locale for numbers; a German one writes 2,5 for 2.5.
  ASSERT_TRUE(test::UseCommaLocale());
  Start(script);
  EXPECT_EQ(Field(kMainZoneStep1)->GetValue(), "0.25");
  Field(kMainZoneStep1 + 1)->ChangeValue("1.5");
  ClickControl(Button(kMainConfirm));
  test::LeaveCommaLocale();
  const std::string back = *platform::ReadWholeFile(script.c_str());
  EXPECT_NE(back.find("AlphaInit=2.500000\r\n"), std::string::npos);
  EXPECT_NE(back.find("Zone_Step=0.250000 1.500000 0.000000 0.000000\r\n"), std::string::npos);
}

TEST_F(EditorWindows, AFilterFromTheMenuBecomesTheCurrentFilterAndKeepsTheTypedZone) {
  WriteSettingNumber("Options", "StartLast", 1);
  Start();
  int negative = 0;
  for (int k = 0; k < session_->plugins.Count(); ++k)
    if (std::string(session_->plugins.At(k)->name) == "Negative") negative = k + 1;
  ASSERT_GT(negative, 0);
  // A menu command that does not come from the menu opened at the name field counts for nothing.
  wxCommandEvent stray(wxEVT_MENU, kFilterMenuBase + negative);
  window_->GetEventHandler()->ProcessEvent(stray);
  EXPECT_EQ(Button(kMainFilterName)->GetLabel(), "(none)");

  Field(kMainZone1)->ChangeValue("12");
  window_->ChooseFilter(negative);
  EXPECT_EQ(Button(kMainFilterName)->GetLabel(), "Negative");
  EXPECT_EQ(Field(kMainZone1)->GetValue(), "12");
  EXPECT_TRUE(session_->ready);
  test::SaveEditorScreenshot(window_, "main_window_filter");
  ClickControl(Button(kMainConfirm));
  const auto last = platform::ReadWholeFile(session_->paths.last_script.c_str());
  ASSERT_TRUE(last.has_value());
  EXPECT_NE(last->find("FilterName=Negative\r\n"), std::string::npos);
  EXPECT_NE(last->find("Zone=12 0 0 0\r\n"), std::string::npos);
}

TEST_F(EditorWindows, TheNameFieldOpensTheFilterMenuAndItsChoiceTakesEffect) {
  Start();
  // While the menu is open (the press waits for it), the keyboard picks the first filter of the
  // first submenu, as a person would.
  window_->CallAfter([&] {
    PumpFor(300);
    wxUIActionSimulator keys;
    for (const int key : {WXK_DOWN, WXK_RIGHT}) {
      keys.Char(key);
      PumpFor(200);
    }
    // The menu and its first submenu, as they lie over the window.
    const wxRect area(window_->ClientToScreen(wxPoint(0, 0)), window_->GetClientSize());
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(test::ReadScreen(area.x, area.y, area.width, area.height, pixels));
    wxImage shot(area.width, area.height);
    for (int y = 0; y < area.height; ++y)
      for (int x = 0; x < area.width; ++x) {
        const uint32_t p = pixels[size_t(y) * size_t(area.width) + size_t(x)];
        shot.SetRGB(x, y, (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
      }
    shot.SaveFile(std::string(OMBRIX_TEST_OUTPUT_DIR) + "/editor/filter_menu.png", wxBITMAP_TYPE_PNG);
    keys.Char(WXK_RETURN);
    PumpFor(150);
  });
  ClickControl(Button(kMainFilterName));
  PumpFor(200);
  const FilterMenuItem& first = session_->menu[0].columns[0][0];
  EXPECT_EQ(Button(kMainFilterName)->GetLabel(), first.name);
  EXPECT_TRUE(session_->ready);
}

// ---- Options window ------------------------------------------------------------------------

class OptionsWindowTest : public EditorWindows {
 protected:
  OptionsWindow* Open() {
    Start();
    ClickControl(Button(kMainOption));
    OptionsWindow* options = window_->Options();
    EXPECT_NE(options, nullptr);
    EXPECT_TRUE(options->IsShown());
    EXPECT_FALSE(window_->IsEnabled());
    return options;
  }
  gui::AniButton* OptionButton(OptionsWindow* options, int id) { return options->Controls().Button(id); }
};

TEST_F(OptionsWindowTest, ConfirmStoresExactlyWhatTheWindowShows) {
  OptionsWindow* options = Open();
  ASSERT_TRUE(options != nullptr);
  test::SaveEditorScreenshot(options, "options_window");
  // "Compute Extrapolations" on, "Ask before exit" off.
  ClickControl(OptionButton(options, kOptionsFlag1 + 0));
  ClickControl(OptionButton(options, kOptionsFlag1 + 6));
  options->Controls().Field(kOptionsWidth)->ChangeValue("0");
  options->Controls().Field(kOptionsHeight)->ChangeValue("720");
  dialogs_->AnswerColour(gui::MakeColour(10, 20, 30));
  ClickControl(OptionButton(options, kOptionsColour1 + 1));  // "State Button"
  EXPECT_EQ(dialogs_->colour_starts.back(), 0x98A8A8u);
  EXPECT_EQ(OptionButton(options, kOptionsColourLabel1 + 1)->GetLabel(), "10 20 30");
  const std::string folder = test::FreshDirectory(name_ + "/a-long-content-folder/textures");
  dialogs_->AnswerFolder(folder);
  ClickControl(OptionButton(options, kOptionsContentButton));
  EXPECT_EQ(dialogs_->folders.back().title, "Select new content directory");
  EXPECT_EQ(OptionButton(options, kOptionsContentLabel)->GetLabel(), "/.../textures/");

  ClickControl(OptionButton(options, kOptionsConfirm));
  EXPECT_FALSE(options->IsShown());
  EXPECT_TRUE(window_->IsEnabled());
  const char* expected[][2] = {{"ComputeExtra", "1"}, {"AskDel", "1"},       {"StartLast", "0"}, {"ShowXPic", "1"},
                               {"KeepXPic", "1"},     {"ShowProgress", "1"}, {"AskExit", "0"},   {"ShowPic", "1"},
                               {"B-Width", "1"},      {"B-Height", "720"}};
  for (const auto& [name, value] : expected) EXPECT_EQ(ReadSetting("Options", name), value) << name;
  EXPECT_EQ(ReadSetting("Options", "ContentDirectory"), folder + "/");
  EXPECT_EQ(ReadSetting("Options", "TestPicture"), install_ + "/Images/Back.Bmp");
  EXPECT_EQ(ReadSetting(nullptr, "Version"), "X 1.0e");
  EXPECT_EQ(ReadSetting(nullptr, "Copyright"), kCopyrightValue);
  EXPECT_EQ(ReadSetting(nullptr, "StateButtonColor"), std::to_string(gui::MakeColour(10, 20, 30)));
  EXPECT_EQ(ReadSetting(nullptr, "BackgroundColor"), std::to_string(0x909090));
  // The editor works with what was confirmed, and scripts carry the new content directory.
  EXPECT_FALSE(session_->options.ask_exit);
  EXPECT_EQ(session_->header.content_directory, folder + "/");
  EXPECT_EQ(session_->header.based_width, 1);
}

TEST_F(OptionsWindowTest, CancelStoresNothingAndResetShowsTheResetState) {
  OptionsWindow* options = Open();
  ASSERT_TRUE(options != nullptr);
  const std::string before = StoreFile();
  ClickControl(OptionButton(options, kOptionsFlag1 + 2));  // "Load last cession at startup" on
  dialogs_->AnswerColour(0x123456);
  ClickControl(OptionButton(options, kOptionsColour1));
  ClickControl(OptionButton(options, kOptionsCancel));
  EXPECT_FALSE(options->IsShown());
  EXPECT_TRUE(window_->IsEnabled());
  EXPECT_EQ(StoreFile(), before);

  ClickControl(Button(kMainOption));
  // Opening again shows the stored state, not the cancelled one.
  EXPECT_EQ(OptionButton(options, kOptionsFlag1 + 2)->Frame(), 2);
  EXPECT_EQ(OptionButton(options, kOptionsColourLabel1)->GetLabel(), "144 144 144");
  ClickControl(OptionButton(options, kOptionsFlag1 + 0));  // "Compute Extrapolations" on: Reset keeps it
  options->Controls().Field(kOptionsWidth)->ChangeValue("99");
  dialogs_->AnswerColour(0x123456);
  ClickControl(OptionButton(options, kOptionsColour1));
  ClickControl(OptionButton(options, kOptionsReset));
  const int16_t expected_frames[] = {1, 1, 2, 1, 2, 1, 1, 1};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(OptionButton(options, kOptionsFlag1 + i)->Frame(), expected_frames[i]) << i;
  EXPECT_EQ(options->Controls().Field(kOptionsWidth)->GetValue(), "640");
  EXPECT_EQ(options->Controls().Field(kOptionsHeight)->GetValue(), "480");
  EXPECT_EQ(OptionButton(options, kOptionsColourLabel1)->GetLabel(), "144 144 144");
  EXPECT_EQ(StoreFile(), before);  // nothing is stored until confirmed
  ClickControl(OptionButton(options, kOptionsConfirm));
  EXPECT_EQ(ReadSetting("Options", "KeepXPic"), "0");
  EXPECT_EQ(ReadSetting("Options", "ComputeExtra"), "1");
}

TEST_F(OptionsWindowTest, HelpWithoutAHelpBookSaysWhichFileIsMissing) {
  OptionsWindow* options = Open();
  ASSERT_TRUE(options != nullptr);
  ClickControl(OptionButton(options, kOptionsHelp));
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "Cannot find \"" + install_ + "/Help/Ombrix.Hlp\".");
  EXPECT_EQ(dialogs_->messages[0].caption, "Ombrix - Error");
  EXPECT_TRUE(options->IsShown());
}

TEST_F(OptionsWindowTest, AddPlugInAndTheTestPictureGoThroughTheDialogs) {
  OptionsWindow* options = Open();
  ASSERT_TRUE(options != nullptr);
  dialogs_->AnswerFile(std::nullopt);
  ClickControl(OptionButton(options, kOptionsAddPlugin));
  ASSERT_EQ(dialogs_->files.size(), 1u);
  EXPECT_EQ(dialogs_->files[0].title, "Add Plug-in From File");
  EXPECT_EQ(dialogs_->files[0].default_extension, "OMP");
  EXPECT_EQ(dialogs_->files[0].filter, "Ombrix Plug-in (*.Dll, *.p, *.Omp)|*.Dll*;*.p*;*.Omp*|All files (*.*)|*.*||");
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "No plug-in added.");
  EXPECT_EQ(dialogs_->messages[0].caption, "Ombrix - Message");

  dialogs_->AnswerFile(test::TestModule("good_module.Omp"));
  ClickControl(OptionButton(options, kOptionsAddPlugin));
  EXPECT_EQ(dialogs_->messages.back().text,
            "Plug-in has bean added to the database\nAnd will be available at next Ombrix run.");
  EXPECT_EQ(ReadSetting("References", "good_module.Omp"), test::TestModule("good_module.Omp"));

  // A new test picture is pending until confirmed; then it is the editor's test picture, and
  // the stored path names its file.
  const std::string picture = install_ + "/Images/Back.Bmp";
  dialogs_->AnswerFile(picture);
  ClickControl(OptionButton(options, kOptionsTestPicture));
  EXPECT_EQ(dialogs_->files.back().title, "Load Image File");
  ASSERT_NE(options->PendingTestPicture(), nullptr);
  // With "ShowPic" on the new picture shows in the preview, which holds the options window
  // disabled until it closes.
  PreviewWindow* preview = window_->Preview();
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(preview->IsShown());
  EXPECT_EQ(preview->Shown(), options->PendingTestPicture());
  EXPECT_FALSE(options->IsEnabled());
  ClickControl(preview->Controls().Button(kPreviewClose));
  EXPECT_TRUE(options->IsEnabled());
  const Picture* before = session_->test_picture.get();
  ClickControl(OptionButton(options, kOptionsConfirm));
  EXPECT_NE(session_->test_picture.get(), before);
  EXPECT_EQ(ReadSetting("Options", "TestPicture"), picture);
  EXPECT_EQ(dialogs_->unexpected, 0);
}

TEST_F(EditorWindows, NumberFieldsSelectTheirTextOnFocusAndTakeEnterAsTab) {
  Start();
  gui::MaskedEdit* left = Field(kMainZone1);
  gui::MaskedEdit* next = Field(kMainZoneStep1);  // next in Tab order: the row's step
  left->ChangeValue("123");
  next->ChangeValue("456");
  left->SetFocus();
  PumpFor(200);
  wxUIActionSimulator keys;
  keys.Char(WXK_RETURN);
  PumpFor(200);
  EXPECT_EQ(wxWindow::FindFocus(), next);
  long from = 0, to = 0;
  next->GetSelection(&from, &to);
  EXPECT_EQ(from, 0);
  EXPECT_EQ(to, 3);
  // Typing replaces the selected text, and a field holds at most 64 characters.
  keys.Text(std::string(70, '7').c_str());
  PumpFor(300);
  EXPECT_EQ(next->GetValue(), wxString(64, '7'));
}

// ---- About and message windows -------------------------------------------------------------

TEST_F(EditorWindows, TheBannerOpensTheAboutWindowWithItsClips) {
  Start();
  ClickControl(Button(kMainBanner));
  AboutWindow* about = window_->About();
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(about->IsShown());
  EXPECT_FALSE(window_->IsEnabled());
  EXPECT_EQ(about->PlayingClips(), 3);
  test::SaveEditorScreenshot(about, "about_window");
  ClickControl(about->FindWindow(kAboutClose));
  EXPECT_FALSE(about->IsShown());
  EXPECT_TRUE(window_->IsEnabled());
}

TEST(EditorMessageWindow, QuestionsAndInformationWithTheirClipsOrAStillIcon) {
  ASSERT_TRUE(gui::EnsureGuiApplication());
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxInitAllImageHandlers();
  test::UsePrivateStores("EditorMessageWindow");
  WriteSettingText(nullptr, "AskData", (std::string(OMBRIX_STAGE_DIR) + "/Programs/Ask.Dta").c_str());
  {
    gui::MessageWindow question(nullptr, {"Are you sure you want to quit Ombrix ?", "Ombrix - Warning", true});
    question.Show();
    PumpFor(100);
    EXPECT_EQ(question.GetTitle(), "Ombrix - Warning");
    EXPECT_TRUE(question.PlaysClip());
    EXPECT_TRUE(question.FindWindow(gui::MessageWindow::kYes)->IsShown());
    EXPECT_EQ(question.FindWindow(gui::MessageWindow::kOk), nullptr);
    test::SaveEditorScreenshot(&question, "message_window_question");
    ClickControl(question.FindWindow(gui::MessageWindow::kNo));
    EXPECT_EQ(question.GetReturnCode(), 0);
  }
  {
    // No "InfoData" clip: the still icon. A long path makes the window taller, not cut off.
    const std::string path = "/home/artist/projects/a rather long folder name/another one/textures/wood.tga";
    gui::MessageWindow info(
        nullptr, {"Cannot open file \"" + path + "\".\nNo such a file or directory.", "Ombrix - Error", false});
    gui::MessageWindow shorter(nullptr, {"No plug-in added.", "Ombrix - Message", false});
    info.Show();
    PumpFor(100);
    EXPECT_FALSE(info.PlaysClip());
    EXPECT_TRUE(info.FindWindow(gui::MessageWindow::kIcon)->IsShown());
    EXPECT_GT(info.GetClientSize().y, shorter.GetClientSize().y);
    test::SaveEditorScreenshot(&info, "message_window_information");
    ClickControl(info.FindWindow(gui::MessageWindow::kOk));
    EXPECT_EQ(info.GetReturnCode(), 1);
  }
}

}  // namespace
