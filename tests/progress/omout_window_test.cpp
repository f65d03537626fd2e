// The progress module's windows on a private X server, in a host without an application object
// of its own (as inside LightWave): the module starts the toolkit itself.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/gauge.h>
#include <wx/uiaction.h>
#include <wx/window.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "core/settings/settings.h"
#include "tests/progress/gui_test_support.h"
#include "tests/progress/omout_binding.h"

namespace {

using namespace ombrix::test;

constexpr const char* kProgressTitle = "Ombrix - Working...";

// Control ids of the two templates.
enum {
  kBar1 = 1001,
  kBar2 = 1002,
  kUpperPanel = 1003,
  kMiddlePanel = 1004,
  kUpperLine = 1005,
  kLowerLine = 1006,
  kInfoArea = 1007,
  kCancel = 1008,
  kLowerPanel = 1009,
  kClip = 1010,
  kIcon = 1011,
  kMessageText = 1005,
  kYes = 1006,
  kOk = 1007,
  kNo = 1008,
};

wxWindow* Control(wxWindow* window, int id) {
  wxWindow* control = window->FindWindow(id);
  EXPECT_NE(control, nullptr) << id;
  return control;
}

wxRect Dlu(wxWindow* window, int x, int y, int w, int h) {
  return wxRect(window->ConvertDialogToPixels(wxPoint(x, y)), window->ConvertDialogToPixels(wxSize(w, h)));
}

class OmOutWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    UsePrivateSettings(::testing::UnitTest::GetInstance()->current_test_info()->name());
    // The host has no application object of its own (checked once: the module's lives on).
    static bool first_test = true;
    if (first_test) {
      ASSERT_EQ(wxAppConsole::GetInstance(), nullptr);
    }
    first_test = false;
    om.Load();
    ASSERT_FALSE(HasFailure());
    *om.OmOutLightWaveCall = 1;
    om.OmInitOmOutDll();
    ASSERT_NE(wxAppConsole::GetInstance(), nullptr);
  }
  void TearDown() override { om.OmCloseProgress(); }

  wxWindow* OpenProgress() {
    om.OmOpenProgress(1);
    wxWindow* window = FindTopLevel(kProgressTitle);
    EXPECT_NE(window, nullptr);
    return window;
  }

  // Runs answer on the message window (found by its title) once it is up, while it is shown
  // modally, and returns the window's result. A window that does not turn up fails the test and
  // is closed, so the test cannot hang.
  int32_t AskWithAnswer(const wxString& shown_title, const char* title, const char* text, int32_t kind,
                        const std::function<void(wxWindow*)>& answer) {
    wxAppConsole::GetInstance()->CallAfter([shown_title, answer] {
      wxWindow* window = nullptr;
      for (int i = 0; i < 200 && window == nullptr; ++i) {
        PumpFor(10);
        window = FindTopLevel(shown_title);
      }
      if (window == nullptr) {
        ADD_FAILURE() << "no message window titled " << shown_title;
        for (wxWindow* any : wxTopLevelWindows) {
          if (any->IsShown()) any->Close();
        }
        return;
      }
      answer(window);
    });
    return om.OpenMessageWin(title, text, kind);
  }
  int32_t AskWithAnswer(const char* title, const char* text, int32_t kind,
                        const std::function<void(wxWindow*)>& answer) {
    return AskWithAnswer(wxString(title), title, text, kind, answer);
  }

  // Whether the settings store keeps what is written; the clip tests need it.
  static bool SettingsWork() {
    ombrix::WriteSettingText(nullptr, "WorkingData", "probe");
    return ombrix::ReadSetting(nullptr, "WorkingData") == "probe";
  }

  OmOutBinding om;
};

