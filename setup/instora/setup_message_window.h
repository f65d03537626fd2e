// The setup's message window (template 132, "Setup - Message"): a message beside the larger clip
// and up to three buttons, each shown only when it is given a caption: "&Yes" (1012), "&Ok"
// (1004) and "&No" (1005). The first and second answer 1, the third 0.
#pragma once

#include <array>
#include <string>

#include "gui/dialogs.h"
#include "setup/instora/setup_face.h"

namespace ombrix::setup {

class SetupMessageWindow : public SetupDialog {
 public:
  enum ControlId { kMessage = 1001, kFirst = 1012, kSecond = 1004, kThird = 1005, kClip = 1040 };

  // The buttons of a request: its own captions, else "Yes" and "No" for a question and "Ok" for
  // a message. The window's caption is the request's.
  static std::array<std::string, 3> ButtonCaptions(const gui::MessageRequest& request);

  SetupMessageWindow(wxWindow* parent, const gui::MessageRequest& request);
  int Run();

 private:
  void OnButton(wxCommandEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);

  int escape_answer_ = 0;
  int enter_id_ = kSecond;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::setup
