// Environment, directories, terminals and the interrupt signals with POSIX calls.
#include "core/platform/environment.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstdlib>

namespace ombrix::platform {

std::string GetEnvironment(const char* name) {
  const char* value = name != nullptr ? std::getenv(name) : nullptr;
  return value != nullptr ? value : "";
}

bool HasEnvironment(const char* name) { return name != nullptr && std::getenv(name) != nullptr; }

void SetEnvironment(const char* name, const std::string& value) { setenv(name, value.c_str(), 1); }

std::string CurrentDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "";
}

bool ChangeDirectory(const std::string& path) { return chdir(path.c_str()) == 0; }

std::string UserStateDirectory() {
  std::string state = GetEnvironment("XDG_STATE_HOME");
  if (!state.empty() && state[0] == '/') return state;
  return GetEnvironment("HOME") + "/.local/state";
}

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }
bool StandardInputIsTerminal() { return isatty(STDIN_FILENO) == 1; }

std::vector<std::string> ListDirectory(const std::string& path) {
  std::vector<std::string> names;
  ListDirectory(path, names);
  return names;
}

bool ListDirectory(const std::string& path, std::vector<std::string>& names) {
  names.clear();
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) return false;
  while (dirent* e = readdir(dir)) {
    const std::string name = e->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return true;
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {
// The key, and what a job scheduler sends when it cancels a job or its terminal goes away.
constexpr int kWatchedSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr size_t kWatchedCount = sizeof kWatchedSignals / sizeof kWatchedSignals[0];

volatile std::sig_atomic_t g_interrupted = 0;  // the first signal seen, 0 while none
std::atomic<int> g_watchers{0};
struct sigaction g_previous[kWatchedCount] {};

// Raises the flag and passes the signal on to a handler installed before ours (another module
// of the process watching the same key), so every watcher hears it.
void OnInterrupt(int signal_number) {
  if (g_interrupted == 0) g_interrupted = signal_number;
  for (size_t i = 0; i < kWatchedCount; ++i) {
    if (kWatchedSignals[i] != signal_number) continue;
    const auto previous = g_previous[i].sa_handler;
    if ((g_previous[i].sa_flags & SA_SIGINFO) == 0 && previous != SIG_DFL && previous != SIG_IGN && previous != nullptr)
      previous(signal_number);
  }
}
}  // namespace

void WatchInterrupt() {
  if (g_watchers++ > 0) return;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  for (size_t i = 0; i < kWatchedCount; ++i) sigaction(kWatchedSignals[i], &action, &g_previous[i]);
}

void StopWatchingInterrupt() {
  if (g_watchers.load() == 0 || --g_watchers > 0) return;
  for (size_t i = 0; i < kWatchedCount; ++i) sigaction(kWatchedSignals[i], &g_previous[i], nullptr);
}

bool InterruptRequested() { return g_interrupted != 0; }
int InterruptSignal() { return g_interrupted; }
void ClearInterrupt() { g_interrupted = 0; }

}  // namespace ombrix::platform
