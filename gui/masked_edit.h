// MaskedEdit: the number entry field of the editor's windows. A one-line text field of at most
// 64 characters in the edit-area colours; its whole text is selected when it receives the focus,
// and Enter moves the focus on as Tab does.
#pragma once

#include <wx/textctrl.h>

#include <string>

#include "gui/colour_rules.h"

namespace ombrix::gui {

inline constexpr unsigned long kMaskedEditMaxLength = 64;

class MaskedEdit : public wxTextCtrl {
 public:
  MaskedEdit(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
             const wxSize& size = wxDefaultSize);

  void SetColours(Colour back, Colour fore);
  // The text as Windows-1252 bytes.
  std::string Text() const;
  void SetText(const std::string& text);

 private:
  void OnSetFocus(wxFocusEvent& event);
  void OnKeyDown(wxKeyEvent& event);

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::gui
