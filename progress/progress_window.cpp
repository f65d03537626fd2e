// The progress window.
#include "progress/progress_window.h"

#include <wx/animate.h>
#include <wx/dcclient.h>
#include <wx/gauge.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/settings/settings.h"
#include "gui/ani_button.h"
#include "gui/gui_app.h"
#include "gui/icons.h"

namespace ombrix::omout {
namespace {

enum ControlId {
  kBar1 = 1001,
  kBar2 = 1002,
  kUpperPanel = 1003,
  kMiddlePanel = 1004,
  kUpperLine = 1005,
  kLowerLine = 1006,
  kInfoArea = 1007,
  kCancel = 1008,
  kLowerPanel = 1009,
  kClip = 1010,
  kIcon = 1011,
};

constexpr int kIconPictureSize = 32;

// The longest the window waits for its first paint when it opens.
constexpr std::chrono::milliseconds kFirstPaintLimit(250);

}  // namespace

ProgressWindow::ProgressWindow() {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Create(nullptr, wxID_ANY, "Ombrix - Working...", wxDefaultPosition, wxDefaultSize,
         wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU);
  SetFont(gui::DialogFont());
  SetClientSize(ConvertDialogToPixels(wxSize(244, 100)));
  CreateControls();
  Initialise();
}

ProgressWindow::~ProgressWindow() = default;

// The controls of the template, at their places in dialog units, hidden where the template
// hides them.
void ProgressWindow::CreateControls() {
  auto at = [this](int x, int y, int w, int h) { return gui::DialogUnitsRect(this, x, y, w, h); };
  auto label = [this](int id, const wxString& text, wxRect rect, long style, bool shown) {
    auto* control = new gui::AniButton(this, id, text, rect.GetPosition(), rect.GetSize(), style);
    control->Show(shown);
    return control;
  };

  icon_ = label(kIcon, wxString(), at(4, 4, 21, 20), 0, true);
  icon_->SetFramePictures(gui::FallbackIconPictures(kIconPictureSize));
  icon_->SetFrame(gui::kIconWorking);
  const wxRect clip_rect = at(4, 4, 24, 20);
  clip_ = new wxAnimationCtrl(this, kClip, wxNullAnimation, clip_rect.GetPosition(), clip_rect.GetSize(),
                              wxAC_DEFAULT_STYLE | wxAC_NO_AUTORESIZE);
  upper_line_ = label(kUpperLine, "? ", at(32, 4, 208, 8), gui::kAniAlignLeft, true);
  const wxRect bar1_rect = at(32, 16, 208, 8);
  bar1_ = new wxGauge(this, kBar1, 100, bar1_rect.GetPosition(), bar1_rect.GetSize(), wxGA_HORIZONTAL | wxGA_SMOOTH);
  lower_line_ = label(kLowerLine, wxString(), at(4, 28, 236, 8), gui::kAniAlignLeft, true);
  const wxRect bar2_rect = at(4, 40, 236, 8);
  bar2_ = new wxGauge(this, kBar2, 100, bar2_rect.GetPosition(), bar2_rect.GetSize(), wxGA_HORIZONTAL | wxGA_SMOOTH);
  info_ = label(kInfoArea, "123", at(4, 56, 236, 24), gui::kAniAlignLeft | gui::kAniWrap, false);
  panel_controls_[0] = label(kUpperPanel, wxString(), at(0, 0, 244, 52), 0, false);
  panel_controls_[1] = label(kMiddlePanel, wxString(), at(0, 52, 244, 32), 0, false);
  panel_controls_[2] = label(kLowerPanel, wxString(), at(0, 84, 244, 16), 0, false);
  cancel_ = label(kCancel, "Cancel", at(75, 88, 93, 8), 0, false);
}

void ProgressWindow::Initialise() {
  colours_ = gui::ReadColourSet();
  continue_ = 1;

  for (int i = 0; i < 3; ++i) panels_[i] = panel_controls_[i]->GetRect();
  panels_[2].height += 1;
  cancel_record_ = gui::MakeButtonRecord(cancel_->GetRect(), colours_.action_button);

  cancel_->SetBackColour(colours_.action_button);
  cancel_->SetForeColour(gui::ButtonTextColour(colours_.action_button));
  cancel_->Show();

  info_frame_ = info_->GetRect();
  info_->SetSize(wxRect(info_frame_).Deflate(1));
  info_->Show();
  info_->SetBackColour(colours_.info_area);
  info_->SetForeColour(colours_.info_area_text);

  animation_in_use_ = gui::PlayClip(clip_, ReadSetting(nullptr, "WorkingData", ""));
  icon_->Show(!animation_in_use_);
  clip_->Show(animation_in_use_);
  icon_->SetBackColour(colours_.background);

  // The template leaves the lines' caption colour to the control; the rule that every other
  // label follows keeps them readable on any background.
  for (gui::AniButton* line : {upper_line_, lower_line_}) {
    line->SetBackColour(colours_.background);
    line->SetForeColour(gui::ButtonTextColour(colours_.background));
  }
}

void ProgressWindow::Open() {
  const wxSize screen = wxGetDisplaySize();
  const wxSize window = GetSize();
  Move(screen.x / 2 - window.x / 2, screen.y / 2 - window.y / 2);
  Show();
  disabler_ = std::make_unique<wxWindowDisabler>(this);
  Update();
  // The toolkit maps and exposes a new window asynchronously; give it a moment so that the window
  // is on the screen, painted, when the caller goes on with its work.
  const auto start = std::chrono::steady_clock::now();
  while (!painted_ && std::chrono::steady_clock::now() - start < kFirstPaintLimit) {
    gui::DispatchPendingEvents();
    if (!painted_) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void ProgressWindow::SetBarRange(int32_t bar, int32_t low, int32_t high) {
  if (bar != 1 && bar != 2) return;
  BarState& state = bars_[bar - 1];
  state.SetRange(low, high);
  wxGauge* gauge = bar == 1 ? bar1_ : bar2_;
  gauge->SetRange(std::max(0, state.High() - state.Low()));
  gauge->SetValue(std::max(0, state.Position() - state.Low()));
}

void ProgressWindow::SetBarPosition(int32_t bar, int32_t position) {
  if (bar != 1 && bar != 2) return;
  BarState& state = bars_[bar - 1];
  state.SetPosition(position);
  wxGauge* gauge = bar == 1 ? bar1_ : bar2_;
  const int value = std::max(0, state.Position() - state.Low());
  if (gauge->GetValue() != value) gauge->SetValue(value);
}

void ProgressWindow::SetTexts(const char* caption, const char* line1, const char* line2, const char* info) {
  if (caption != nullptr) SetTitle(gui::FromAnsi(caption));
  if (line1 != nullptr) upper_line_->SetLabel(gui::FromAnsi(line1));
  if (line2 != nullptr) lower_line_->SetLabel(gui::FromAnsi(line2));
  if (info != nullptr) info_->SetLabel(gui::FromAnsi(info));
}

// Show commands of the platform: 0 hides; 2, 6, 7 and 11 minimise; every other command shows the
// window, 1 and 9 bringing it back from the minimised state.
void ProgressWindow::ShowCommand(int32_t command) {
  switch (command) {
    case 0:
      Hide();
      return;
    case 2:
    case 6:
    case 7:
    case 11:
      Show();
      Iconize(true);
      return;
    case 1:
    case 9:
      if (IsIconized()) Iconize(false);
      break;
    default:
      break;
  }
  Show();
  Update();
}

void ProgressWindow::PressCancel() {
  cancel_record_.pressed = true;
  if (cancel_->BackColour() != cancel_record_.lit) {
    cancel_->SetBackColour(cancel_record_.lit);
    RefreshRect(wxRect(cancel_record_.rect).Inflate(1));
    Update();
  }
  continue_ = 0;
}

void ProgressWindow::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const gui::Colour background = colours_.background;
  gui::FillArea(dc, wxRect(GetClientSize()), background);
  for (const wxRect& panel : panels_) gui::DrawPanelFrame(dc, panel, background);
  const wxRect corner = animation_in_use_ ? clip_->GetRect() : icon_->GetRect();
  gui::DrawSunkenEdge(dc, wxRect(corner).Inflate(1), background);
  gui::DrawButtonFrame(dc, cancel_record_);
  gui::DrawSunkenEdge(dc, info_frame_, background);
  painted_ = true;
}

void ProgressWindow::OnCancel(wxCommandEvent&) { PressCancel(); }

void ProgressWindow::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE) {
    PressCancel();
    return;
  }
  event.Skip();
}

