// The message window.
#include "gui/message_window.h"

#include <wx/animate.h>
#include <wx/dcclient.h>
#include <wx/textwrapper.h>

#include "core/settings/settings.h"
#include "gui/ani_button.h"
#include "gui/gui_app.h"
#include "gui/icons.h"

namespace ombrix::gui {
namespace {

// Layout in dialog units.
constexpr int kWidth = 240;
constexpr int kTextLeft = 34;
constexpr int kTextWidth = kWidth - kTextLeft - 6;
constexpr int kMinTextHeight = 24;
constexpr int kMaxTextLines = 16;
constexpr int kButtonWidth = 56;
constexpr int kButtonHeight = 12;
constexpr int kIconPixels = 32;

class LineCounter : public wxTextWrapper {
 public:
  int lines = 0;

 protected:
  void OnOutputLine(const wxString&) override { ++lines; }
};

}  // namespace

MessageWindow::MessageWindow(wxWindow* parent, const MessageRequest& request) : question_(request.question) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Create(parent, wxID_ANY, FromAnsi(request.caption.c_str()), wxDefaultPosition, wxDefaultSize,
         wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU);
  SetFont(DialogFont());
  colours_ = ReadColourSet();
  face_.SetBackground(colours_.background);
  PlaceControls(FromAnsi(request.text.c_str()));
}

void MessageWindow::PlaceControls(const wxString& text) {
  // The text's height in dialog units: its wrapped lines at 8 units a line.
  const wxRect text_box = DialogUnitsRect(this, kTextLeft, 6, kTextWidth, 8);
  LineCounter counter;
  counter.Wrap(this, text, text_box.width - 3);
  const int lines = std::min(std::max(counter.lines, 1), kMaxTextLines);
  const int line_pixels = GetCharHeight();
  const int text_pixels = std::max(DialogUnitsRect(this, 0, 0, 1, kMinTextHeight).height, lines * line_pixels + 2);
  const int text_height = ConvertPixelsToDialog(wxSize(1, text_pixels)).y + 1;
  const int panel_height = text_height + 10;
  const int height = panel_height + kButtonHeight + 12;
  SetClientSize(ConvertDialogToPixels(wxSize(kWidth, height)));

  auto place = [this](int id, const wxString& label, int x, int y, int w, int h, long style) {
    const wxRect rect = DialogUnitsRect(this, x, y, w, h);
    return new AniButton(this, id, label, rect.GetPosition(), rect.GetSize(), style);
  };
  face_.AddPanel(DialogUnitsRect(this, 0, 0, kWidth, panel_height));
  face_.AddPanel(DialogUnitsRect(this, 0, panel_height, kWidth, height - panel_height));

  icon_ = place(kIcon, wxString(), 6, 6, 22, 20, 0);
  icon_->SetFramePictures(FallbackIconPictures(kIconPixels));
  icon_->SetFrame(question_ ? kIconQuestion : kIconInformation);
  icon_->SetBackColour(colours_.background);
  const wxRect clip_rect = DialogUnitsRect(this, 6, 6, 22, 20);
  clip_ = new wxAnimationCtrl(this, kClip, wxNullAnimation, clip_rect.GetPosition(), clip_rect.GetSize(),
                              wxAC_DEFAULT_STYLE | wxAC_NO_AUTORESIZE);
  clip_->SetBackgroundColour(ToWxColour(colours_.background));
  clip_in_use_ = PlayClip(clip_, ReadSetting(nullptr, question_ ? "AskData" : "InfoData"));
  icon_->Show(!clip_in_use_);
  clip_->Show(clip_in_use_);

  text_ = place(kText, text, kTextLeft, 6, kTextWidth, text_height, kAniAlignLeft | kAniWrap);
  WindowFace::ColourLabel(text_, colours_.background);

  const int button_y = panel_height + 6;
  if (question_) {
    const int gap = 12;
    const int left = (kWidth - 2 * kButtonWidth - gap) / 2;
    face_.AddButton(place(kYes, "Yes", left, button_y, kButtonWidth, kButtonHeight, 0), colours_.action_button);
    face_.AddButton(place(kNo, "No", left + kButtonWidth + gap, button_y, kButtonWidth, kButtonHeight, 0),
                    colours_.action_button);
  } else {
    face_.AddButton(place(kOk, "OK", (kWidth - kButtonWidth) / 2, button_y, kButtonWidth, kButtonHeight, 0),
                    colours_.action_button);
  }
}

int MessageWindow::Run() {
  CentreOnScreen();
  return ShowModal();
}

// Ends the modal loop once; a second answer before the loop has ended is ignored.
void MessageWindow::Finish(int result) {
  if (IsModal()) {
    EndModal(result);
  } else {
    SetReturnCode(result);
    Hide();
  }
}

void MessageWindow::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  face_.Paint(dc, GetClientSize());
  const wxRect corner = clip_in_use_ ? clip_->GetRect() : icon_->GetRect();
  DrawSunkenEdge(dc, wxRect(corner).Inflate(1), colours_.background);
}

void MessageWindow::OnButton(wxCommandEvent& event) {
  auto* button = dynamic_cast<AniButton*>(event.GetEventObject());
  if (button != nullptr) face_.SetPressed(button, true);
  Finish(event.GetId() == kNo ? 0 : 1);
}

void MessageWindow::OnCharHook(wxKeyEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_ESCAPE:
      Finish(0);
      return;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      Finish(1);
      return;
    default:
      event.Skip();
  }
}

void MessageWindow::OnClose(wxCloseEvent&) { Finish(0); }

// clang-format off
wxBEGIN_EVENT_TABLE(MessageWindow, wxDialog)
  EVT_PAINT(MessageWindow::OnPaint)
  EVT_BUTTON(kYes, MessageWindow::OnButton)
  EVT_BUTTON(kNo, MessageWindow::OnButton)
  EVT_BUTTON(kOk, MessageWindow::OnButton)
  EVT_CHAR_HOOK(MessageWindow::OnCharHook)
  EVT_CLOSE(MessageWindow::OnClose)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::gui
