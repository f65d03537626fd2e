// The licence agreement (template 138, "Ombrix - License"): the agreement in a read-only text
// (1020), "&I agree" (ends with 1), which answers only once the text has been shown to its end,
// and "&Quit" (ends with 0).
#pragma once

#include <wx/timer.h>

#include <string>

#include "setup/instora/setup_face.h"

class wxTextCtrl;

namespace ombrix::setup {

// The agreement's paragraphs, one after another with an empty line between them.
std::string LicenceText();

class LicenceWindow : public SetupDialog {
 public:
  enum ControlId { kText = 1020, kAgree = 1, kQuit = 2, kNotice = 1021 };
  inline static const char* const kNoticeText = "You must read this license up to the end to continue";

  explicit LicenceWindow(wxWindow* parent);
  int Run();
  // Whether the end of the text has been in view.
  bool ReadToEnd() const { return read_to_end_; }
  void CheckReadToEnd();

 private:
  void OnAgree(wxCommandEvent& event);
  void OnQuit(wxCommandEvent& event);
  void OnTimer(wxTimerEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnClose(wxCloseEvent& event);

  wxTextCtrl* text_ = nullptr;
  wxTimer timer_;
  bool read_to_end_ = false;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::setup
