// Console queries and the SIGINT catcher, with POSIX calls.
#include "core/platform/console.h"

#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ombrix::platform {
namespace {

volatile sig_atomic_t g_interrupted = 0;
struct sigaction g_previous_action;
InterruptCatcher* g_active_catcher = nullptr;

bool NonEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

void OnInterrupt(int) {
  if (g_interrupted) {
    // Asked twice: give the signal back to whatever handled it before and deliver it again.
    sigaction(SIGINT, &g_previous_action, nullptr);
    raise(SIGINT);
    return;
  }
  g_interrupted = 1;
  // Pass the first Ctrl-C on to a handler installed before ours (the program that loaded this
  // module may watch the key too), so every watcher hears it.
  const auto previous = g_previous_action.sa_handler;
  if ((g_previous_action.sa_flags & SA_SIGINFO) == 0 && previous != SIG_DFL && previous != SIG_IGN &&
      previous != nullptr)
    previous(SIGINT);
}

}  // namespace

bool HeadlessSession() {
  const char* forced = std::getenv("OMBRIX_HEADLESS");
  if (forced != nullptr && std::strcmp(forced, "1") == 0) return true;
  return !NonEmpty("DISPLAY") && !NonEmpty("WAYLAND_DISPLAY");
}

int TerminalColumns() {
  winsize size{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  const char* columns = std::getenv("COLUMNS");
  if (columns != nullptr) {
    char* end = nullptr;
    const long value = std::strtol(columns, &end, 10);
    if (end != columns && *end == '\0' && value > 0 && value < 10000) return static_cast<int>(value);
  }
  return 80;
}

void WriteStandardError(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

void SoundBeep() {
  if (StandardErrorIsTerminal()) WriteStandardError("\a");
}

InterruptCatcher::InterruptCatcher() {
  if (g_active_catcher != nullptr) {
    // Take over the older catcher's installation; its destructor then restores nothing.
    g_active_catcher->installed_ = false;
    installed_ = true;
  } else {
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    installed_ = sigaction(SIGINT, &action, &g_previous_action) == 0;
  }
  g_interrupted = 0;
  g_active_catcher = this;
}

InterruptCatcher::~InterruptCatcher() {
  if (g_active_catcher == this) g_active_catcher = nullptr;
  if (installed_) sigaction(SIGINT, &g_previous_action, nullptr);
}

bool InterruptCatcher::Interrupted() const { return installed_ && g_interrupted != 0; }

}  // namespace ombrix::platform
