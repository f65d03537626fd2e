// The process's console: whether windows may open at all, whether standard error is a terminal
// and how wide it is, and a catcher that turns Ctrl-C into a cancel request.
#pragma once

#include <string_view>

#include "core/platform/environment.h"  // StandardErrorIsTerminal

namespace ombrix::platform {

// True when no window can or may be opened: OMBRIX_HEADLESS is "1", or neither DISPLAY nor
// WAYLAND_DISPLAY names a display.
bool HeadlessSession();

// Columns of the terminal on standard error; 80 when it cannot be told.
int TerminalColumns();
// Writes the bytes to standard error at once.
void WriteStandardError(std::string_view text);
// The system beep: the terminal's bell when standard error is a terminal, else nothing.
void SoundBeep();

// While an InterruptCatcher lives, SIGINT sets its flag instead of ending the process; a second
// SIGINT after the first ends it as before (so a program that no longer looks at the flag can
// still be stopped). The previous SIGINT action comes back when the catcher goes. One catcher at
// a time: a newer one takes over from an older one.
class InterruptCatcher {
 public:
  InterruptCatcher();
  ~InterruptCatcher();
  InterruptCatcher(const InterruptCatcher&) = delete;
  InterruptCatcher& operator=(const InterruptCatcher&) = delete;

  bool Interrupted() const;

 private:
  bool installed_ = false;
};

}  // namespace ombrix::platform
