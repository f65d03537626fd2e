// The installing window (template 129, "Installing..."): the action (1022), the object (1003),
// "To" (1002) and the second object (1004), a progress bar (1000) over the files of a folder and
// the larger clip (1040), played only the first time the window opens in a run.
#pragma once

#include "setup/component_copy.h"
#include "setup/instora/setup_face.h"
#include "setup/integration.h"

class wxGauge;

namespace ombrix::setup {

class InstallingWindow : public SetupDialog, public CopyObserver, public IntegrationReporter {
 public:
  enum ControlId { kBar = 1000, kTo = 1002, kObject = 1003, kSecondObject = 1004, kAction = 1022, kClip = 1040 };

  explicit InstallingWindow(wxWindow* parent);
  void Open();

  void SetRange(int count) override;
  void ShowFile(int index, const std::string& source, const std::string& target) override;
  void Step(const std::string& action, const std::string& object) override;
  void Message(const std::string& caption, const std::string& text) override;

 private:
  void RepaintNow();
  void OnClose(wxCloseEvent& event);

  wxGauge* bar_ = nullptr;
  inline static bool played_ = false;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::setup
