// The setup program's windows on a private X server, with scripted answers to every dialog and a
// free-space query of the test's own: the options window's components, space, folders and
// cancelling; the licence that must be read to its end; the message window's buttons; the search
// window; and a screenshot of every window under test-output/setup.
#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/textctrl.h>

#include <filesystem>

#include "gui/ani_button.h"
#include "gui/gui_app.h"
#include "gui/scripted_dialogs.h"
#include "setup/instora/backdrop_window.h"
#include "setup/instora/installing_window.h"
#include "setup/instora/licence_window.h"
#include "setup/instora/options_window.h"
#include "setup/instora/search_window.h"
#include "setup/instora/setup_message_window.h"
#include "tests/progress/gui_test_support.h"
#include "tests/setup/private_home.h"

namespace {

using namespace ombrix::setup;
using ombrix::gui::AniButton;
using ombrix::test::ClickControl;
using ombrix::test::WriteTextFile;
namespace fs = std::filesystem;

void Screenshot(wxWindow* window, const std::string& name) {
  const wxImage shot = ombrix::test::CaptureWindow(window);
  ASSERT_TRUE(shot.IsOk()) << name;
  const fs::path dir = fs::path(OMBRIX_TEST_OUTPUT_DIR) / "setup";
  fs::create_directories(dir);
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  EXPECT_TRUE(shot.SaveFile((dir / (name + ".png")).string(), wxBITMAP_TYPE_PNG));
}

std::string Text(wxWindow* window, int id) { return ombrix::gui::ToAnsi(window->FindWindow(id)->GetLabel()); }
AniButton* Button(wxWindow* window, int id) { return dynamic_cast<AniButton*>(window->FindWindow(id)); }

class SetupWindowsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(ombrix::gui::EnsureGuiApplication()); }
  void SetUp() override { SetClipFolder(std::string(OMBRIX_STAGE_DIR) + "/Programs"); }

  // The options window as it opens, with free_kb free on a file system mounted at "/fake".
  OptionsWindow* OpenOptions(uint64_t free_kb, std::string renderer = {}) {
    auto* window = new OptionsWindow(
        nullptr,
        [free_kb](const std::string&) {
          return std::optional<ombrix::platform::DiskSpace>({"/fake", free_kb});
        },
        [renderer] { return renderer; });
    window->Show();
    window->Prepare();
    ombrix::test::PumpFor(50);
    return window;
  }

  ombrix::test::PrivateHome home_;
  ombrix::gui::ScriptedDialogs dialogs_;
};

TEST_F(SetupWindowsTest, OptionsOpenWithEveryComponentAndTheSpaceTheyNeed) {
  OptionsWindow* window = OpenOptions(500000);
  EXPECT_EQ(window->GetTitle(), "Setup - Options");
  // No renderer folder was found: the message, then "(none)".
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, "Cannot find LightWave 3D Directory.\n\nBut you can use Ombrix stand-alone.");
  EXPECT_EQ(window->RendererDir(), "(none)");
  EXPECT_EQ(window->InstallDir(), home_.Path("home/ombrix"));
  EXPECT_EQ(Text(window, OptionsWindow::kAvailable), "Available disk space on drive [/fake]\t500000 Kb");
  EXPECT_EQ(Text(window, OptionsWindow::kNeeded), "Space needed\t\t\t\t6761 Kb");
  EXPECT_EQ(Text(window, OptionsWindow::kCustomized), "&Cusomized");
  EXPECT_EQ(Button(window, OptionsWindow::kFullInstall)->Frame(), 1);
  for (const int box : {1004, 1005, 1006, 1007, 1008, 1012}) {
    EXPECT_EQ(Button(window, box)->Frame(), 1) << box;
    EXPECT_FALSE(Button(window, box)->IsEnabled()) << box;
  }
  Screenshot(window, "options_window");
  window->Destroy();
}

TEST_F(SetupWindowsTest, CustomisedComponentsChangeTheSpaceAndFullInstallKeepsTheMarks) {
  OptionsWindow* window = OpenOptions(500000, home_.Path("home/LightWave"));
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(window->RendererDir(), home_.Path("home/LightWave"));
  ClickControl(Button(window, OptionsWindow::kCustomized));
  EXPECT_EQ(Button(window, OptionsWindow::kCustomized)->Frame(), 1);
  EXPECT_EQ(Button(window, OptionsWindow::kFullInstall)->Frame(), 2);
  AniButton* programs = Button(window, OptionsWindow::kPrograms);
  EXPECT_TRUE(programs->IsEnabled());
  ClickControl(programs);
  EXPECT_EQ(programs->Frame(), 2);
  EXPECT_EQ(window->Needed(), 4161u);
  EXPECT_EQ(Text(window, OptionsWindow::kNeeded), "Space needed\t\t\t\t4161 Kb");
  ClickControl(programs);
  EXPECT_EQ(window->Needed(), 6761u);
  ClickControl(programs);
  ClickControl(Button(window, OptionsWindow::kBrushes));
  EXPECT_EQ(window->Needed(), 3911u);
  Screenshot(window, "options_window_customized");

  // Full install takes the boxes out of reach but leaves their marks.
  ClickControl(Button(window, OptionsWindow::kFullInstall));
  EXPECT_FALSE(programs->IsEnabled());
  EXPECT_EQ(programs->Frame(), 2);
  EXPECT_EQ(window->Needed(), 3911u);
  ClickControl(Button(window, OptionsWindow::kOk));
  EXPECT_EQ(window->GetReturnCode(), 1);
  EXPECT_FALSE(window->IsShown());
  window->Destroy();
}

