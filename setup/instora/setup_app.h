// The setup program with its windows: the backdrop over the whole screen, the wait window, the
// read-me, the licence, the options with the search for the renderer's folder, the installing
// window, and every message in the setup's message window.
#pragma once

#include <memory>

#include "gui/native_dialogs.h"
#include "setup/instora/command_line.h"
#include "setup/setup_sequence.h"

namespace ombrix::setup {

class BackdropWindow;
class InstallingWindow;
class WaitWindow;

// The toolkit's file and folder dialogs, and the setup's message window for every message.
class SetupDialogs : public gui::NativeDialogs {
 public:
  SetupDialogs();
};

class WindowedView : public SetupView {
 public:
  explicit WindowedView(BackdropWindow* backdrop);
  ~WindowedView() override;

  void ShowWait() override;
  void ShowBackdrop(const std::string& picture) override;
  void OpenReadme(const std::string& path) override;
  bool AcceptLicence() override;
  std::optional<SetupChoice> ChooseOptions() override;
  CopyObserver& BeginCopying() override;
  IntegrationReporter& Integration() override;
  void EndCopying() override;

 private:
  class MessageReporter : public IntegrationReporter {
   public:
    void Message(const std::string& caption, const std::string& text) override;
  };

  BackdropWindow* backdrop_;
  WaitWindow* wait_ = nullptr;
  InstallingWindow* installing_ = nullptr;
  MessageReporter messages_;
};

// Runs the setup with its windows; the exit status. The toolkit must have started.
int RunWindowedSetup(const SetupCommandLine& line);

}  // namespace ombrix::setup
