// Environment, directories, terminals and SIGINT with POSIX calls.
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
  const std::string state = GetEnvironment("XDG_STATE_HOME");
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
volatile std::sig_atomic_t g_interrupted = 0;
std::atomic<int> g_watchers{0};
struct sigaction g_previous {};

// Raises the flag and passes the signal on to a handler installed before ours (another module
// of the process watching the same key), so every watcher hears it.
void OnInterrupt(int signal_number) {
  g_interrupted = 1;
  const auto previous = g_previous.sa_handler;
  if ((g_previous.sa_flags & SA_SIGINFO) == 0 && previous != SIG_DFL && previous != SIG_IGN && previous != nullptr)
    previous(signal_number);
}
}  // namespace

void WatchInterrupt() {
  if (g_watchers++ > 0) return;
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &g_previous);
}

void StopWatchingInterrupt() {
  if (g_watchers.load() == 0 || --g_watchers > 0) return;
  sigaction(SIGINT, &g_previous, nullptr);
}

bool InterruptRequested() { return g_interrupted != 0; }
void ClearInterrupt() { g_interrupted = 0; }

}  // namespace ombrix::platform
