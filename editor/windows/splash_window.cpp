// The splash window.
#include "editor/windows/splash_window.h"

#include <wx/dcclient.h>

#include "editor/windows/artwork.h"
#include "gui/ani_button.h"
#include "gui/gui_app.h"

namespace ombrix::editor {

SplashWindow::SplashWindow(const gui::ColourSet& colours) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Create(nullptr, wxID_ANY, "Ombrix", wxDefaultPosition, wxDefaultSize, wxBORDER_SIMPLE | wxSTAY_ON_TOP);
  SetFont(gui::DialogFont());
  SetClientSize(ConvertDialogToPixels(wxSize(200, 62)));
  face_.SetBackground(colours.background);
  // The banner is a label of its own; a dialog with a single child would stretch that child
  // over the whole window.
  const wxRect banner = gui::DialogUnitsRect(this, 4, 4, 192, 36);
  auto* picture = new gui::AniButton(this, kBanner, wxString(), banner.GetPosition(), banner.GetSize());
  picture->SetFramePictures({BannerPicture(banner.GetSize())});
  face_.AddPanel(wxRect(banner).Inflate(2));
  const wxRect label = gui::DialogUnitsRect(this, 4, 46, 192, 11);
  label_ = new gui::AniButton(this, kStepLabel, wxString(), label.GetPosition(), label.GetSize());
  gui::WindowFace::ColourLabel(label_, colours.background);
  CentreOnScreen();
}

void SplashWindow::ShowStep(const char* text) {
  label_->SetLabel(gui::FromAnsi(text));
  if (IsShownOnScreen()) Update();
  gui::DispatchPendingEvents();
}

wxString SplashWindow::StepText() const { return label_->GetLabel(); }

void SplashWindow::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  face_.Paint(dc, GetClientSize());
}

// clang-format off
wxBEGIN_EVENT_TABLE(SplashWindow, wxDialog)
  EVT_PAINT(SplashWindow::OnPaint)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::editor
