// The clipboard store on POSIX: a private directory, a lock file and one file per format.
#include "core/platform/clipboard.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "core/platform/files.h"
#include "core/platform/paths.h"

namespace ombrix::platform {
namespace {

constexpr const char* kLockName = ".lock";
constexpr const char* kTemporaryPrefix = ".clip-";
constexpr int kLockAttempts = 50;
constexpr long kLockPauseNanoseconds = 10'000'000;

bool IsDirectory(const char* path) {
  struct stat st {};
  return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

std::string CandidateDirectory() {
  if (const char* chosen = std::getenv(kClipboardEnvironment); chosen != nullptr && *chosen != '\0') return chosen;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
      runtime != nullptr && *runtime != '\0' && IsDirectory(runtime))
    return JoinPath(runtime, "zorvex-clipboard");
  return "/tmp/zorvex-clipboard-" + std::to_string(geteuid());
}

// Makes the directory when missing and accepts it only when it is a real directory of ours.
bool PrepareDirectory(const std::string& dir) {
  if (mkdir(dir.c_str(), 0700) != 0) {
    if (errno == ENOENT) {
      // A chosen directory whose parents do not exist yet: make them with the usual mode.
      if (!MakeDirectories(DirectoryPart(dir).c_str())) return false;
      if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return false;
    } else if (errno != EEXIST) {
      return false;
    }
  }
  struct stat st {};
  if (lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) return false;
  if ((st.st_mode & 077) != 0 && chmod(dir.c_str(), 0700) != 0) return false;
  return true;
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
  }
  return true;
}

std::string FormatPath(const std::string& dir, const char* format) { return JoinPath(dir, format); }

}  // namespace

std::string ClipboardDirectory() {
  std::string dir = CandidateDirectory();
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return PrepareDirectory(dir) ? dir : std::string();
}

std::string CreatePrivateFile(const char* prefix) {
  const std::string dir = ClipboardDirectory();
  if (dir.empty() || prefix == nullptr) return {};
  std::string path = JoinPath(dir, "." + std::string(prefix) + "-XXXXXX");
  // mkostemp opens with O_CREAT | O_EXCL and mode 0600: a name planted beforehand is never used.
  const int fd = mkostemp(path.data(), O_CLOEXEC);
  if (fd < 0) return {};
  close(fd);
  return path;
}

bool IsValidClipboardFormat(const char* format) {
  if (format == nullptr || format[0] == '\0' || format[0] == '.') return false;
  const size_t length = std::strlen(format);
  if (length > 255) return false;
  for (size_t i = 0; i < length; ++i)
    if (IsSeparator(format[i])) return false;
  return true;
}

Clipboard::~Clipboard() { Close(); }

bool Clipboard::Open() {
  if (IsOpen()) return true;
  directory_ = ClipboardDirectory();
  if (directory_.empty()) return false;
  const std::string lock_path = JoinPath(directory_, kLockName);
  const int fd = open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      lock_fd_ = fd;
      return true;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) break;
    const timespec pause{0, kLockPauseNanoseconds};
    nanosleep(&pause, nullptr);
  }
  close(fd);
  return false;
}

void Clipboard::Close() {
  if (lock_fd_ < 0) return;
  flock(lock_fd_, LOCK_UN);
  close(lock_fd_);
  lock_fd_ = -1;
}

bool Clipboard::Empty() {
  if (!IsOpen()) return false;
  DIR* listing = opendir(directory_.c_str());
  if (listing == nullptr) return false;
  bool all_removed = true;
  const size_t prefix = std::strlen(kTemporaryPrefix);
  while (const dirent* entry = readdir(listing)) {
    const char* name = entry->d_name;
    // Formats, and temporary files a writer left behind when it died mid-way (writers hold the
    // lock, so none is being written now). Other private files stay.
    const bool stale_temporary = std::strncmp(name, kTemporaryPrefix, prefix) == 0;
    if (name[0] == '.' && !stale_temporary) continue;
    if (unlink(FormatPath(directory_, name).c_str()) != 0 && errno != ENOENT) all_removed = false;
  }
  closedir(listing);
  return all_removed;
}

bool Clipboard::Set(const char* format, const void* data, size_t size) {
  if (!IsOpen() || !IsValidClipboardFormat(format) || (data == nullptr && size > 0)) return false;
  std::string temporary = JoinPath(directory_, std::string(kTemporaryPrefix) + "XXXXXX");
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, static_cast<const uint8_t*>(data), size);
  if (close(fd) != 0 || !written || rename(temporary.c_str(), FormatPath(directory_, format).c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool Clipboard::Remove(const char* format) {
  if (!IsOpen() || !IsValidClipboardFormat(format)) return false;
  return unlink(FormatPath(directory_, format).c_str()) == 0 || errno == ENOENT;
}

std::optional<std::vector<uint8_t>> Clipboard::Get(const char* format) const {
  if (!IsOpen() || !IsValidClipboardFormat(format)) return std::nullopt;
  const int fd = open(FormatPath(directory_, format).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return std::nullopt;
  }
  std::vector<uint8_t> data;
  data.reserve(size_t(st.st_size));
  uint8_t buffer[65536];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    data.insert(data.end(), buffer, buffer + n);
  }
  close(fd);
  return data;
}

bool Clipboard::HasFormat(const char* format) {
  if (!IsValidClipboardFormat(format)) return false;
  const std::string dir = ClipboardDirectory();
  if (dir.empty()) return false;
  struct stat st {};
  return lstat(FormatPath(dir, format).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace ombrix::platform
