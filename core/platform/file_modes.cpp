// Permission bits and renamed replacements with POSIX calls.
#include "core/platform/file_modes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "core/platform/files.h"
#include "core/platform/paths.h"

namespace ombrix::platform {

std::optional<unsigned> FilePermissions(const char* path) {
  struct stat st {};
  if (path == nullptr || stat(path, &st) != 0) return std::nullopt;
  return unsigned(st.st_mode & 07777);
}

bool SetFilePermissions(const char* path, unsigned mode) { return path != nullptr && chmod(path, mode & 07777) == 0; }

bool ClearFileAttributes(const char* path) {
  struct stat st {};
  if (path == nullptr || lstat(path, &st) != 0) return false;
  if (S_ISLNK(st.st_mode)) return true;
  if (S_ISDIR(st.st_mode)) return false;
  if ((st.st_mode & S_IWUSR) != 0) return true;
  return chmod(path, (st.st_mode | S_IWUSR) & 07777) == 0;
}

bool IsExecutableFile(const char* path) {
  struct stat st {};
  return path != nullptr && stat(path, &st) == 0 && S_ISREG(st.st_mode) && access(path, X_OK) == 0;
}

bool ReplaceFileThrough(const char* path, const char* temporary_path, const std::string& data, unsigned mode) {
  if (path == nullptr || temporary_path == nullptr) return false;
  const int fd = open(temporary_path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  bool ok = true;
  const char* p = data.data();
  size_t left = data.size();
  while (ok && left > 0) {
    const ssize_t n = write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) {
      p += n;
      left -= size_t(n);
    }
  }
  ok = ok && fchmod(fd, mode & 07777) == 0 && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok) {
    if (BeforeReplaceHook hook = CurrentBeforeReplaceHook()) hook(temporary_path, path);
  }
  if (!ok || rename(temporary_path, path) != 0) {
    unlink(temporary_path);
    return false;
  }
  const std::string dir = DirectoryPart(path).empty() ? "." : DirectoryPart(path);
  const int dir_fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir_fd >= 0) {
    fsync(dir_fd);
    close(dir_fd);
  }
  return true;
}

}  // namespace ombrix::platform
