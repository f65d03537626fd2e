// Path texts on a system whose native separator is '/'.
#include "core/platform/paths.h"

#include <unistd.h>

#include <climits>

namespace ombrix::platform {

const char* FileNamePart(const char* path) {
  if (path == nullptr) return "";
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p)
    if (IsSeparator(*p)) name = p + 1;
  return name;
}

std::string DirectoryPart(const std::string& path) {
  for (size_t i = path.size(); i > 0; --i)
    if (IsSeparator(path[i - 1])) return path.substr(0, i == 1 ? 1 : i - 1);
  return {};
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  if (IsSeparator(dir.back())) return dir + name;
  return dir + kPathSeparator + name;
}

bool IsAbsolutePath(const char* path) {
  if (path == nullptr || path[0] == '\0') return false;
  return IsSeparator(path[0]) || path[1] == ':';
}

std::string ExecutableDirectory() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  buffer[n] = '\0';
  return DirectoryPart(buffer);
}

}  // namespace ombrix::platform
