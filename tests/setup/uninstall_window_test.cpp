// The uninstaller's window on a private X server: its caption, labels and bar while a
// log is replayed, a screenshot mid-way, and the error for a log that cannot be read.
#include "setup/uninstaller/uninstall_window.h"

#include <gtest/gtest.h>
#include <wx/gauge.h>
#include <wx/image.h>

#include <filesystem>

#include "gui/gui_app.h"
#include "tests/progress/gui_test_support.h"
#include "tests/setup/private_home.h"

namespace {

using namespace ombrix::setup;
using ombrix::test::WriteTextFile;

enum { kProgressBar = 1000, kActionLabel = 1001, kObjectLabel = 1002 };

// The window's display, looking at the window before the removal of one chosen entry.
class WatchingDisplay : public WindowDisplay {
 public:
  WatchingDisplay(int watched, ErrorBox error_box = {}) : WindowDisplay(std::move(error_box)), watched_(watched) {}
  void BeforeRemoval(int position, const char* action, std::string_view object) override {
    WindowDisplay::BeforeRemoval(position, action, object);
    if (position != watched_) return;
    UninstallWindow* window = Window();
    title = window->GetTitle();
    action_text = window->FindWindow(kActionLabel)->GetLabel();
    object_text = window->FindWindow(kObjectLabel)->GetLabel();
    auto* bar = static_cast<wxGauge*>(window->FindWindow(kProgressBar));
    bar_value = bar->GetValue();
    bar_range = bar->GetRange();
    shot = ombrix::test::CaptureWindow(window);
  }
  int watched_;
  wxString title, action_text, object_text;
  int bar_value = -1, bar_range = -1;
  wxImage shot;
};

class UninstallWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(ombrix::gui::EnsureGuiApplication()); }
  ombrix::test::PrivateHome home_;
};

TEST_F(UninstallWindowTest, ShowsEachRemovalWhileTheLogIsReplayed) {
  UninstallLog log;
  log.name = "Zorvex - Ombrix v1.0e";
  const std::string dir = home_.Path("Zorvex/Ombrix");
  std::filesystem::create_directories(dir);
  log.Add(EntryKind::RemoveDirectory, dir);
  for (const char* name : {"Ombrix - v1.0e.desktop", "Read me.desktop"}) {
    WriteTextFile(dir + "/" + name, "[Desktop Entry]\n");
    log.Add(EntryKind::RemoveFile, dir + "/" + name);
  }
  log.Add(EntryKind::RemoveUserKey, "Software\\Zorvex\\", "Ombrix");
  ASSERT_TRUE(WriteUninstallLog(home_.Path("Install.Nui"), log));

  int status = -1;
  WatchingDisplay* seen = nullptr;
  {
    WatchingDisplay display(2);
    seen = &display;
    status = RunUninstaller(home_.Path("Install.Nui"), display);
    EXPECT_EQ(seen->title, "Removing \"Zorvex - Ombrix v1.0e\"...");
    EXPECT_EQ(seen->action_text, "Removing File");
    EXPECT_EQ(seen->object_text, wxString::FromUTF8(dir + "/Read me.desktop"));
    EXPECT_EQ(seen->bar_range, 4);
    EXPECT_EQ(seen->bar_value, 2);
    ASSERT_TRUE(seen->shot.IsOk());
    const std::filesystem::path out = std::filesystem::path(OMBRIX_TEST_OUTPUT_DIR) / "setup";
    std::filesystem::create_directories(out);
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
    EXPECT_TRUE(seen->shot.SaveFile((out / "uninstall_window.png").string(), wxBITMAP_TYPE_PNG));
  }
  EXPECT_EQ(status, kUninstallDone);
  EXPECT_FALSE(std::filesystem::exists(dir));
  // The window goes at the end, without a closing message.
  EXPECT_EQ(ombrix::test::CountTopLevel(kUninstallCaption) +
                ombrix::test::CountTopLevel("Removing \"Zorvex - Ombrix v1.0e\"..."),
            0);
}

TEST_F(UninstallWindowTest, ABadLogIsReportedOverTheOpenWindow) {
  WriteTextFile(home_.Path("Install.Nui"), std::string(296, '\0'));
  std::string caption, text, detail;
  bool window_shown = false;
  WindowDisplay display([&](wxWindow* owner, const std::string& c, const std::string& t, const std::string& d) {
    caption = c;
    text = t;
    detail = d;
    window_shown = owner != nullptr && owner->IsShown() && owner->GetLabel() == kUninstallCaption;
  });
  EXPECT_EQ(RunUninstaller(home_.Path("Install.Nui"), display), kUninstallLogRejected);
  EXPECT_EQ(caption, "Zorvex Uninstall - Error");
  EXPECT_EQ(text, "Cannot load file :\n" + home_.Path("Install.Nui"));
  EXPECT_EQ(detail, "the header length is 0 instead of 292");
  EXPECT_TRUE(window_shown);
}

}  // namespace
