// The setup without windows: the licence accepted on the command line, every component, the
// folders given, and each step printed on standard output (messages on standard error).
#pragma once

#include "setup/instora/command_line.h"
#include "setup/setup_sequence.h"

namespace ombrix::setup {

class UnattendedView : public SetupView, public CopyObserver, public IntegrationReporter {
 public:
  UnattendedView(const SetupCommandLine& line, DiskSpaceQuery disk_space, gui::Dialogs& dialogs);

  bool AcceptLicence() override { return true; }
  std::optional<SetupChoice> ChooseOptions() override;
  CopyObserver& BeginCopying() override { return *this; }
  IntegrationReporter& Integration() override { return *this; }

  void ShowFile(int index, const std::string& source, const std::string& target) override;
  void Step(const std::string& action, const std::string& object) override;
  void Message(const std::string& caption, const std::string& text) override;

 private:
  SetupCommandLine line_;
  DiskSpaceQuery disk_space_;
  gui::Dialogs& dialogs_;
};

// Runs the whole setup without windows; the exit status.
int RunUnattendedSetup(const SetupCommandLine& line);

}  // namespace ombrix::setup
