// The editor's application object: it runs the main window from start-up until it ends, then
// tidies up.
#pragma once

#include <wx/app.h>

#include <memory>

#include "editor/model/command_line.h"
#include "editor/model/session.h"
#include "editor/windows/editor_dialogs.h"

namespace ombrix::editor {

class MainWindow;

// Exit status: 0 when the editor ended from its main window, 1 when it could not start.
inline constexpr int kExitStartFailed = 1;

class EditorApp : public wxApp {
 public:
  explicit EditorApp(CommandLine line) : line_(std::move(line)) {}

  // Makes the session and the main window and runs the start-up; false when the editor ends
  // during start-up.
  bool OnInit() override;
  int OnExit() override;
  int ExitCode() const { return exit_code_; }
  // Failed checks of the toolkit go to standard error; nobody may be there to answer a dialog.
  void OnAssertFailure(const wxChar* file, int line, const wxChar* func, const wxChar* cond,
                       const wxChar* msg) override;

 private:
  CommandLine line_;
  EditorDialogs dialogs_;
  std::unique_ptr<EditorSession> session_;
  MainWindow* main_ = nullptr;
  int exit_code_ = kExitStartFailed;
};

}  // namespace ombrix::editor
