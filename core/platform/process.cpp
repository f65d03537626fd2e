// Processes on POSIX: posix_spawn with an argument vector, and a polling wait that pumps.
#include "core/platform/process.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <utility>

extern char** environ;

namespace ombrix::platform {
namespace {

void Sleep(long milliseconds) {
  const timespec pause{milliseconds / 1000, (milliseconds % 1000) * 1'000'000};
  nanosleep(&pause, nullptr);
}

}  // namespace

Process::Process(Process&& other) noexcept { *this = std::move(other); }

Process& Process::operator=(Process&& other) noexcept {
  id_ = other.id_;
  exited_ = other.exited_;
  exit_code_ = other.exit_code_;
  signal_ = other.signal_;
  other.id_ = 0;
  other.exited_ = false;
  return *this;
}

bool Process::Start(const StartRequest& request, const std::string& output_file) {
  if (request.program.empty() || IsStarted()) return false;
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(request.program.c_str()));
  for (const std::string& argument : request.arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  if (posix_spawn_file_actions_init(&actions) != 0) return false;
  if (posix_spawnattr_init(&attributes) != 0) {
    posix_spawn_file_actions_destroy(&actions);
    return false;
  }
  bool prepared = true;
  // No handles of ours reach the child beyond the three standard ones.
  prepared = prepared && posix_spawn_file_actions_addclosefrom_np(&actions, 3) == 0;
  if (!output_file.empty())
    prepared =
        prepared &&
        posix_spawn_file_actions_addopen(&actions, 1, output_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644) == 0 &&
        posix_spawn_file_actions_adddup2(&actions, 1, 2) == 0;
  if (!request.working_directory.empty())
    prepared = prepared && posix_spawn_file_actions_addchdir_np(&actions, request.working_directory.c_str()) == 0;
  // The child starts with no blocked signals and the default action for SIGPIPE, whatever the
  // host has set up for itself.
  sigset_t empty, defaults;
  sigemptyset(&empty);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  prepared = prepared && posix_spawnattr_setsigmask(&attributes, &empty) == 0 &&
             posix_spawnattr_setsigdefault(&attributes, &defaults) == 0 &&
             posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;

  pid_t pid = 0;
  int result = EINVAL;
  if (prepared) {
    const bool search = request.program.find('/') == std::string::npos;
    result = search ? posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ)
                    : posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  }
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (result != 0) return false;
  id_ = pid;
  exited_ = false;
  exit_code_ = -1;
  signal_ = 0;
  return true;
}

bool Process::Poll() {
  if (exited_) return true;
  int status = 0;
  const pid_t done = waitpid(id_, &status, WNOHANG);
  if (done == id_) {
    exited_ = true;
    if (WIFEXITED(status)) {
      exit_code_ = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
      signal_ = WTERMSIG(status);
    }
    return true;
  }
  if (done < 0 && errno == ECHILD) {
    // Reaped elsewhere (a host that ignores SIGCHLD): it has ended, how is unknown.
    exited_ = true;
    return true;
  }
  return false;
}

Pump HostEventPump() {
  using EventPump = void (*)();
  auto pump = reinterpret_cast<EventPump>(dlsym(RTLD_DEFAULT, "Ombrix_Event_Pump"));
  if (pump == nullptr) return {};
  return [pump] { pump(); };
}

bool Process::Wait(const Pump& pump, int timeout_ms) {
  if (!IsStarted()) return false;
  const auto start = std::chrono::steady_clock::now();
  long pause = 1;
  while (!Poll()) {
    if (pump) pump();
    if (timeout_ms >= 0 && std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(timeout_ms))
      return false;
    Sleep(pause);
    // Short at first, so a quick child costs little latency; then gentler on the processor.
    if (pause < 10) pause *= 2;
  }
  return true;
}

void Process::Terminate(int grace_ms) {
  if (!IsStarted() || Poll()) return;
  kill(id_, SIGTERM);
  if (Wait({}, grace_ms)) return;
  kill(id_, SIGKILL);
  Wait();
}

bool LimitOwnResources(unsigned long long address_space_bytes, unsigned cpu_seconds) {
  // A cap may only be lowered here: never above the hard limit already in force.
  auto lower = [](int resource, rlim_t soft, rlim_t hard) {
    rlimit current{};
    if (getrlimit(resource, &current) != 0) return false;
    if (current.rlim_max != RLIM_INFINITY) {
      if (soft > current.rlim_max) soft = current.rlim_max;
      if (hard > current.rlim_max) hard = current.rlim_max;
    }
    const rlimit limit{soft, hard};
    return setrlimit(resource, &limit) == 0;
  };
  bool ok = true;
  if (address_space_bytes > 0) ok = lower(RLIMIT_AS, address_space_bytes, address_space_bytes) && ok;
  // The soft processor limit sends SIGXCPU; the hard one, a second later, kills.
  if (cpu_seconds > 0) ok = lower(RLIMIT_CPU, cpu_seconds, rlim_t(cpu_seconds) + 1) && ok;
  return ok;
}

}  // namespace ombrix::platform
