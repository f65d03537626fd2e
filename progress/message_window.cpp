// The message window.
#include "progress/message_window.h"

#include <wx/animate.h>
#include <wx/dcclient.h>

#include <cstdio>

#include "core/settings/settings.h"
#include "gui/ani_button.h"
#include "gui/gui_app.h"
#include "gui/icons.h"

namespace ombrix::omout {
namespace {

enum ControlId {
  kUpperPanel = 1003,
  kLowerPanel = 1004,
  kMessage = 1005,
  kYes = 1006,
  kOk = 1007,
  kNo = 1008,
  kClip = 1010,
  kIcon = 1011,
};

constexpr int kIconPictureSize = 32;

// Callers keep their texts within the window's buffers; a longer text is cut at the buffer's
// end instead of running past it.
template <size_t N>
void CopyBounded(char (&buffer)[N], const char* text) {
  std::snprintf(buffer, N, "%s", text != nullptr ? text : "");
}

}  // namespace

MessageWindow::MessageWindow(const char* title, const char* text, int32_t kind) : question_(kind == 0) {
  CopyBounded(title_, title);
  CopyBounded(text_, text);
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Create(nullptr, wxID_ANY, "Ombrix - Message", wxDefaultPosition, wxDefaultSize,
         wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU);
  SetFont(gui::DialogFont());
  SetClientSize(ConvertDialogToPixels(wxSize(220, 57)));
  CreateControls();
  Initialise();
}

void MessageWindow::CreateControls() {
  auto control = [this](int id, const wxString& text, int x, int y, int w, int h, long style, bool shown) {
    const wxRect rect = gui::DialogUnitsRect(this, x, y, w, h);
    auto* button = new gui::AniButton(this, id, text, rect.GetPosition(), rect.GetSize(), style);
    button->Show(shown);
    return button;
  };
  icon_ = control(kIcon, wxString(), 4, 4, 21, 20, 0, true);
  icon_->SetFramePictures(gui::FallbackIconPictures(kIconPictureSize));
  const wxRect clip_rect = gui::DialogUnitsRect(this, 4, 4, 24, 20);
  clip_ = new wxAnimationCtrl(this, kClip, wxNullAnimation, clip_rect.GetPosition(), clip_rect.GetSize(),
                              wxAC_DEFAULT_STYLE | wxAC_NO_AUTORESIZE);
  message_ = control(kMessage, wxString(), 32, 4, 184, 32, gui::kAniAlignLeft | gui::kAniWrap, true);
  yes_ = control(kYes, "Yes", 4, 44, 68, 8, 0, false);
  ok_ = control(kOk, "OK", 76, 44, 68, 8, 0, false);
  no_ = control(kNo, "No", 148, 44, 68, 8, 0, false);
  panel_controls_[0] = control(kUpperPanel, wxString(), 0, 0, 220, 40, 0, false);
  panel_controls_[1] = control(kLowerPanel, wxString(), 0, 40, 220, 17, 0, false);
}

void MessageWindow::Initialise() {
  colours_ = gui::ReadColourSet();
  for (int i = 0; i < 2; ++i) panels_[i] = wxRect(panel_controls_[i]->GetRect()).Deflate(2);
  panels_[1].height += 1;

  auto set_up = [this](gui::AniButton* button, gui::ButtonRecord& record) {
    record = gui::MakeButtonRecord(button->GetRect(), colours_.action_button);
    button->SetBackColour(colours_.action_button);
    button->SetForeColour(gui::ButtonTextColour(colours_.action_button));
    button->Show();
  };
  if (question_) {
    set_up(yes_, affirmative_record_);
    set_up(no_, negative_record_);
  } else {
    set_up(ok_, affirmative_record_);
  }

  icon_->SetFrame(question_ ? gui::kIconQuestion : gui::kIconInformation);
  icon_->SetBackColour(colours_.background);
  animation_in_use_ = gui::PlayClip(clip_, ReadSetting(nullptr, question_ ? "AskData" : "InfoData", ""));
  icon_->Show(!animation_in_use_);
  clip_->Show(animation_in_use_);

  SetTitle(gui::FromAnsi(title_));
  message_->SetLabel(gui::FromAnsi(text_));
  message_->SetBackColour(colours_.background);
  message_->SetForeColour(gui::ButtonTextColour(colours_.background));
}

int32_t MessageWindow::Run() {
  CentreOnScreen();
  return ShowModal();
}

void MessageWindow::Press(gui::AniButton* button, gui::ButtonRecord& record, int32_t result) {
  record.pressed = true;
  if (button->BackColour() != record.lit) {
    button->SetBackColour(record.lit);
    RefreshRect(wxRect(record.rect).Inflate(1));
    Update();
  }
  Finish(result);
}

// Ends the modal loop once; a second answer before the loop has ended is ignored.
void MessageWindow::Finish(int32_t result) {
  if (IsModal()) EndModal(result);
}

void MessageWindow::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const gui::Colour background = colours_.background;
  gui::FillArea(dc, wxRect(GetClientSize()), background);
  for (const wxRect& panel : panels_) gui::DrawPanelFrame(dc, panel, background);
  const wxRect corner = animation_in_use_ ? clip_->GetRect() : icon_->GetRect();
  gui::DrawSunkenEdge(dc, wxRect(corner).Inflate(1), background);
  gui::DrawButtonFrame(dc, affirmative_record_);
  if (question_) gui::DrawButtonFrame(dc, negative_record_);
}

// Only the buttons this kind of message shows can answer it.
void MessageWindow::OnAffirmative(wxCommandEvent& event) {
  if (event.GetId() == (question_ ? kYes : kOk)) Press(question_ ? yes_ : ok_, affirmative_record_, 1);
}

void MessageWindow::OnNegative(wxCommandEvent&) {
  if (question_) Press(no_, negative_record_, 0);
}

// Enter is the platform's OK command (assent); Escape and the close box are its cancel command.
void MessageWindow::OnCharHook(wxKeyEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_ESCAPE:
      Finish(2);
      return;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      Finish(1);
      return;
    default:
      event.Skip();
  }
}

void MessageWindow::OnClose(wxCloseEvent&) { Finish(2); }

// clang-format off
wxBEGIN_EVENT_TABLE(MessageWindow, wxDialog)
  EVT_PAINT(MessageWindow::OnPaint)
  EVT_BUTTON(kYes, MessageWindow::OnAffirmative)
  EVT_BUTTON(kOk, MessageWindow::OnAffirmative)
  EVT_BUTTON(kNo, MessageWindow::OnNegative)
  EVT_CHAR_HOOK(MessageWindow::OnCharHook)
  EVT_CLOSE(MessageWindow::OnClose)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::omout
