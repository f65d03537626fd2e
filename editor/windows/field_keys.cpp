// Tab and Enter.
#include "editor/windows/field_keys.h"

#include <wx/event.h>
#include <wx/window.h>

namespace ombrix::editor {

bool MoveOnFromField(wxWindow* window, wxKeyEvent& event, const std::function<void(int id)>& reformat) {
  const int key = event.GetKeyCode();
  if (key != WXK_TAB && key != WXK_RETURN && key != WXK_NUMPAD_ENTER) return false;
  wxWindow* focus = wxWindow::FindFocus();
  if (focus == nullptr || focus->GetParent() != window) {
    event.Skip();
    return true;
  }
  reformat(focus->GetId());
  focus->Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward);
  return true;
}

}  // namespace ombrix::editor
