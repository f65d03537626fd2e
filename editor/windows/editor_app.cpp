// Running the editor.
#include "editor/windows/editor_app.h"

#include <cstdio>

#include "editor/model/ending.h"
#include "editor/windows/main_window.h"

namespace ombrix::editor {

bool EditorApp::OnInit() {
  gui::InstallDialogs(&dialogs_);
  wxInitAllImageHandlers();
  session_ = std::make_unique<EditorSession>(line_.launch_script);
  main_ = new MainWindow(*session_, [this](int) {
    exit_code_ = 0;
    if (IsMainLoopRunning()) ExitMainLoop();
  });
  SetTopWindow(main_);
  if (main_->StartUp() == StartupResult::kEnd) {
    exit_code_ = kExitStartFailed;
    return false;
  }
  return true;
}

int EditorApp::OnExit() {
  if (main_ != nullptr) {
    main_->Destroy();
    main_ = nullptr;
  }
  if (session_) ForgetTestPictureAtEnd(*session_);
  gui::InstallDialogs(nullptr);
  return wxApp::OnExit();
}

void EditorApp::OnAssertFailure(const wxChar* file, int line, const wxChar* func, const wxChar* cond,
                                const wxChar* msg) {
  std::fprintf(stderr, "ombrix-editor: toolkit check failed: %s:%d in %s: %s %s\n", wxString(file).utf8_str().data(),
               line, wxString(func).utf8_str().data(), wxString(cond).utf8_str().data(),
               wxString(msg).utf8_str().data());
}

}  // namespace ombrix::editor
