// The uninstaller's window.
#include "setup/uninstaller/uninstall_window.h"

#include <wx/dcclient.h>
#include <wx/gauge.h>
#include <wx/msgdlg.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "gui/ani_button.h"
#include "gui/frames.h"
#include "gui/gui_app.h"
#include "gui/icons.h"

namespace ombrix::setup {
namespace {

enum ControlId {
  kProgressBar = 1000,
  kActionLabel = 1001,
  kObjectLabel = 1002,
  kIcon = 1003,
};

// The longest the window waits for its first paint when it opens.
constexpr std::chrono::milliseconds kFirstPaintLimit(250);

// Paths are the file system's bytes, which are UTF-8 on this platform; other bytes are read as
// Windows-1252 like every other text.
wxString PathText(std::string_view text) {
  const std::string bytes(text);
  const wxString utf8 = wxString::FromUTF8(bytes.c_str());
  return !utf8.empty() || bytes.empty() ? utf8 : gui::FromAnsi(bytes.c_str());
}

}  // namespace

UninstallWindow::UninstallWindow() {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Create(nullptr, wxID_ANY, kUninstallCaption, wxDefaultPosition, wxDefaultSize,
         wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxDIALOG_NO_PARENT);
  SetFont(gui::DialogFont());
  SetClientSize(ConvertDialogToPixels(wxSize(232, 55)));
  CreateControls();
}

void UninstallWindow::CreateControls() {
  colours_ = gui::ReadColourSet();
  auto label = [this](int id, wxRect rect, long style) {
    auto* control = new gui::AniButton(this, id, wxString(), rect.GetPosition(), rect.GetSize(), style);
    control->SetBackColour(colours_.background);
    control->SetForeColour(gui::ButtonTextColour(colours_.background));
    return control;
  };
  const wxRect icon_rect = gui::DialogUnitsRect(this, 4, 4, 18, 20);
  icon_ = label(kIcon, icon_rect, 0);
  icon_->SetFramePictures(gui::FallbackIconPictures(std::min(icon_rect.width, icon_rect.height) - 2));
  icon_->SetFrame(gui::kIconWorking);
  action_ = label(kActionLabel, gui::DialogUnitsRect(this, 32, 4, 196, 12), gui::kAniAlignLeft);
  object_ = label(kObjectLabel, gui::DialogUnitsRect(this, 40, 16, 184, 20), gui::kAniAlignLeft | gui::kAniWrap);
  const wxRect bar_rect = gui::DialogUnitsRect(this, 4, 36, 224, 12);
  bar_ =
      new wxGauge(this, kProgressBar, 100, bar_rect.GetPosition(), bar_rect.GetSize(), wxGA_HORIZONTAL | wxGA_SMOOTH);
  bar_->SetValue(0);
}

void UninstallWindow::Open() {
  CentreOnScreen();
  Show();
  Update();
  const auto start = std::chrono::steady_clock::now();
  while (!painted_ && std::chrono::steady_clock::now() - start < kFirstPaintLimit) {
    gui::DispatchPendingEvents();
    if (!painted_) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void UninstallWindow::SetRange(int count) {
  bar_->SetRange(std::max(count, 1));
  bar_->SetValue(0);
  RepaintNow();
}

void UninstallWindow::ShowStep(int position, const char* action, std::string_view object) {
  bar_->SetValue(std::clamp(position, 0, bar_->GetRange()));
  if (action != nullptr) {
    action_->SetLabel(gui::FromAnsi(action));
    object_->SetLabel(PathText(object));
  }
  RepaintNow();
}

// The removal runs without an event loop: the window repaints what changed before going on.
void UninstallWindow::RepaintNow() {
  Update();
  gui::DispatchPendingEvents();
}

void UninstallWindow::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxRect client(GetClientSize());
  gui::FillArea(dc, client, colours_.background);
  // One panel, framed like the panels of the other windows, with the icon sunk into it.
  gui::DrawPanelFrame(dc, client, colours_.background);
  gui::DrawSunkenEdge(dc, wxRect(icon_->GetRect()).Inflate(1), colours_.background);
  painted_ = true;
}

// The removal is not interrupted halfway: the close box does nothing while it runs.
void UninstallWindow::OnClose(wxCloseEvent& event) {
  if (event.CanVeto()) event.Veto();
}

void WindowDisplay::NativeErrorBox(wxWindow* owner, const std::string& caption, const std::string& text,
                                   const std::string& detail) {
  wxMessageDialog box(owner, PathText(text), gui::FromAnsi(caption.c_str()), wxOK | wxICON_ERROR | wxCENTRE);
  if (!detail.empty()) box.SetExtendedMessage(PathText(detail));
  box.ShowModal();
}

WindowDisplay::WindowDisplay(ErrorBox error_box) : error_box_(std::move(error_box)), window_(new UninstallWindow) {
  window_->Open();
}

WindowDisplay::~WindowDisplay() {
  window_->Hide();
  // Destroyed at once: the program ends without running an event loop.
  delete window_;
}

void WindowDisplay::ShowError(const std::string& caption, const std::string& text, const std::string& detail) {
  if (error_box_) error_box_(window_, caption, text, detail);
}

void WindowDisplay::Begin(const std::string& caption, int count) {
  window_->SetTitle(gui::FromAnsi(caption.c_str()));
  window_->SetRange(count);
}

void WindowDisplay::BeforeRemoval(int position, const char* action, std::string_view object) {
  window_->ShowStep(position, action, object);
}

// clang-format off
wxBEGIN_EVENT_TABLE(UninstallWindow, wxDialog)
  EVT_PAINT(UninstallWindow::OnPaint)
  EVT_CLOSE(UninstallWindow::OnClose)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::setup
