// The uninstaller without a window: a progress line redrawn in place on standard error when that
// is a terminal, and errors as "caption: text" on standard error.
#pragma once

#include <string>

#include "setup/uninstaller.h"

namespace ombrix::setup {

// "[#####.....]  50% Removing File /path" in at most columns - 1 characters, a long path
// shortened to "..." and its end; control characters of the texts become blanks so that the
// line stays one line.
std::string FormatRemovalLine(int position, int count, const std::string& action, const std::string& object,
                              int columns);

class TerminalDisplay : public UninstallerDisplay {
 public:
  TerminalDisplay();
  ~TerminalDisplay() override;

  void ShowError(const std::string& caption, const std::string& text, const std::string& detail) override;
  void Begin(const std::string& caption, int count) override;
  void BeforeRemoval(int position, const char* action, std::string_view object) override;

 private:
  const bool terminal_;
  int count_ = 0;
  std::string action_;
  std::string object_;
  bool drawn_ = false;
};

}  // namespace ombrix::setup
