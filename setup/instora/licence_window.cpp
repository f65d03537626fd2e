// The licence agreement.
#include "setup/instora/licence_window.h"

#include <wx/textctrl.h>

#include "gui/ani_button.h"
#include "gui/frames.h"
#include "gui/gui_app.h"

namespace ombrix::setup {
namespace {

using gui::ControlRole;
using gui::ControlTemplate;

constexpr int kWidth = 260;
constexpr int kHeight = 190;
constexpr int kTimerId = 1;

constexpr const char* kParagraphs[] = {
    "OMBRIX LICENCE AGREEMENT",
    "Please read this agreement carefully before installing Ombrix. By choosing \"I agree\" you accept "
    "its terms; if you do not accept them, choose \"Quit\" and nothing will be installed.",
    "1. Licence. Zorvex grants you a non-exclusive, non-transferable licence to install and use Ombrix, "
    "its editor, its image-filter module, its filter plug-ins, its help files, pictures and examples "
    "(together \"the software\") on the computers of one studio, including the nodes of its render farm.",
    "2. Your effects. The effect scripts you write with the software and the pictures and animations you "
    "render with it are yours. The example effects and pictures shipped with the software may be used in "
    "your own work.",
    "3. Restrictions. You may not sell, rent or lend the software, nor pass it on except as a whole with "
    "this agreement. You may not remove the notices of ownership from the software.",
    "4. Copies. You may make copies of the distribution medium for backup and for installing on the "
    "computers this licence covers.",
    "5. No warranty. The software is provided as it is, without any warranty, express or implied, "
    "including the warranties of merchantability and fitness for a particular purpose. The whole risk of "
    "its quality and performance is yours.",
    "6. Limitation of liability. In no event shall Zorvex be liable for any damages, including lost "
    "profits, lost data or other incidental or consequential damages, arising out of the use of or the "
    "inability to use the software, even if Zorvex has been told of their possibility.",
    "7. Ending. This licence lasts until it is ended. It ends at once if you fail to keep to its terms; "
    "you must then remove every copy of the software. The uninstaller takes the installation away.",
    "8. Whole agreement. This is the whole agreement between you and Zorvex about the software.",
    "Ombrix (c) Zorvex. All rights reserved.",
};

const ControlTemplate kTemplate[] = {
    {LicenceWindow::kNotice, ControlRole::kLabel, LicenceWindow::kNoticeText, 6, 152, 248, 10},
    {LicenceWindow::kAgree, ControlRole::kActionButton, "&I agree", 70, 170, 56, 13, gui::kAniMnemonic},
    {LicenceWindow::kQuit, ControlRole::kActionButton, "&Quit", 134, 170, 56, 13, gui::kAniMnemonic},
};

}  // namespace

std::string LicenceText() {
  std::string text;
  for (const char* paragraph : kParagraphs) {
    if (!text.empty()) text += "\n\n";
    text += paragraph;
  }
  return text;
}

LicenceWindow::LicenceWindow(wxWindow* parent) : timer_(this, kTimerId) {
  CreateDialog(parent, "Ombrix - License", kWidth, kHeight, wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU);
  face_.AddPanel(gui::DialogUnitsRect(this, 0, 0, kWidth, 164));
  face_.AddPanel(gui::DialogUnitsRect(this, 0, 164, kWidth, kHeight - 164));
  const wxRect rect = gui::DialogUnitsRect(this, 6, 6, 248, 142);
  text_ = new wxTextCtrl(this, kText, gui::FromAnsi(LicenceText().c_str()), rect.GetPosition(), rect.GetSize(),
                         wxTE_MULTILINE | wxTE_READONLY | wxTE_WORDWRAP);
  text_->SetBackgroundColour(gui::ToWxColour(colours_.edit_area));
  text_->SetForegroundColour(gui::ToWxColour(colours_.edit_text));
  gui::PlaceControls(this, kTemplate, colours_, face_, controls_);
  EnableButton(controls_.Button(kAgree), false, colours_.action_button);
}

int LicenceWindow::Run() {
  CentreOnScreen();
  text_->SetFocus();
  text_->SetInsertionPoint(0);
  text_->ShowPosition(0);
  timer_.Start(100);
  const int result = ShowModal();
  timer_.Stop();
  return result;
}

void LicenceWindow::CheckReadToEnd() {
  if (read_to_end_) return;
  // The end is read once the last character lies inside the text's visible area.
  const wxPoint end = text_->PositionToCoords(text_->GetLastPosition());
  bool visible =
      end != wxDefaultPosition && end.y >= 0 && end.y + text_->GetCharHeight() <= text_->GetClientSize().y + 2;
  if (end == wxDefaultPosition) {
    const int range = text_->GetScrollRange(wxVERTICAL);
    visible = range <= 0 || text_->GetScrollPos(wxVERTICAL) + text_->GetScrollThumb(wxVERTICAL) >= range;
  }
  if (!visible) return;
  read_to_end_ = true;
  EnableButton(controls_.Button(kAgree), true, colours_.action_button);
}

void LicenceWindow::OnAgree(wxCommandEvent&) {
  CheckReadToEnd();
  if (read_to_end_) Finish(1);
}

void LicenceWindow::OnQuit(wxCommandEvent&) { Finish(0); }

void LicenceWindow::OnTimer(wxTimerEvent&) { CheckReadToEnd(); }

void LicenceWindow::OnCharHook(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE) {
    Finish(0);
    return;
  }
  if (!PressShortcut(this, event, kTemplate, controls_)) event.Skip();
}

void LicenceWindow::OnClose(wxCloseEvent&) { Finish(0); }

// clang-format off
wxBEGIN_EVENT_TABLE(LicenceWindow, wxDialog)
  EVT_PAINT(LicenceWindow::PaintFace)
  EVT_BUTTON(LicenceWindow::kAgree, LicenceWindow::OnAgree)
  EVT_BUTTON(LicenceWindow::kQuit, LicenceWindow::OnQuit)
  EVT_TIMER(kTimerId, LicenceWindow::OnTimer)
  EVT_CHAR_HOOK(LicenceWindow::OnCharHook)
  EVT_CLOSE(LicenceWindow::OnClose)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::setup