TEST_F(OmOutWindows, ProgressWindowFollowsItsTemplate) {
  wxWindow* window = OpenProgress();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->GetClientSize(), window->ConvertDialogToPixels(wxSize(244, 100)));
  const wxSize screen = wxGetDisplaySize();
  const wxSize size = window->GetSize();
  EXPECT_EQ(window->GetPosition(), wxPoint(screen.x / 2 - size.x / 2, screen.y / 2 - size.y / 2));

  EXPECT_EQ(Control(window, kInfoArea)->GetRect(), Dlu(window, 4, 56, 236, 24).Deflate(1));
  EXPECT_EQ(Control(window, kCancel)->GetRect(), Dlu(window, 75, 88, 93, 8));
  EXPECT_EQ(Control(window, kUpperLine)->GetLabel(), "? ");
  EXPECT_EQ(Control(window, kInfoArea)->GetLabel(), "123");
  EXPECT_EQ(Control(window, kCancel)->GetLabel(), "Cancel");
  for (const int shown : {kUpperLine, kBar1, kLowerLine, kBar2, kInfoArea, kCancel}) {
    EXPECT_TRUE(Control(window, shown)->IsShown()) << shown;
  }
  for (const int hidden : {kUpperPanel, kMiddlePanel, kLowerPanel}) {
    EXPECT_FALSE(Control(window, hidden)->IsShown()) << hidden;
  }
  // No "WorkingData" value: the still icon instead of the clip.
  EXPECT_TRUE(Control(window, kIcon)->IsShown());
  EXPECT_FALSE(Control(window, kClip)->IsShown());

  om.OmInitProgress(1, 0, 4);
  om.OmSetMessage("Ombrix Working - Frame 7 ...", "Total work (2/4)", "Applying \"Twirl\"...", "Applying \"Twirl\"...");
  om.OmUpdateProgress(1, 2);
  om.OmInitProgress(2, 0, 100);
  om.OmUpdateProgress(2, 60);
  const wxImage shot = CaptureWindow(window);
  SaveScreenshot(shot, "progress_window");
  // Upper panel frame at the corner: black outline, then the background's lighter shade.
  EXPECT_EQ(PixelAt(shot, 0, 0), 0x000000u);
  EXPECT_EQ(PixelAt(shot, 1, 1), 0xD0D0D0u);
  // The Cancel button's face in the action button colour.
  const wxPoint cancel = Control(window, kCancel)->GetPosition();
  EXPECT_EQ(PixelAt(shot, cancel.x + 1, cancel.y + 1), 0xA89C9Cu);
  // Its frame: raised edge one pixel out, black one further.
  EXPECT_EQ(PixelAt(shot, cancel.x - 1, cancel.y - 1), 0xE8DCDCu);
  EXPECT_EQ(PixelAt(shot, cancel.x - 2, cancel.y - 2), 0x000000u);
  // The info area in its colour.
  const wxPoint info = Control(window, kInfoArea)->GetPosition();
  EXPECT_EQ(PixelAt(shot, info.x + 1, info.y + 1), 0x808080u);
}

TEST_F(OmOutWindows, BarsAndTextsFollowTheCalls) {
  wxWindow* window = OpenProgress();
  ASSERT_NE(window, nullptr);
  auto* bar1 = dynamic_cast<wxGauge*>(Control(window, kBar1));
  auto* bar2 = dynamic_cast<wxGauge*>(Control(window, kBar2));
  ASSERT_NE(bar1, nullptr);
  ASSERT_NE(bar2, nullptr);

  om.OmInitProgress(1, 0, 4);
  EXPECT_EQ(bar1->GetRange(), 4);
  EXPECT_EQ(om.OmUpdateProgress(1, 2), 1);
  EXPECT_EQ(bar1->GetValue(), 2);
  EXPECT_EQ(om.OmUpdateProgress(1, 5), 1);  // past the end: the bar stays full
  EXPECT_EQ(bar1->GetValue(), 4);
  om.OmInitProgress(2, 10, 20);
  EXPECT_EQ(bar2->GetRange(), 10);
  EXPECT_EQ(om.OmUpdateProgress(2, 15), 1);
  EXPECT_EQ(bar2->GetValue(), 5);
  EXPECT_EQ(om.OmUpdateProgress(3, 1), 1);  // no such bar
  om.OmInitProgress(3, 0, 1);
  EXPECT_EQ(bar1->GetValue(), 4);
  EXPECT_EQ(bar2->GetValue(), 5);
  EXPECT_EQ(bar1->GetRange(), 4);

  om.OmSetMessage("Caption \xA7", "line one", "line two", "info");
  EXPECT_EQ(window->GetLabel(), wxString(L"Caption \u00A7"));
  om.OmSetMessage(nullptr, nullptr, nullptr, "only info");
  EXPECT_EQ(window->GetLabel(), wxString(L"Caption \u00A7"));
  EXPECT_EQ(Control(window, kUpperLine)->GetLabel(), "line one");
  EXPECT_EQ(Control(window, kLowerLine)->GetLabel(), "line two");
  EXPECT_EQ(Control(window, kInfoArea)->GetLabel(), "only info");

  om.OmShowProgress(0);
  EXPECT_FALSE(window->IsShown());
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 1);
  om.OmShowProgress(5);
  EXPECT_TRUE(window->IsShown());
  om.OmShowProgress(0);
  om.OmShowProgress(1);
  EXPECT_TRUE(window->IsShown());
}

