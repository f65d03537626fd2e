// Open files on POSIX: open(2) with O_CLOEXEC, read/write loops, lseek, fstat, ftruncate,
// fsync, futimens and open-file-description locks (F_OFD_SETLK).
#include "core/platform/file_handles.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace ombrix::platform {
namespace {

std::errc LastError() { return std::errc(errno); }

bool Interrupted(int error) { return error == EINTR || error == EAGAIN; }

// Byte offsets beyond what off_t holds cannot be locked; ranges are cut to the largest offset.
bool ToLockRange(uint64_t offset, uint64_t length, struct flock& lock) {
  const uint64_t limit = uint64_t(INT64_MAX);
  if (offset > limit) return false;
  if (length > limit - offset) length = limit - offset;
  lock.l_whence = SEEK_SET;
  lock.l_start = off_t(offset);
  // A length of 0 would mean "to the end of the file and beyond"; callers never mean that.
  lock.l_len = off_t(length);
  lock.l_pid = 0;  // required for open-file-description locks
  return length > 0;
}

}  // namespace

std::errc OpenFileDescriptor(const char* path, bool want_write, bool create, OpenedFile& opened) {
  opened = {};
  if (path == nullptr) return std::errc::invalid_argument;
  // Non-blocking only for the open itself, so a FIFO without a writer cannot hang the caller.
  const int common = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  int fd = -1;
  int access = O_RDONLY;
  if (create) {
    access = O_RDWR;
    fd = open(path, access | O_CREAT | common, 0666);
  } else if (want_write) {
    access = O_RDWR;
    fd = open(path, access | common);
    if (fd < 0 && errno == EACCES) {
      access = O_WRONLY;
      fd = open(path, access | common);
    }
  } else {
    fd = open(path, access | common);
  }
  if (fd < 0) return LastError();
  struct stat st {};
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    const std::errc error = S_ISDIR(st.st_mode) ? std::errc::is_a_directory : LastError();
    close(fd);
    return error;
  }
  const int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  if (S_ISREG(st.st_mode)) posix_fadvise(fd, 0, 0, POSIX_FADV_RANDOM);
  opened.fd = fd;
  opened.readable = access != O_WRONLY;
  opened.writable = access != O_RDONLY;
  return {};
}

std::errc CloseFileDescriptor(FileDescriptor fd) {
  // The descriptor is gone after close even when it reports an error; never retry.
  return close(fd) == 0 ? std::errc{} : LastError();
}

std::errc ReadDescriptor(FileDescriptor fd, void* buffer, size_t count, size_t& done) {
  done = 0;
  auto* bytes = static_cast<unsigned char*>(buffer);
  while (done < count) {
    const size_t piece = count - done < size_t(SSIZE_MAX) ? count - done : size_t(SSIZE_MAX);
    const ssize_t n = read(fd, bytes + done, piece);
    if (n < 0 && Interrupted(errno)) continue;
    if (n < 0) return LastError();
    if (n == 0) break;
    done += size_t(n);
  }
  return {};
}

std::errc WriteDescriptor(FileDescriptor fd, const void* buffer, size_t count, size_t& done) {
  done = 0;
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  while (done < count) {
    const size_t piece = count - done < size_t(SSIZE_MAX) ? count - done : size_t(SSIZE_MAX);
    const ssize_t n = write(fd, bytes + done, piece);
    if (n < 0 && Interrupted(errno)) continue;
    if (n < 0) return LastError();
    if (n == 0) return std::errc::no_space_on_device;
    done += size_t(n);
  }
  return {};
}

std::errc PositionOf(FileDescriptor fd, SeekOrigin origin, int64_t offset, int64_t& position) {
  int64_t base = 0;
  if (origin == SeekOrigin::kCurrent) {
    const off_t current = lseek(fd, 0, SEEK_CUR);
    if (current < 0) return LastError();
    base = current;
  } else if (origin == SeekOrigin::kEnd) {
    struct stat st {};
    if (fstat(fd, &st) != 0) return LastError();
    base = st.st_size;
  }
  if (offset > 0 && base > INT64_MAX - offset) return std::errc::value_too_large;
  position = base + offset;
  return {};
}

std::errc SetPosition(FileDescriptor fd, int64_t position) {
  if (position < 0) return std::errc::invalid_argument;
  return lseek(fd, off_t(position), SEEK_SET) >= 0 ? std::errc{} : LastError();
}

std::errc DescriptorSize(FileDescriptor fd, uint64_t& size) {
  struct stat st {};
  if (fstat(fd, &st) != 0) return LastError();
  size = uint64_t(st.st_size);
  return {};
}

std::errc TruncateDescriptor(FileDescriptor fd, uint64_t size) {
  if (size > uint64_t(INT64_MAX)) return std::errc::file_too_large;
  while (ftruncate(fd, off_t(size)) != 0) {
    if (errno != EINTR) return LastError();
  }
  return {};
}

std::errc SyncDescriptor(FileDescriptor fd) { return fsync(fd) == 0 ? std::errc{} : LastError(); }

std::errc DescriptorModificationTime(FileDescriptor fd, int64_t& seconds) {
  struct stat st {};
  if (fstat(fd, &st) != 0) return LastError();
  seconds = st.st_mtim.tv_sec;
  return {};
}

std::errc SetDescriptorModificationTime(FileDescriptor fd, int64_t seconds) {
  const timespec times[2] = {{0, UTIME_OMIT}, {time_t(seconds), 0}};
  return futimens(fd, times) == 0 ? std::errc{} : LastError();
}

std::errc LockRange(FileDescriptor fd, uint64_t offset, uint64_t length, bool exclusive) {
  struct flock lock {};
  if (!ToLockRange(offset, length, lock)) return length == 0 ? std::errc{} : std::errc::invalid_argument;
  lock.l_type = exclusive ? F_WRLCK : F_RDLCK;
  if (fcntl(fd, F_OFD_SETLK, &lock) == 0) return {};
  // Held elsewhere: EAGAIN or EACCES, depending on the system.
  return errno == EACCES || errno == EAGAIN ? std::errc::resource_unavailable_try_again : LastError();
}

std::errc UnlockRange(FileDescriptor fd, uint64_t offset, uint64_t length) {
  struct flock lock {};
  if (!ToLockRange(offset, length, lock)) return length == 0 ? std::errc{} : std::errc::invalid_argument;
  lock.l_type = F_UNLCK;
  return fcntl(fd, F_OFD_SETLK, &lock) == 0 ? std::errc{} : LastError();
}

std::errc RangeHeldElsewhere(FileDescriptor fd, uint64_t offset, uint64_t length, bool exclusive, bool& held) {
  held = false;
  struct flock lock {};
  if (!ToLockRange(offset, length, lock)) return length == 0 ? std::errc{} : std::errc::invalid_argument;
  lock.l_type = exclusive ? F_WRLCK : F_RDLCK;
  if (fcntl(fd, F_OFD_GETLK, &lock) != 0) return LastError();
  held = lock.l_type != F_UNLCK;
  return {};
}

bool RaiseOpenFileLimit(uint64_t count) {
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return false;
  if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= count) return true;
  const rlim_t wanted = limit.rlim_max != RLIM_INFINITY && limit.rlim_max < count ? limit.rlim_max : rlim_t(count);
  limit.rlim_cur = wanted;
  return setrlimit(RLIMIT_NOFILE, &limit) == 0 && wanted >= count;
}

}  // namespace ombrix::platform
