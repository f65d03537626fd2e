// Window test helpers for the editor.
#include "tests/editor/editor_gui_support.h"

#include <wx/image.h>
#include <wx/window.h>

#include <filesystem>

#include "editor/windows/main_window.h"
#include "gui/gui_app.h"
#include "tests/editor/editor_test_support.h"
#include "tests/progress/gui_test_support.h"

namespace ombrix::test {

std::string SaveEditorScreenshot(wxWindow* window, const std::string& name) {
  const wxImage image = CaptureWindow(window);
  const std::filesystem::path directory = std::filesystem::path(OMBRIX_TEST_OUTPUT_DIR) / "editor";
  std::filesystem::create_directories(directory);
  const std::string path = (directory / (name + ".png")).string();
  EXPECT_TRUE(image.SaveFile(path, wxBITMAP_TYPE_PNG)) << path;
  return path;
}

void EditorWindowTest::SetUpTestSuite() {
  ASSERT_TRUE(gui::EnsureGuiApplication());
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxInitAllImageHandlers();
}

void EditorWindowTest::SetUp() {
  name_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  UsePrivateStores(name_);
  install_ = MakeInstallation(name_);
  dialogs_ = std::make_unique<gui::ScriptedDialogs>();
}

void EditorWindowTest::TearDown() {
  if (window_ != nullptr) window_->Destroy();
  window_ = nullptr;
  PumpFor(50);
  session_.reset();
  dialogs_.reset();
}

editor::MainWindow* EditorWindowTest::Start(const std::string& launch_script) {
  session_ = std::make_unique<editor::EditorSession>(launch_script);
  window_ = new editor::MainWindow(*session_, [this](int) { ++end_calls_; });
  window_->StartUp();
  PumpFor(100);
  return window_;
}

}  // namespace ombrix::test
