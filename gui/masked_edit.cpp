// The number entry field.
#include "gui/masked_edit.h"

#include "gui/frames.h"
#include "gui/gui_app.h"

namespace ombrix::gui {

MaskedEdit::MaskedEdit(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxTextCtrl(parent, id, wxString(), pos, size, wxBORDER_NONE | wxTE_PROCESS_ENTER) {
  SetMaxLength(kMaskedEditMaxLength);
}

void MaskedEdit::SetColours(Colour back, Colour fore) {
  SetBackgroundColour(ToWxColour(back));
  SetForegroundColour(ToWxColour(fore));
  Refresh();
}

std::string MaskedEdit::Text() const { return ToAnsi(GetValue()); }

void MaskedEdit::SetText(const std::string& text) { ChangeValue(FromAnsi(text.c_str())); }

// The toolkit places the caret after the focus event; selecting afterwards keeps the selection.
void MaskedEdit::OnSetFocus(wxFocusEvent& event) {
  event.Skip();
  CallAfter([this] { SelectAll(); });
}

void MaskedEdit::OnKeyDown(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER) {
    Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward);
    return;
  }
  event.Skip();
}

// clang-format off
wxBEGIN_EVENT_TABLE(MaskedEdit, wxTextCtrl)
  EVT_SET_FOCUS(MaskedEdit::OnSetFocus)
  EVT_KEY_DOWN(MaskedEdit::OnKeyDown)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::gui