TEST_F(SetupWindowsTest, TooLittleSpaceKeepsTheWindowOpen) {
  OptionsWindow* window = OpenOptions(6760);
  dialogs_.messages.clear();
  ClickControl(Button(window, OptionsWindow::kOk));
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, "No enought disk space on drive [/fake]\nto install selected components.");
  EXPECT_EQ(dialogs_.messages[0].buttons, (std::vector<std::string>{"", "Ok", ""}));
  EXPECT_TRUE(window->IsShown());
  // With Programs left out the rest fits.
  ClickControl(Button(window, OptionsWindow::kCustomized));
  ClickControl(Button(window, OptionsWindow::kPrograms));
  ClickControl(Button(window, OptionsWindow::kOk));
  EXPECT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_FALSE(window->IsShown());
  window->Destroy();
}

TEST_F(SetupWindowsTest, FoldersChosenForTheInstallationAndTheRenderer) {
  OptionsWindow* window = OpenOptions(500000);
  dialogs_.messages.clear();
  // A folder with a space warns first, then takes "/Ombrix".
  dialogs_.AnswerFolder(home_.Path("Program Files/"));
  ClickControl(Button(window, OptionsWindow::kBrowseInstall));
  ASSERT_EQ(dialogs_.folders.size(), 1u);
  EXPECT_EQ(dialogs_.folders[0].title, "Select directory where to install Ombrix");
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].caption, "Setup - Warning");
  EXPECT_EQ(dialogs_.messages[0].text,
            "You specified a path with space(s) character(s).\nIn that case Ombrix will run correctly but won\x92t be "
            "recognized by LightWave 3D.");
  EXPECT_EQ(window->InstallDir(), home_.Path("Program Files/Ombrix"));
  // The icon button takes the folder of whatever file is chosen.
  dialogs_.AnswerFile(home_.Path("apps/readme.txt"));
  ClickControl(Button(window, OptionsWindow::kPathButton));
  ASSERT_EQ(dialogs_.files.size(), 1u);
  EXPECT_EQ(dialogs_.files[0].title, "Enter path where to install Ombrix");
  EXPECT_EQ(window->InstallDir(), home_.Path("apps/Ombrix"));

  // A renderer folder that holds only "Programs/Lw.Cfg" is taken with "/Programs".
  const std::string lightwave = home_.Path("LightWave");
  WriteTextFile(lightwave + "/Programs/Lw.Cfg", "");
  dialogs_.AnswerFolder(lightwave);
  ClickControl(Button(window, OptionsWindow::kBrowseRenderer));
  EXPECT_EQ(dialogs_.folders.back().title, "Select directory where to find current working version of LightWave 3D ");
  EXPECT_EQ(window->RendererDir(), lightwave + "/Programs");
  // A folder without it warns and keeps the folder before.
  fs::create_directories(home_.Path("Empty"));
  dialogs_.AnswerFolder(home_.Path("Empty"));
  ClickControl(Button(window, OptionsWindow::kBrowseRenderer));
  EXPECT_EQ(dialogs_.messages.back().text,
            "Cannot find LighWave 3D configuration file in this directory\n\"" + home_.Path("Empty") + "\".");
  EXPECT_EQ(window->RendererDir(), lightwave + "/Programs");
  EXPECT_EQ(dialogs_.unexpected, 0);
  window->Destroy();
}

TEST_F(SetupWindowsTest, CancelAsksBeforeItStopsTheSetup) {
  OptionsWindow* window = OpenOptions(500000);
  dialogs_.messages.clear();
  dialogs_.AnswerQuestion(0);
  ClickControl(Button(window, OptionsWindow::kCancel));
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, "This will stop setup\nDo you really want to exit setup ?");
  EXPECT_EQ(dialogs_.messages[0].buttons, (std::vector<std::string>{"Yes", "", "No"}));
  EXPECT_TRUE(window->IsShown());
  dialogs_.AnswerQuestion(1);
  ombrix::test::PressKey(window, WXK_ESCAPE);
  EXPECT_FALSE(window->IsShown());
  EXPECT_EQ(window->GetReturnCode(), 0);
  window->Destroy();
}

