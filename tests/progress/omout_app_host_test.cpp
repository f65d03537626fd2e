// The progress module in a host that has its own application object and runs its own event loop,
// as the editor does for a test render: the module uses that application, keeps the host's other
// windows from reacting during the render, and its windows work from inside the host's loop.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <functional>

#include "tests/progress/gui_test_support.h"
#include "tests/progress/omout_binding.h"

namespace {

using namespace ombrix::test;

class HostApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

class OmOutInAppHost : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    wxApp::SetInstance(new HostApp);
    static char name[] = "host";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    ASSERT_TRUE(wxEntryStart(argc, argv));
  }

  void SetUp() override {
    app_ = wxAppConsole::GetInstance();
    host_ = new wxFrame(nullptr, wxID_ANY, "Host main window", wxPoint(10, 10), wxSize(200, 100));
    host_->Show();
    om.Load();
    ASSERT_FALSE(HasFailure());
    *om.OmOutLightWaveCall = 0;
  }
  void TearDown() override {
    om.OmCloseProgress();
    host_->Destroy();
  }

  // Runs body inside the host's own event loop and leaves the loop afterwards.
  void InHostLoop(const std::function<void()>& body) {
    app_->CallAfter([body] {
      body();
      wxAppConsole::GetInstance()->ExitMainLoop();
    });
    app_->MainLoop();
  }

  wxAppConsole* app_ = nullptr;
  wxFrame* host_ = nullptr;
  OmOutBinding om;
};

TEST_F(OmOutInAppHost, RenderFromTheHostLoopUsesTheHostApplication) {
  bool ran = false;
  InHostLoop([&] {
    ran = true;
    om.OmOpenProgress(0);
    EXPECT_EQ(wxAppConsole::GetInstance(), app_);
    wxWindow* window = FindTopLevel("Ombrix - Working...");
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(host_->IsEnabled());  // the host's window takes no input during the render
    EXPECT_TRUE(window->IsEnabled());
    om.OmInitProgress(1, 0, 2);
    EXPECT_EQ(om.OmUpdateProgress(1, 1), 1);
    ClickControl(window->FindWindow(1008));
    EXPECT_EQ(om.OmUpdateProgress(1, 2), 0);
    om.OmCloseProgress();
    EXPECT_TRUE(host_->IsEnabled());
  });
  EXPECT_TRUE(ran);
}

TEST_F(OmOutInAppHost, MessageWindowFromTheHostLoop) {
  int32_t answer = -1;
  InHostLoop([&] {
    om.OmInitOmOutDll();
    EXPECT_EQ(*om.OmOutLightWaveCall, 1);
    EXPECT_EQ(wxAppConsole::GetInstance(), app_);
    app_->CallAfter([] {
      wxWindow* window = nullptr;
      for (int i = 0; i < 200 && window == nullptr; ++i) {
        PumpFor(10);
        window = FindTopLevel("Ombrix - Warning");
      }
      ASSERT_NE(window, nullptr);
      ClickControl(window->FindWindow(1008));
    });
    answer = om.OpenMessageWin("Ombrix - Warning", "Go on?", 0);
    EXPECT_TRUE(host_->IsEnabled());
  });
  EXPECT_EQ(answer, 0);
}

}  // namespace