TEST_F(OmOutWindows, CancelPressStopsEveryLaterUpdate) {
  wxWindow* window = OpenProgress();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 1);
  ClickControl(Control(window, kCancel));
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 0);
  EXPECT_EQ(om.OmUpdateProgress(2, 50), 0);
  EXPECT_EQ(om.OmUpdateProgress(3, 0), 0);
  // The window stays, its Cancel button in the lit colour.
  EXPECT_EQ(FindTopLevel(kProgressTitle), window);
  const wxImage shot = CaptureWindow(window);
  SaveScreenshot(shot, "progress_window_cancelled");
  const wxPoint cancel = Control(window, kCancel)->GetPosition();
  EXPECT_EQ(PixelAt(shot, cancel.x + 1, cancel.y + 1), 0xFFD0D0u);
  EXPECT_EQ(PixelAt(shot, cancel.x - 1, cancel.y - 1), 0xFFD0D0u);

  // A new window starts with the flag set again; closing it leaves nothing to update.
  om.OmCloseProgress();
  EXPECT_EQ(FindTopLevel(kProgressTitle), nullptr);
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 1);
  OpenProgress();
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 1);
}

TEST_F(OmOutWindows, EscapeAndTheCloseBoxActAsCancel) {
  wxWindow* window = OpenProgress();
  ASSERT_NE(window, nullptr);
  PressKey(window, WXK_RETURN);  // no handler reacts to Enter
  PressKey(window, 'A');
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 1);
  PressKey(window, WXK_ESCAPE);
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 0);
  om.OmCloseProgress();

  window = OpenProgress();
  ASSERT_NE(window, nullptr);
  window->Close();
  EXPECT_EQ(om.OmUpdateProgress(2, 1), 0);
  EXPECT_EQ(FindTopLevel(kProgressTitle), window);
}

// Input reaches the window only through the update's pump, and the pump never waits.
TEST_F(OmOutWindows, UpdateDispatchesPendingInputWithoutWaiting) {
  wxWindow* window = OpenProgress();
  ASSERT_NE(window, nullptr);
  om.OmInitProgress(2, 0, 2000);
  const auto start = std::chrono::steady_clock::now();
  auto slowest = std::chrono::steady_clock::duration::zero();
  for (int row = 0; row < 2000; ++row) {
    const auto before = std::chrono::steady_clock::now();
    ASSERT_EQ(om.OmUpdateProgress(2, row), 1);
    slowest = std::max(slowest, std::chrono::steady_clock::now() - before);
  }
  const auto total = std::chrono::steady_clock::now() - start;
  std::printf("2000 updates: %.1f us each, slowest %.1f ms\n",
              std::chrono::duration<double, std::micro>(total).count() / 2000,
              std::chrono::duration<double, std::milli>(slowest).count());
  EXPECT_LT(slowest, std::chrono::milliseconds(250));

  wxQueueEvent(Control(window, kCancel), new wxCommandEvent(wxEVT_BUTTON, kCancel));
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 0);
  om.OmCloseProgress();

  // A real click through the X server, picked up by the updates that follow it.
  window = OpenProgress();
  ASSERT_NE(window, nullptr);
  wxUIActionSimulator pointer;
  const wxRect cancel = Control(window, kCancel)->GetScreenRect();
  pointer.MouseMove(cancel.GetPosition() + wxPoint(cancel.width / 2, cancel.height / 2));
  pointer.MouseClick();
  int32_t go_on = 1;
  for (int i = 0; i < 300 && go_on == 1; ++i) {
    go_on = om.OmUpdateProgress(2, i);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(go_on, 0);
}

