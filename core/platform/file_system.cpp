// Named files on Linux: stat, mkdir, renameat2 without replacing, a streamed atomic copy and
// the xattr calls.
#include "core/platform/file_system.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "core/platform/file_handles.h"
#include "core/platform/paths.h"

namespace ombrix::platform {
namespace {

std::errc LastError() { return std::errc(errno); }

}  // namespace

std::errc LastSystemError() { return std::errc(errno); }

std::errc QueryEntry(const char* path, EntryStatus& status) {
  status = {};
  if (path == nullptr) return std::errc::invalid_argument;
  struct stat st {};
  if (stat(path, &st) != 0) return LastError();
  status.kind = S_ISREG(st.st_mode)   ? EntryKind::kRegular
                : S_ISDIR(st.st_mode) ? EntryKind::kDirectory
                                      : EntryKind::kOther;
  status.size = uint64_t(st.st_size);
  status.modified = st.st_mtim.tv_sec;
  status.any_write_bit = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
  return {};
}

std::errc MakeDirectory(const char* path) {
  if (path == nullptr) return std::errc::invalid_argument;
  return mkdir(path, 0777) == 0 ? std::errc{} : LastError();
}

std::errc RenameWithoutReplacing(const char* from, const char* to) {
  if (from == nullptr || to == nullptr) return std::errc::invalid_argument;
  if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return {};
  if (errno != EINVAL && errno != ENOSYS) return LastError();
  // A file system without the no-replace rename: a hard link claims the new name in one step
  // for files; directories fall back to a check before the rename.
  struct stat st {};
  if (lstat(from, &st) != 0) return LastError();
  if (!S_ISDIR(st.st_mode)) {
    if (link(from, to) != 0) {
      if (errno == EEXIST) return std::errc::file_exists;
      if (errno != EPERM && errno != EOPNOTSUPP && errno != EXDEV && errno != EMLINK) return LastError();
    } else {
      return unlink(from) == 0 ? std::errc{} : LastError();
    }
  }
  struct stat target {};
  if (lstat(to, &target) == 0) return std::errc::file_exists;
  return rename(from, to) == 0 ? std::errc{} : LastError();
}

std::errc CopyFileOver(const char* source, const char* target) {
  if (source == nullptr || target == nullptr || *target == '\0') return std::errc::invalid_argument;
  const int in = open(source, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (in < 0) return LastError();
  struct stat st {};
  if (fstat(in, &st) != 0) {
    const std::errc error = LastError();
    close(in);
    return error;
  }
  if (!S_ISREG(st.st_mode)) {
    close(in);
    return S_ISDIR(st.st_mode) ? std::errc::is_a_directory : std::errc::invalid_argument;
  }
  const std::string dir = DirectoryPart(target).empty() ? "." : DirectoryPart(target);
  std::string temporary = JoinPath(dir, std::string(".") + FileNamePart(target) + ".XXXXXX");
  const int out = mkostemp(temporary.data(), O_CLOEXEC);
  if (out < 0) {
    const std::errc error = LastError();
    close(in);
    return error;
  }
  std::errc error{};
  std::vector<char> buffer(size_t(1) << 16);
  for (;;) {
    size_t got = 0;
    error = ReadDescriptor(in, buffer.data(), buffer.size(), got);
    if (error != std::errc{} || got == 0) break;
    size_t put = 0;
    error = WriteDescriptor(out, buffer.data(), got, put);
    if (error != std::errc{}) break;
  }
  if (error == std::errc{} && fchmod(out, st.st_mode & 07777) != 0) error = LastError();
  if (error == std::errc{} && fsync(out) != 0) error = LastError();
  if (close(out) != 0 && error == std::errc{}) error = LastError();
  close(in);
  if (error == std::errc{} && rename(temporary.c_str(), target) != 0) error = LastError();
  if (error != std::errc{}) unlink(temporary.c_str());
  return error;
}

std::errc ReadExtendedAttribute(const char* path, const char* name, std::string& value) {
  value.clear();
  char buffer[256];
  const ssize_t n = getxattr(path, name, buffer, sizeof buffer);
  if (n < 0) return errno == ENODATA ? std::errc::no_message_available : LastError();
  value.assign(buffer, size_t(n));
  return {};
}

std::errc WriteExtendedAttribute(const char* path, const char* name, const std::string& value) {
  return setxattr(path, name, value.data(), value.size(), 0) == 0 ? std::errc{} : LastError();
}

std::errc RemoveExtendedAttribute(const char* path, const char* name) {
  if (removexattr(path, name) == 0 || errno == ENODATA) return {};
  return LastError();
}

}  // namespace ombrix::platform
