// The setup's main window (template 102): an empty pop-up shown maximised and on top, painting
// the backdrop picture scaled to its size, or the colour 0x808040 while there is none; and the
// wait window (template 134), a captionless pop-up with the program's icon.
#pragma once

#include <wx/bitmap.h>

#include <string>

#include "setup/instora/setup_face.h"

namespace ombrix::setup {

inline constexpr gui::Colour kBackdropColour = 0x808040;

class BackdropWindow : public wxDialog {
 public:
  BackdropWindow();
  // Shows the window over the whole screen.
  void Open();
  // Scales the picture to the window's size, naming the steps in the caption, then sets the
  // caption "Setup - Ombrix v1.0e". An empty path, or a picture that cannot be read, keeps the
  // plain colour.
  void SetPicture(const std::string& path);
  bool HasPicture() const { return picture_.IsOk(); }

 private:
  void OnPaint(wxPaintEvent& event);
  void OnSize(wxSizeEvent& event);
  void OnClose(wxCloseEvent& event);

  wxImage source_;
  wxBitmap picture_;

  wxDECLARE_EVENT_TABLE();
};

class WaitWindow : public SetupDialog {
 public:
  enum ControlId { kIcon = 1 };
  explicit WaitWindow(wxWindow* parent);
  void Open();

 private:
  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::setup
