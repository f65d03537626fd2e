// The installing window.
#include "setup/instora/installing_window.h"

#include <wx/animate.h>
#include <wx/gauge.h>

#include <algorithm>

#include "gui/ani_button.h"
#include "gui/dialogs.h"
#include "gui/gui_app.h"

namespace ombrix::setup {
namespace {

using gui::ControlRole;
using gui::ControlTemplate;
using W = InstallingWindow;

constexpr int kWidth = 260;
constexpr int kHeight = 84;
constexpr long kLeft = gui::kAniAlignLeft;

const ControlTemplate kTemplate[] = {
    {W::kAction, ControlRole::kLabel, "", 46, 6, 208, 10, kLeft},
    {W::kObject, ControlRole::kLabel, "", 52, 17, 202, 10, kLeft},
    {W::kTo, ControlRole::kLabel, "", 46, 28, 208, 10, kLeft},
    {W::kSecondObject, ControlRole::kLabel, "", 52, 39, 202, 10, kLeft},
};

// Paths are the file system's bytes (UTF-8 here); other bytes are read as Windows-1252.
wxString PathText(const std::string& text) {
  const wxString utf8 = wxString::FromUTF8(text.c_str());
  return !utf8.empty() || text.empty() ? utf8 : gui::FromAnsi(text.c_str());
}

}  // namespace

InstallingWindow::InstallingWindow(wxWindow* parent) {
  CreateDialog(parent, "Installing...", kWidth, kHeight, wxCAPTION);
  face_.AddPanel(gui::DialogUnitsRect(this, 0, 0, kWidth, kHeight));
  gui::PlaceControls(this, kTemplate, colours_, face_, controls_);
  const wxRect rect = gui::DialogUnitsRect(this, 6, 62, kWidth - 12, 12);
  bar_ = new wxGauge(this, kBar, 1, rect.GetPosition(), rect.GetSize(), wxGA_HORIZONTAL | wxGA_SMOOTH);
  wxAnimationCtrl* clip =
      PlaceClip(this, kClip, 6, 8, 34, 32, played_ ? std::string() : LargerClipPath(), colours_.background);
  if (clip->IsShown()) played_ = true;
}

void InstallingWindow::Open() {
  CentreOnParent();
  Show();
  RepaintNow();
}

void InstallingWindow::RepaintNow() {
  Update();
  gui::DispatchPendingEvents();
}

void InstallingWindow::SetRange(int count) {
  bar_->SetRange(std::max(count, 1));
  bar_->SetValue(0);
  RepaintNow();
}

void InstallingWindow::ShowFile(int index, const std::string& source, const std::string& target) {
  controls_.Button(kAction)->SetLabel("Unpacking...");
  controls_.Button(kObject)->SetLabel(PathText(source));
  controls_.Button(kTo)->SetLabel("To");
  controls_.Button(kSecondObject)->SetLabel(PathText(target));
  bar_->SetValue(std::clamp(index, 0, bar_->GetRange()));
  RepaintNow();
}

void InstallingWindow::Step(const std::string& action, const std::string& object) {
  controls_.Button(kAction)->SetLabel(gui::FromAnsi(action.c_str()));
  controls_.Button(kObject)->SetLabel(PathText(object));
  controls_.Button(kTo)->SetLabel(wxString());
  controls_.Button(kSecondObject)->SetLabel(wxString());
  RepaintNow();
}

void InstallingWindow::Message(const std::string& caption, const std::string& text) {
  gui::CurrentDialogs().ShowMessage({text, caption, false});
}

// The copying is not interrupted halfway.
void InstallingWindow::OnClose(wxCloseEvent& event) {
  if (event.CanVeto()) event.Veto();
}

// clang-format off
wxBEGIN_EVENT_TABLE(InstallingWindow, wxDialog)
  EVT_PAINT(InstallingWindow::PaintFace)
  EVT_CLOSE(InstallingWindow::OnClose)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::setup