TEST_F(OmOutWindows, OpeningAgainReplacesTheOpenWindow) {
  OpenProgress();
  om.OmOpenProgress(1);
  EXPECT_EQ(CountTopLevel(kProgressTitle), 1);
  om.OmCloseProgress();
  EXPECT_EQ(CountTopLevel(kProgressTitle), 0);
  om.OmCloseProgress();
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 1);
}

TEST_F(OmOutWindows, QuestionAnswersYesOrNo) {
  const char* title = "Ombrix - Warning";
  const int32_t yes = AskWithAnswer(
      title, "Cannot find file\n\"Stone.tga\".\nDo you want to replace it with a new file.", 0, [](wxWindow* window) {
        EXPECT_EQ(window->GetClientSize(), window->ConvertDialogToPixels(wxSize(220, 57)));
        EXPECT_TRUE(Control(window, kYes)->IsShown());
        EXPECT_TRUE(Control(window, kNo)->IsShown());
        EXPECT_FALSE(Control(window, kOk)->IsShown());
        EXPECT_TRUE(Control(window, kIcon)->IsShown());
        EXPECT_FALSE(Control(window, kClip)->IsShown());
        EXPECT_EQ(Control(window, kMessageText)->GetLabel(),
                  "Cannot find file\n\"Stone.tga\".\nDo you want to replace it with a new file.");
        const wxImage shot = CaptureWindow(window);
        SaveScreenshot(shot, "message_question");
        // Lower panel, shrunk by two pixels: black outline there.
        const wxRect lower = Dlu(window, 0, 40, 220, 17).Deflate(2);
        EXPECT_EQ(PixelAt(shot, lower.x + 5, lower.y), 0x000000u);
        EXPECT_EQ(PixelAt(shot, lower.x + 5, lower.y + 1), 0xD0D0D0u);
        ClickControl(Control(window, kYes));
      });
  EXPECT_EQ(yes, 1);
  const int32_t no = AskWithAnswer(title, "Replace it?", 0, [](wxWindow* window) {
    ClickControl(Control(window, kOk));  // hidden in a question: no answer
    ClickControl(Control(window, kNo));
  });
  EXPECT_EQ(no, 0);
}

TEST_F(OmOutWindows, InformationShowsOnlyOk) {
  const char* title = "Ombrix - Error";
  const int32_t ok = AskWithAnswer(title, "Cannot open an X Alpha picture", 7, [](wxWindow* window) {
    EXPECT_FALSE(Control(window, kYes)->IsShown());
    EXPECT_FALSE(Control(window, kNo)->IsShown());
    EXPECT_TRUE(Control(window, kOk)->IsShown());
    SaveScreenshot(CaptureWindow(window), "message_information");
    ClickControl(Control(window, kNo));  // hidden: no answer
    ClickControl(Control(window, kOk));
  });
  EXPECT_EQ(ok, 1);
}

// Errors during a render are shown while the progress window is open; afterwards the progress
// window still takes its Cancel.
TEST_F(OmOutWindows, MessageDuringARenderLeavesTheProgressWindowUsable) {
  wxWindow* window = OpenProgress();
  ASSERT_NE(window, nullptr);
  const int32_t ok = AskWithAnswer("Ombrix - Error", "Cannot open an X Alpha picture", 1,
                                   [](wxWindow* message) { ClickControl(Control(message, kOk)); });
  EXPECT_EQ(ok, 1);
  EXPECT_TRUE(window->IsEnabled());
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 1);
  ClickControl(Control(window, kCancel));
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 0);
}

TEST_F(OmOutWindows, KeysAndTheCloseBoxAnswerTheMessage) {
  EXPECT_EQ(AskWithAnswer("Ombrix - Message", "Escape", 0, [](wxWindow* w) { PressKey(w, WXK_ESCAPE); }), 2);
  EXPECT_EQ(AskWithAnswer("Ombrix - Message", "Enter", 0, [](wxWindow* w) { PressKey(w, WXK_RETURN); }), 1);
  EXPECT_EQ(AskWithAnswer("Ombrix - Message", "Close", 1, [](wxWindow* w) { w->Close(); }), 2);
}

