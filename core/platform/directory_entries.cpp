// Directory entries with POSIX calls.
#include "core/platform/directory_entries.h"

#include <sys/stat.h>

#include "core/platform/environment.h"
#include "core/platform/paths.h"
#include "core/text/ascii.h"

namespace ombrix::platform {

std::vector<std::string> ListFiles(const std::string& dir) {
  std::vector<std::string> files;
  for (const std::string& name : ListDirectory(dir)) {
    struct stat st {};
    if (lstat(JoinPath(dir, name).c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) files.push_back(name);
  }
  return files;
}

std::string FindEntryIgnoringCase(const std::string& dir, const std::string& name) {
  if (name.empty()) return {};
  const std::string exact = JoinPath(dir, name);
  struct stat st {};
  if (lstat(exact.c_str(), &st) == 0) return exact;
  for (const std::string& entry : ListDirectory(dir.empty() ? "." : dir))
    if (text::EqualsIgnoringCase(entry, name)) return JoinPath(dir, entry);
  return {};
}

std::string ResolveIgnoringCase(const std::string& base, const std::string& relative) {
  std::string path = base;
  size_t start = 0;
  while (start <= relative.size()) {
    size_t end = start;
    while (end < relative.size() && !IsSeparator(relative[end])) ++end;
    const std::string component = relative.substr(start, end - start);
    if (!component.empty() && component != ".") {
      path = FindEntryIgnoringCase(path, component);
      if (path.empty()) return {};
    }
    start = end + 1;
  }
  return path;
}

OneFileSystemListing ListOnOneFileSystem(const std::string& dir) {
  OneFileSystemListing listing;
  struct stat own {};
  if (lstat(dir.c_str(), &own) != 0 || !S_ISDIR(own.st_mode)) return listing;
  for (const std::string& name : ListDirectory(dir)) {
    struct stat st {};
    if (lstat(JoinPath(dir, name).c_str(), &st) != 0) continue;
    if (!S_ISDIR(st.st_mode)) {
      listing.files.push_back(name);
    } else if (st.st_dev == own.st_dev) {
      listing.subdirectories.push_back(name);
    }
  }
  return listing;
}

bool IsSameFile(const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace ombrix::platform
