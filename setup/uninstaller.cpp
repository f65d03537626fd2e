// The uninstaller's sequence.
#include "setup/uninstaller.h"

#include "core/platform/environment.h"
#include "core/platform/paths.h"

namespace ombrix::setup {

std::string LogPathFromArguments(const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& argument : arguments) {
    if (!text.empty()) text += ' ';
    text += argument;
  }
  if (!text.empty()) return text;
  return platform::JoinPath(platform::CurrentDirectory(), kDefaultLogName);
}

std::string LoadErrorText(const std::string& path) { return "Cannot load file :\n" + path; }

std::string RemovingCaption(std::string_view name) { return "Removing \"" + std::string(name) + "\"..."; }

int RunUninstaller(const std::string& log_path, UninstallerDisplay& display) {
  std::string reason;
  const std::optional<UninstallLog> log = ReadUninstallLog(log_path, &reason);
  if (!log) {
    display.ShowError(kLoadErrorCaption, LoadErrorText(log_path), reason);
    return kUninstallLogRejected;
  }
  display.Begin(RemovingCaption(log->name), static_cast<int>(log->entries.size()));
  ReplayUninstallLog(*log, &display);
  return kUninstallDone;
}

}  // namespace ombrix::setup
