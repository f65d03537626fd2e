// The setup's message window.
#include "setup/instora/setup_message_window.h"

#include <wx/textwrapper.h>

#include <vector>

#include "gui/ani_button.h"
#include "gui/gui_app.h"

namespace ombrix::setup {
namespace {

using gui::ControlRole;

constexpr int kWidth = 220;
constexpr int kTextLeft = 46;
constexpr int kTextWidth = kWidth - kTextLeft - 6;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 13;

class LineCounter : public wxTextWrapper {
 public:
  int lines = 0;

 protected:
  void OnOutputLine(const wxString&) override { ++lines; }
};

std::string ButtonCaption(const std::string& caption) {
  // The captions the setup passes read "Ok" or "Cancel"; their shortcut is the first letter.
  return caption.find('&') == std::string::npos ? "&" + caption : caption;
}

}  // namespace

std::array<std::string, 3> SetupMessageWindow::ButtonCaptions(const gui::MessageRequest& request) {
  std::array<std::string, 3> captions;
  if (!request.buttons.empty()) {
    for (size_t i = 0; i < captions.size() && i < request.buttons.size(); ++i) captions[i] = request.buttons[i];
  } else if (request.question) {
    captions = {"Yes", "", "No"};
  } else {
    captions = {"", "Ok", ""};
  }
  return captions;
}

SetupMessageWindow::SetupMessageWindow(wxWindow* parent, const gui::MessageRequest& request) {
  CreateDialog(parent, request.caption, kWidth, 60, wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU);
  const wxString text = gui::FromAnsi(request.text.c_str());
  LineCounter counter;
  counter.Wrap(this, text, gui::DialogUnitsRect(this, 0, 0, kTextWidth, 8).width - 3);
  const int lines = std::min(std::max(counter.lines, 1), 16);
  const int text_height = std::max(32, ConvertPixelsToDialog(wxSize(1, lines * GetCharHeight() + 2)).y + 1);
  const int panel_height = text_height + 12;
  const int height = panel_height + kButtonHeight + 12;
  SetClientSize(ConvertDialogToPixels(wxSize(kWidth, height)));
  face_.AddPanel(gui::DialogUnitsRect(this, 0, 0, kWidth, panel_height));
  face_.AddPanel(gui::DialogUnitsRect(this, 0, panel_height, kWidth, height - panel_height));

  const std::array<std::string, 3> captions = ButtonCaptions(request);
  const int ids[3] = {kFirst, kSecond, kThird};
  std::vector<std::string> shown;
  std::vector<int> shown_ids;
  for (size_t i = 0; i < 3; ++i) {
    if (captions[i].empty()) continue;
    shown.push_back(ButtonCaption(captions[i]));
    shown_ids.push_back(ids[i]);
  }
  std::vector<gui::ControlTemplate> t = {
      {kMessage, ControlRole::kLabel, "", kTextLeft, 6, kTextWidth, text_height, gui::kAniAlignLeft | gui::kAniWrap}};
  const int gap = 10;
  const int row = static_cast<int>(shown.size()) * kButtonWidth + (static_cast<int>(shown.size()) - 1) * gap;
  for (size_t i = 0; i < shown.size(); ++i) {
    t.push_back({shown_ids[i], ControlRole::kActionButton, shown[i].c_str(),
                 (kWidth - row) / 2 + static_cast<int>(i) * (kButtonWidth + gap), panel_height + 6, kButtonWidth,
                 kButtonHeight, gui::kAniMnemonic});
  }
  gui::PlaceControls(this, t, colours_, face_, controls_);
  controls_.Button(kMessage)->SetLabel(text);
  PlaceClip(this, kClip, 6, 6, 34, 32, LargerClipPath(), colours_.background);
  // Escape answers as the last button does; Enter as the first shown.
  escape_answer_ = captions[2].empty() ? 1 : 0;
  enter_id_ = shown_ids.empty() ? kSecond : shown_ids.front();
  if (shown.empty()) escape_answer_ = 1;
}

int SetupMessageWindow::Run() {
  CentreOnScreen();
  return ShowModal();
}

void SetupMessageWindow::OnButton(wxCommandEvent& event) { Finish(event.GetId() == kThird ? 0 : 1); }

void SetupMessageWindow::OnCharHook(wxKeyEvent& event) {
  switch (event.GetKeyCode()) {
    case WXK_ESCAPE:
      Finish(escape_answer_);
      return;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
      Finish(enter_id_ == kThird ? 0 : 1);
      return;
    default:
      break;
  }
  std::vector<gui::ControlTemplate> buttons;
  for (const int id : {kFirst, kSecond, kThird})
    if (controls_.Button(id) != nullptr) buttons.push_back({id, ControlRole::kActionButton, "", 0, 0, 0, 0});
  if (!PressShortcut(this, event, buttons, controls_)) event.Skip();
}

void SetupMessageWindow::OnClose(wxCloseEvent&) { Finish(escape_answer_); }

// clang-format off
wxBEGIN_EVENT_TABLE(SetupMessageWindow, wxDialog)
  EVT_PAINT(SetupMessageWindow::PaintFace)
  EVT_BUTTON(kFirst, SetupMessageWindow::OnButton)
  EVT_BUTTON(kSecond, SetupMessageWindow::OnButton)
  EVT_BUTTON(kThird, SetupMessageWindow::OnButton)
  EVT_CHAR_HOOK(SetupMessageWindow::OnCharHook)
  EVT_CLOSE(SetupMessageWindow::OnClose)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::setup