// The close box asks for the same as Cancel: the render stops, and the window stays until the
// caller closes it.
void ProgressWindow::OnClose(wxCloseEvent& event) {
  if (event.CanVeto()) event.Veto();
  PressCancel();
}

WindowProgress::WindowProgress() : window_(new ProgressWindow) { window_->Open(); }

WindowProgress::~WindowProgress() {
  window_->Hide();
  // Destroyed at once rather than at the next idle time: a host without an event loop may never
  // have one.
  delete window_;
}

void WindowProgress::InitRange(int32_t bar, int32_t low, int32_t high) { window_->SetBarRange(bar, low, high); }

void WindowProgress::SetTexts(const char* caption, const char* line1, const char* line2, const char* info) {
  window_->SetTexts(caption, line1, line2, info);
}

void WindowProgress::Show(int32_t command) { window_->ShowCommand(command); }

int32_t WindowProgress::Update(int32_t bar, int32_t position) {
  window_->SetBarPosition(bar, position);
  gui::DispatchPendingEvents();
  return window_->ContinueFlag();
}

// clang-format off
wxBEGIN_EVENT_TABLE(ProgressWindow, wxDialog)
  EVT_PAINT(ProgressWindow::OnPaint)
  EVT_BUTTON(kCancel, ProgressWindow::OnCancel)
  EVT_CHAR_HOOK(ProgressWindow::OnCharHook)
  EVT_CLOSE(ProgressWindow::OnClose)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::omout
