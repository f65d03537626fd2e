// Files and attributes with POSIX calls.
#include "core/platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "core/platform/paths.h"

namespace ombrix::platform {

bool FileExists(const char* path) {
  struct stat st {};
  return path != nullptr && stat(path, &st) == 0;
}

bool DirectoryExists(const char* path) {
  struct stat st {};
  return path != nullptr && *path != '\0' && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool CanOpenForReading(const char* path) {
  if (path == nullptr) return false;
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  close(fd);
  return true;
}

std::optional<std::string> ReadFilePrefix(const char* path, size_t max_bytes, bool* complete) {
  if (complete != nullptr) *complete = false;
  if (path == nullptr) return std::nullopt;
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string data;
  char buffer[65536];
  for (;;) {
    // One byte past the limit tells a file of exactly max_bytes from a longer one.
    const size_t room = max_bytes - data.size() + 1;
    const ssize_t n = read(fd, buffer, room < sizeof buffer ? room : sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      close(fd);
      return std::nullopt;
    }
    if (n == 0) {
      if (complete != nullptr) *complete = true;
      break;
    }
    data.append(buffer, size_t(n));
    if (data.size() > max_bytes) {
      data.resize(max_bytes);
      break;
    }
  }
  close(fd);
  return data;
}

std::optional<std::string> ReadWholeFile(const char* path) {
  return ReadFilePrefix(path, std::string().max_size() - 1, nullptr);
}

static bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
  }
  return true;
}

static std::atomic<BeforeReplaceHook> g_before_replace_hook{nullptr};

void SetBeforeReplaceHook(BeforeReplaceHook hook) { g_before_replace_hook = hook; }

BeforeReplaceHook CurrentBeforeReplaceHook() { return g_before_replace_hook.load(); }

// Flushes the directory entry of a rename, so the new name survives a power failure too.
static void SyncDirectory(const std::string& dir) {
  const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// The usual permissions of a user's new document: 0666 less the umask.
static mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// Writes data to a temporary file beside path, with the given permission bits, and renames it
// over path. The error of the failing call stays in errno.
static bool ReplaceWithMode(const std::string& path, const std::string& data, mode_t mode) {
  const std::string dir = DirectoryPart(path).empty() ? "." : DirectoryPart(path);
  std::string pattern = JoinPath(dir, std::string(".") + FileNamePart(path.c_str()) + ".XXXXXX");
  const int fd = mkstemp(pattern.data());
  if (fd < 0) return false;
  // mkstemp makes the file 0600; it gets its final bits before it takes the name.
  bool written = fchmod(fd, mode) == 0 && WriteAll(fd, data.data(), data.size()) && fsync(fd) == 0;
  int error = written ? 0 : errno;
  const bool closed = close(fd) == 0;
  if (written && !closed) error = errno;
  if (written && closed) {
    if (BeforeReplaceHook hook = g_before_replace_hook.load()) hook(pattern.c_str(), path.c_str());
    if (rename(pattern.c_str(), path.c_str()) != 0) {
      error = errno;
      written = false;
    }
  }
  if (!written || !closed) {
    unlink(pattern.c_str());
    errno = error;
    return false;
  }
  SyncDirectory(dir);
  return true;
}

bool ReplaceFileAtomically(const char* path, const std::string& data) {
  if (path == nullptr || *path == '\0') return false;
  return ReplaceWithMode(path, data, NewFileMode());
}

bool ReplaceFileKeepingAttributes(const char* path, const std::string& data) {
  if (path == nullptr || *path == '\0') {
    errno = EINVAL;
    return false;
  }
  // Follows the chain of links to the file they name (which need not exist yet).
  std::string target = path;
  for (int hops = 0;; ++hops) {
    struct stat st {};
    if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
    if (hops == 40) {
      errno = ELOOP;
      return false;
    }
    std::string link(size_t(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
    const ssize_t n = readlink(target.c_str(), link.data(), link.size());
    if (n < 0) return false;
    link.resize(size_t(n));
    target =
        IsAbsolutePath(link.c_str()) || DirectoryPart(target).empty() ? link : JoinPath(DirectoryPart(target), link);
  }
  struct stat st {};
  const mode_t mode = stat(target.c_str(), &st) == 0 ? mode_t(st.st_mode & 07777) : NewFileMode();
  return ReplaceWithMode(target, data, mode);
}

Claim MakeNewEmptyFile(const char* path) {
  if (path == nullptr || *path == '\0') return Claim::kFailed;
  const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return errno == EEXIST ? Claim::kExists : Claim::kFailed;
  close(fd);
  return Claim::kMade;
}

bool RemoveFile(const char* path) { return path != nullptr && unlink(path) == 0; }

bool AppendToFile(const char* path, const std::string& text) {
  if (path == nullptr || *path == '\0') return false;
  const int fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0666);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, text.data(), text.size());
  return close(fd) == 0 && written;
}

bool IsReadOnly(const char* path) {
  struct stat st {};
  if (path == nullptr || stat(path, &st) != 0) return false;
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool SetReadOnly(const char* path, bool read_only) {
  struct stat st {};
  if (path == nullptr || stat(path, &st) != 0) return false;
  const mode_t mode = read_only ? (st.st_mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH)) : (st.st_mode | S_IWUSR);
  return chmod(path, mode & 07777) == 0;
}

bool MakeDirectories(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  std::string partial;
  const std::string text = path;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || (text[i] == '/' && i > 0)) {
      partial = text.substr(0, i);
      if (mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
  }
  struct stat st {};
  return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

std::string MakeTemporaryDirectory(const std::string& pattern) {
  std::string path = pattern;
  return mkdtemp(path.data()) != nullptr ? path : std::string();
}

bool RemoveDirectory(const char* path) { return path != nullptr && rmdir(path) == 0; }

bool CanWriteDirectory(const char* path) { return DirectoryExists(path) && access(path, W_OK | X_OK) == 0; }

bool RestrictToOwner(const char* path) {
  struct stat st {};
  if (path == nullptr || stat(path, &st) != 0) return false;
  return chmod(path, st.st_mode & 0700) == 0;
}

}  // namespace ombrix::platform
