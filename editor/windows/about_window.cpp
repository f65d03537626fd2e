// The about window.
#include "editor/windows/about_window.h"

#include <wx/animate.h>
#include <wx/dcclient.h>

#include "core/settings/settings.h"
#include "editor/windows/artwork.h"
#include "editor/windows/main_window.h"
#include "gui/ani_button.h"
#include "gui/gui_app.h"
#include "gui/icons.h"

namespace ombrix::editor {
namespace {

using gui::ControlRole;
using gui::ControlTemplate;

constexpr int kWidth = 240;
constexpr int kHeight = 150;
constexpr const char* kClipValues[] = {"InfoData", "WorkingData", "AskData"};
constexpr int kClipPictures[] = {gui::kIconInformation, gui::kIconWorking, gui::kIconQuestion};

constexpr const char* kCredits =
    "Ombrix v1.0e, image effects for 3D animation.\n"
    "Effect editor, render engine and filter plug-ins by Zorvex.\n"
    "Pictures other than Targa files are read through the UGIO converter.\n"
    "Copyright Zorvex. All rights reserved.";

const ControlTemplate kTemplateControls[] = {
    {kAboutTitle, ControlRole::kLabel, "Ombrix - Effect editor", 4, 38, 232, 11},
    {kAboutClip1, ControlRole::kLabel, "", 36, 54, 24, 22},
    {kAboutClip1 + 1, ControlRole::kLabel, "", 108, 54, 24, 22},
    {kAboutClip1 + 2, ControlRole::kLabel, "", 180, 54, 24, 22},
    {kAboutCredits, ControlRole::kLabel, kCredits, 8, 82, 224, 48, gui::kAniWrap},
    {kAboutClose, ControlRole::kActionButton, "OK", 92, 134, 56, 12},
};

}  // namespace

AboutWindow::AboutWindow(MainWindow* owner) : owner_(owner) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Create(owner, wxID_ANY, "About Ombrix", wxDefaultPosition, wxDefaultSize, wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU);
  SetFont(gui::DialogFont());
  SetClientSize(ConvertDialogToPixels(wxSize(kWidth, kHeight)));
  colours_ = gui::ReadColourSet();
  face_.SetBackground(colours_.background);
  gui::PlaceControls(this, kTemplateControls, colours_, face_, controls_);
  banner_rect_ = gui::DialogUnitsRect(this, 4, 4, kWidth - 8, 30);
  banner_ = BannerPicture(banner_rect_.GetSize());
  face_.AddPanel(gui::DialogUnitsRect(this, 2, 50, kWidth - 4, 82));
  for (int i = 0; i < 3; ++i) {
    gui::AniButton* still = controls_.Button(kAboutClip1 + i);
    still->SetFramePictures(gui::FallbackIconPictures(32));
    still->SetFrame(int16_t(kClipPictures[i]));
    clips_[i] = new wxAnimationCtrl(this, wxID_ANY, wxNullAnimation, still->GetPosition(), still->GetSize(),
                                    wxAC_DEFAULT_STYLE | wxAC_NO_AUTORESIZE);
    clips_[i]->SetBackgroundColour(gui::ToWxColour(colours_.background));
  }
}

void AboutWindow::Open() {
  for (int i = 0; i < 3; ++i) {
    playing_[i] = gui::PlayClip(clips_[i], ReadSetting(nullptr, kClipValues[i]));
    clips_[i]->Show(playing_[i]);
    controls_.Button(kAboutClip1 + i)->Show(!playing_[i]);
  }
  CentreOnParent();
  Show();
  Raise();
}

int AboutWindow::PlayingClips() const { return int(playing_[0]) + int(playing_[1]) + int(playing_[2]); }

void AboutWindow::Close() {
  for (wxAnimationCtrl* clip : clips_) clip->Stop();
  Hide();
  owner_->AboutClosed();
}

void AboutWindow::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  face_.Paint(dc, GetClientSize());
  dc.DrawBitmap(banner_, banner_rect_.GetPosition());
}

void AboutWindow::OnCloseButton(wxCommandEvent&) { Close(); }
void AboutWindow::OnClose(wxCloseEvent&) { Close(); }

void AboutWindow::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE || event.GetKeyCode() == WXK_RETURN) {
    Close();
    return;
  }
  event.Skip();
}

// clang-format off
wxBEGIN_EVENT_TABLE(AboutWindow, wxDialog)
  EVT_PAINT(AboutWindow::OnPaint)
  EVT_BUTTON(kAboutClose, AboutWindow::OnCloseButton)
  EVT_CLOSE(AboutWindow::OnClose)
  EVT_CHAR_HOOK(AboutWindow::OnCharHook)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::editor
