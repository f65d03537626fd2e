// The process environment: variables, the current directory, terminals, directory listings and
// the interrupt key (SIGINT).
#pragma once

#include <string>
#include <vector>

namespace ombrix::platform {

// The variable's value, or empty when it is unset.
std::string GetEnvironment(const char* name);
bool HasEnvironment(const char* name);
void SetEnvironment(const char* name, const std::string& value);

std::string CurrentDirectory();
bool ChangeDirectory(const std::string& path);

// The user's folder for state worth keeping between runs (logs): $XDG_STATE_HOME when it is an
// absolute path, else $HOME/.local/state.
std::string UserStateDirectory();

// True when standard error is a terminal.
bool StandardErrorIsTerminal();
// True when standard input is a terminal (someone could answer a question).
bool StandardInputIsTerminal();

// Names of the entries of a directory (without "." and ".."), sorted; empty when unreadable.
std::vector<std::string> ListDirectory(const std::string& path);
// The same, telling an unreadable directory (false) from an empty one.
bool ListDirectory(const std::string& path, std::vector<std::string>& names);
bool IsDirectory(const std::string& path);

// Interrupts: while watched, SIGINT (the key), SIGTERM and SIGHUP (what a job scheduler sends
// to cancel a job) only raise a flag that long work polls; the previous handlers come back when
// the last watcher stops.
void WatchInterrupt();
void StopWatchingInterrupt();
bool InterruptRequested();
// The first signal that raised the flag; 0 while none did.
int InterruptSignal();
void ClearInterrupt();

}  // namespace ombrix::platform