TEST_F(OmOutWindows, OverlongTextsAreCutToTheWindowsBuffers) {
  const std::string title(300, 'T');
  const std::string text(1000, 'x');
  const wxString expected_title(std::string(255, 'T'));
  const int32_t result = AskWithAnswer(expected_title, title.c_str(), text.c_str(), 1, [&](wxWindow* window) {
    EXPECT_EQ(Control(window, kMessageText)->GetLabel().length(), 651u);
    PressKey(window, WXK_ESCAPE);
  });
  EXPECT_EQ(result, 2);
}

TEST_F(OmOutWindows, ClipsPlayWhenTheSettingsNameThem) {
  if (!SettingsWork()) GTEST_SKIP() << "the settings store keeps no values yet";
  const std::string programs = std::string(OMBRIX_STAGE_DIR) + "/Programs/";
  ombrix::WriteSettingText(nullptr, "WorkingData", (programs + "Work.Dta").c_str());
  ombrix::WriteSettingText(nullptr, "AskData", (programs + "Ask.Dta").c_str());
  ombrix::WriteSettingText(nullptr, "InfoData", (programs + "Missing.Dta").c_str());

  wxWindow* window = OpenProgress();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(Control(window, kClip)->IsShown());
  EXPECT_FALSE(Control(window, kIcon)->IsShown());
  SaveScreenshot(CaptureWindow(window), "progress_window_clip");
  om.OmCloseProgress();

  AskWithAnswer("Ombrix - Message", "Ask", 0, [](wxWindow* w) {
    EXPECT_TRUE(Control(w, kClip)->IsShown());
    EXPECT_FALSE(Control(w, kIcon)->IsShown());
    SaveScreenshot(CaptureWindow(w), "message_question_clip");
    PressKey(w, WXK_ESCAPE);
  });
  AskWithAnswer("Ombrix - Message", "Info", 1, [](wxWindow* w) {
    EXPECT_FALSE(Control(w, kClip)->IsShown());  // the named clip does not exist
    EXPECT_TRUE(Control(w, kIcon)->IsShown());
    PressKey(w, WXK_ESCAPE);
  });
}

TEST_F(OmOutWindows, ColoursComeFromTheSettings) {
  if (!SettingsWork()) GTEST_SKIP() << "the settings store keeps no values yet";
  ombrix::WriteSettingNumber(nullptr, "ActionButtonColor", 0x404040);
  ombrix::WriteSettingNumber(nullptr, "BackgroundColor", 0x603020);
  wxWindow* window = OpenProgress();
  ASSERT_NE(window, nullptr);
  const wxImage shot = CaptureWindow(window);
  SaveScreenshot(shot, "progress_window_colours");
  const wxPoint cancel = Control(window, kCancel)->GetPosition();
  EXPECT_EQ(PixelAt(shot, cancel.x + 1, cancel.y + 1), 0x404040u);
  EXPECT_EQ(PixelAt(shot, 2, 2), 0x603020u);
  // White caption on the dark button.
  const wxSize size = Control(window, kCancel)->GetSize();
  bool white = false;
  for (int x = 0; x < size.x; ++x) {
    for (int y = 0; y < size.y; ++y) white = white || PixelAt(shot, cancel.x + x, cancel.y + y) == 0xFFFFFFu;
  }
  EXPECT_TRUE(white);
}

// The toolkit keeps pointers into the module, so the module stays loaded when the host unloads it.
TEST_F(OmOutWindows, ModuleStaysLoadedOnceWindowsWereShown) {
  OpenProgress();
  om.OmCloseProgress();
  ombrix::platform::CloseLibrary(om.library);
  void* again = dlopen(StagedOmOutPath().c_str(), RTLD_NOW | RTLD_NOLOAD);
  EXPECT_NE(again, nullptr);
  if (again != nullptr) dlclose(again);
  om.Load();
  EXPECT_EQ(om.OmUpdateProgress(1, 1), 1);
}

}  // namespace
