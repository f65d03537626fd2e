// Refreshing the MIME database through the desktop's own tool.
#include "core/platform/mime_database.h"

#include <unistd.h>

#include "core/platform/environment.h"
#include "core/platform/paths.h"
#include "core/platform/process.h"

namespace ombrix::platform {
namespace {

constexpr const char* kTool = "update-mime-database";
constexpr int kWaitLimitMs = 60'000;

std::string FindOnPath(const char* program) {
  const std::string path = GetEnvironment("PATH");
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    const std::string dir = path.substr(start, end - start);
    if (!dir.empty()) {
      const std::string candidate = JoinPath(dir, program);
      if (access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    start = end + 1;
  }
  return {};
}

}  // namespace

MimeRefresh RefreshMimeDatabase(const std::string& mime_dir) {
  const std::string tool = FindOnPath(kTool);
  if (tool.empty()) return MimeRefresh::kToolMissing;
  Process process;
  if (!process.Start({tool, {mime_dir}, {}})) return MimeRefresh::kFailed;
  if (!process.Wait({}, kWaitLimitMs)) {
    process.Terminate();
    return MimeRefresh::kFailed;
  }
  return process.ExitedNormally() && process.ExitCode() == 0 ? MimeRefresh::kDone : MimeRefresh::kFailed;
}

}  // namespace ombrix::platform