TEST_F(SetupWindowsTest, TheLicenceMustBeReadToItsEnd) {
  auto* window = new LicenceWindow(nullptr);
  window->Show();
  ombrix::test::PumpFor(100);
  EXPECT_EQ(window->GetTitle(), "Ombrix - License");
  EXPECT_EQ(Text(window, LicenceWindow::kNotice), "You must read this license up to the end to continue");
  window->CheckReadToEnd();
  EXPECT_FALSE(window->ReadToEnd());
  Screenshot(window, "licence_window");
  wxCommandEvent agree(wxEVT_BUTTON, LicenceWindow::kAgree);
  window->GetEventHandler()->ProcessEvent(agree);
  EXPECT_TRUE(window->IsShown());

  auto* text = static_cast<wxTextCtrl*>(window->FindWindow(LicenceWindow::kText));
  text->ShowPosition(text->GetLastPosition());
  ombrix::test::PumpFor(200);
  window->CheckReadToEnd();
  EXPECT_TRUE(window->ReadToEnd());
  EXPECT_TRUE(Button(window, LicenceWindow::kAgree)->IsEnabled());
  ClickControl(Button(window, LicenceWindow::kAgree));
  EXPECT_FALSE(window->IsShown());
  EXPECT_EQ(window->GetReturnCode(), 1);
  window->Destroy();
}

TEST_F(SetupWindowsTest, MessageWindowShowsTheButtonsItIsGiven) {
  auto* window = new SetupMessageWindow(nullptr, {"Cannot find Disk3", "Setup - Message", true, {"Ok", "", "Cancel"}});
  window->Show();
  ombrix::test::PumpFor(50);
  EXPECT_EQ(window->GetTitle(), "Setup - Message");
  EXPECT_EQ(Text(window, SetupMessageWindow::kFirst), "&Ok");
  EXPECT_EQ(window->FindWindow(SetupMessageWindow::kSecond), nullptr);
  EXPECT_EQ(Text(window, SetupMessageWindow::kThird), "&Cancel");
  Screenshot(window, "message_window");
  ClickControl(Button(window, SetupMessageWindow::kThird));
  EXPECT_EQ(window->GetReturnCode(), 0);
  window->Destroy();

  window = new SetupMessageWindow(
      nullptr, {"Not all components were installed\ncorrectly.", "Setup - Message", false, {"", "OK", ""}});
  window->Show();
  ombrix::test::PumpFor(50);
  EXPECT_EQ(Text(window, SetupMessageWindow::kSecond), "&OK");
  Screenshot(window, "message_window_result");
  ombrix::test::PressKey(window, 'O');
  EXPECT_EQ(window->GetReturnCode(), 1);
  window->Destroy();
}

TEST_F(SetupWindowsTest, TheSearchWindowShowsTheFolderBeingSearched) {
  WriteTextFile(home_.Path("home/a/LW.CFG"), "");
  WriteTextFile(home_.Path("home/B/c/lw.cfg"), "");
  auto* window = new SearchWindow(nullptr, SearchWindow::kScanningCaption);
  EXPECT_EQ(window->FindRenderer({home_.Path("home/B"), home_.Path("home")}), home_.Path("home/B/c"));
  EXPECT_EQ(window->ShownFolder(), home_.Path("home/B/c"));
  EXPECT_EQ(window->GetTitle(), "Scanning Computer...");
  window->Show();
  window->ShowFolder(home_.Path("home/B/c"));
  ombrix::test::PumpFor(50);
  Screenshot(window, "search_window");
  window->Destroy();
}

TEST_F(SetupWindowsTest, InstallingWaitAndBackdropWindows) {
  auto* installing = new InstallingWindow(nullptr);
  installing->Open();
  installing->SetRange(4);
  installing->ShowFile(3, "/media/ombrix-1.0e/Plugins/ZvPic.Omp", home_.Path("home/ombrix/Plugins/ZvPic.Omp"));
  EXPECT_EQ(installing->GetTitle(), "Installing...");
  EXPECT_EQ(Text(installing, InstallingWindow::kAction), "Unpacking...");
  EXPECT_EQ(Text(installing, InstallingWindow::kTo), "To");
  ombrix::test::PumpFor(50);
  Screenshot(installing, "installing_window");
  installing->Destroy();

  auto* wait = new WaitWindow(nullptr);
  wait->Open();
  ombrix::test::PumpFor(50);
  Screenshot(wait, "wait_window");
  wait->Destroy();

  auto* backdrop = new BackdropWindow;
  backdrop->Open();
  backdrop->SetPicture(std::string(OMBRIX_STAGE_DIR) + "/Images/Back.Bmp");
  EXPECT_TRUE(backdrop->HasPicture());
  EXPECT_EQ(backdrop->GetTitle(), "Setup - Ombrix v1.0e");
  ombrix::test::PumpFor(100);
  Screenshot(backdrop, "backdrop_window");
  backdrop->Destroy();
}

}  // namespace
