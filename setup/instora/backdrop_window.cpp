// The main window and the wait window.
#include "setup/instora/backdrop_window.h"

#include <wx/dcbuffer.h>
#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/log.h>

#include "gui/ani_button.h"
#include "gui/frames.h"
#include "gui/gui_app.h"
#include "gui/icons.h"
#include "setup/setup_sequence.h"

namespace ombrix::setup {

BackdropWindow::BackdropWindow() {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Create(nullptr, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
         wxSTAY_ON_TOP | wxFRAME_NO_TASKBAR | wxBORDER_NONE | wxDIALOG_NO_PARENT);
}

void BackdropWindow::Open() {
  const wxRect screen = wxDisplay(0u).GetGeometry();
  SetSize(screen);
  Show();
  Maximize();
  Update();
  gui::DispatchPendingEvents();
}

void BackdropWindow::SetPicture(const std::string& path) {
  if (!path.empty()) {
    wxLogNull quiet;
    if (source_.LoadFile(wxString::FromUTF8(path.c_str()), wxBITMAP_TYPE_BMP) && source_.IsOk()) {
      SetTitle("Resizing picture...");
      const wxSize size = GetClientSize();
      SetTitle("Computing extrapolations...");
      // Bicubic resampling: the picture is usually smaller than the screen.
      picture_ = wxBitmap(source_.Scale(std::max(size.x, 1), std::max(size.y, 1), wxIMAGE_QUALITY_BICUBIC));
    }
  }
  SetTitle(kSetupCaption);
  Refresh();
  Update();
}

void BackdropWindow::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  if (picture_.IsOk()) {
    dc.DrawBitmap(picture_, 0, 0);
  } else {
    gui::FillArea(dc, wxRect(GetClientSize()), kBackdropColour);
  }
}

void BackdropWindow::OnSize(wxSizeEvent& event) {
  if (source_.IsOk()) {
    const wxSize size = GetClientSize();
    if (size.x > 0 && size.y > 0 && (!picture_.IsOk() || picture_.GetSize() != size))
      picture_ = wxBitmap(source_.Scale(size.x, size.y, wxIMAGE_QUALITY_BICUBIC));
  }
  Refresh();
  event.Skip();
}

// The backdrop goes with the setup, not before.
void BackdropWindow::OnClose(wxCloseEvent& event) {
  if (event.CanVeto()) event.Veto();
}

WaitWindow::WaitWindow(wxWindow* parent) {
  CreateDialog(parent, "", 32, 32, wxBORDER_SIMPLE);
  face_.AddPanel(gui::DialogUnitsRect(this, 0, 0, 32, 32));
  const gui::ControlTemplate icon[] = {{kIcon, gui::ControlRole::kLabel, "", 4, 4, 24, 24}};
  gui::PlaceControls(this, icon, colours_, face_, controls_);
  gui::AniButton* button = controls_.Button(kIcon);
  button->SetFramePictures(gui::FallbackIconPictures(std::min(button->GetSize().x, button->GetSize().y) - 2));
  button->SetFrame(gui::kIconWorking);
}

void WaitWindow::Open() {
  CentreOnScreen();
  Show();
  Update();
  gui::DispatchPendingEvents();
}

// clang-format off
wxBEGIN_EVENT_TABLE(BackdropWindow, wxDialog)
  EVT_PAINT(BackdropWindow::OnPaint)
  EVT_SIZE(BackdropWindow::OnSize)
  EVT_CLOSE(BackdropWindow::OnClose)
wxEND_EVENT_TABLE()

wxBEGIN_EVENT_TABLE(WaitWindow, wxDialog)
  EVT_PAINT(WaitWindow::PaintFace)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::setup
