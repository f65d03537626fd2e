// The uninstaller's sequence without its window: which log to read, the error for a log that
// cannot be read, the caption and the replay, shown on whatever display the program has.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "setup/replay.h"

namespace ombrix::setup {

inline constexpr const char* kUninstallCaption = "Uninstall - Ombrix";
inline constexpr const char* kLoadErrorCaption = "Zorvex Uninstall - Error";
inline constexpr const char* kDefaultLogName = "Install.Nui";

// Exit statuses of the uninstaller.
inline constexpr int kUninstallDone = 0;
inline constexpr int kUninstallLogRejected = 1;

class UninstallerDisplay : public ReplayObserver {
 public:
  // The log cannot be read: a message with the error icon, and why the log was refused as its
  // detail.
  virtual void ShowError(const std::string& caption, const std::string& text, const std::string& detail) = 0;
  // The log is read: the caption "Removing "<name>"..." and the progress range 0..count.
  virtual void Begin(const std::string& caption, int count) = 0;
};

// The log's path: the program's argument text (its arguments joined by blanks, as the original
// command line held them) when it is not empty, else "Install.Nui" in the current directory.
std::string LogPathFromArguments(const std::vector<std::string>& arguments);
// "Cannot load file :\n<path>".
std::string LoadErrorText(const std::string& path);
// "Removing "<name>"...".
std::string RemovingCaption(std::string_view name);

// Reads the log and replays it on the display; kUninstallLogRejected when the log is refused.
int RunUninstaller(const std::string& log_path, UninstallerDisplay& display);

}  // namespace ombrix::setup
