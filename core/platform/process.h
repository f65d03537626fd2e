// Starting other programs and waiting for them while the caller's windows stay responsive.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ombrix::platform {

// Called again and again while a wait lasts; a GUI passes its event-loop yield so its windows
// keep being painted. An empty function means there is nothing to pump (headless callers).
using Pump = std::function<void()>;

// The event-loop yield of the program this code runs in: a GUI program exports it with C linkage
// as `void Ombrix_Event_Pump(void)` (link with -rdynamic), beside its message box handler, so
// that modules without windows of their own can keep its windows alive while they wait. Empty
// in a program that exports none.
Pump HostEventPump();

struct StartRequest {
  std::string program;                 // path of the program; without a '/' it is looked up in PATH
  std::vector<std::string> arguments;  // arguments after the program name, passed as they are
  std::string working_directory;       // empty: the caller's own
};

class Process {
 public:
  Process() = default;
  ~Process() = default;  // a process still running is left running; only the handle goes
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Starts the program with the standard input, output and error of the caller and no other
  // open descriptors. False when it cannot be started (missing, not executable, bad folder).
  // With an output file, the program's standard output and error both go to that file, created
  // or emptied first.
  bool Start(const StartRequest& request, const std::string& output_file = {});
  bool IsStarted() const { return id_ > 0; }

  // Waits until the process has ended, calling pump between short sleeps. A timeout in
  // milliseconds below 0 waits for ever. True once the process has ended (also when it had
  // ended before); false on timeout or when nothing was started.
  bool Wait(const Pump& pump = {}, int timeout_ms = -1);
  // Asks a running process to stop (SIGTERM) and, if it has not ended after grace_ms, kills it;
  // then reaps it.
  void Terminate(int grace_ms = 500);

  // After Wait succeeded: whether the program ended by returning from main or calling exit,
  // its exit status, and the signal that ended it otherwise (0 when none).
  bool ExitedNormally() const { return exited_ && signal_ == 0; }
  int ExitCode() const { return exit_code_; }
  int TerminatingSignal() const { return signal_; }

 private:
  bool Poll();
  int id_ = 0;
  bool exited_ = false;
  int exit_code_ = -1;
  int signal_ = 0;
};

// Caps the calling process's own address space (bytes, 0 for no cap) and processor time
// (seconds, 0 for no cap), so that a tool fed a hostile file ends instead of exhausting the
// machine. Returns false when a cap could not be set.
bool LimitOwnResources(unsigned long long address_space_bytes, unsigned cpu_seconds);

}  // namespace ombrix::platform
