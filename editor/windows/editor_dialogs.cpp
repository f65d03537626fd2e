// The editor's message window behind its dialogs.
#include "editor/windows/editor_dialogs.h"

#include <wx/window.h>

#include "gui/message_window.h"

namespace ombrix::editor {
namespace {

int ShowInMessageWindow(const gui::MessageRequest& request) {
  wxWindow* focus = wxWindow::FindFocus();
  gui::MessageWindow window(focus != nullptr ? wxGetTopLevelParent(focus) : nullptr, request);
  return window.Run();
}

}  // namespace

EditorDialogs::EditorDialogs() : gui::NativeDialogs(ShowInMessageWindow) {}

}  // namespace ombrix::editor
