// What the editor's window tests share: the application object, private stores and an
// installation per test, scripted dialogs, a main window started on them, and screenshots in
// the test output's "editor" folder.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/model/session.h"
#include "gui/scripted_dialogs.h"

class wxWindow;

namespace ombrix::editor {
class MainWindow;
}

namespace ombrix::test {

// Saves what the window shows on the screen as editor/<name>.png; returns the path.
std::string SaveEditorScreenshot(wxWindow* window, const std::string& name);

class EditorWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // A session for the launch script and its main window, started; the window is kept until the
  // test ends.
  editor::MainWindow* Start(const std::string& launch_script = {});

  std::string name_;
  std::string install_;
  std::unique_ptr<gui::ScriptedDialogs> dialogs_;
  std::unique_ptr<editor::EditorSession> session_;
  editor::MainWindow* window_ = nullptr;
  int end_calls_ = 0;
};

}  // namespace ombrix::test
