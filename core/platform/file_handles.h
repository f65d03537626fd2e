// Open files by descriptor: opening without inheritance, reads and writes that retry, seeks,
// sizes, truncation, flushing to disk, times, and byte-range locks that belong to the open file
// (not to the process), so two opens of one file in one process see each other's locks.
// Every call returns the system's error (std::errc{} on success) so that callers can report it
// in their own terms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <system_error>

namespace ombrix::platform {

using FileDescriptor = int;
inline constexpr FileDescriptor kNoFile = -1;

struct OpenedFile {
  FileDescriptor fd = kNoFile;
  bool readable = false;  // the descriptor was opened for reading (shared locks need that)
  bool writable = false;  // ... for writing (exclusive locks need that)
};

// Opens a file for random access, never inherited by child processes. With create, a missing
// file is made (permissions 0666 less the umask) and the descriptor is opened for reading and
// writing whatever was asked, so that the caller can truncate it once it has checked its own
// rules; an existing file is never truncated here. Otherwise the file must exist, and a write
// open also asks for reading when the permissions allow it. Directories are refused with
// std::errc::is_a_directory; opening a FIFO or device never blocks.
std::errc OpenFileDescriptor(const char* path, bool want_write, bool create, OpenedFile& opened);
std::errc CloseFileDescriptor(FileDescriptor fd);

// Reads up to count bytes at the file position, again and again until count bytes came, the
// end of the file was reached or an error other than an interruption or a pending operation
// occurred. done receives the bytes read, also on error.
std::errc ReadDescriptor(FileDescriptor fd, void* buffer, size_t count, size_t& done);
// Writes count bytes at the file position; done as for ReadDescriptor. A short write without an
// error (a full disk) comes back as std::errc::no_space_on_device.
std::errc WriteDescriptor(FileDescriptor fd, const void* buffer, size_t count, size_t& done);

enum class SeekOrigin { kStart, kCurrent, kEnd };
// The position origin + offset, without moving the file position.
std::errc PositionOf(FileDescriptor fd, SeekOrigin origin, int64_t offset, int64_t& position);
// Moves the file position to an absolute offset.
std::errc SetPosition(FileDescriptor fd, int64_t position);

std::errc DescriptorSize(FileDescriptor fd, uint64_t& size);
std::errc TruncateDescriptor(FileDescriptor fd, uint64_t size);
// Flushes the file's data and metadata to the disk.
std::errc SyncDescriptor(FileDescriptor fd);

// Last modification, in seconds since 1970 (UTC).
std::errc DescriptorModificationTime(FileDescriptor fd, int64_t& seconds);
std::errc SetDescriptorModificationTime(FileDescriptor fd, int64_t seconds);

// Byte-range locks of the open file. A shared lock needs a readable descriptor, an exclusive one
// a writable descriptor. Neither waits: a range held by another open file gives
// std::errc::resource_unavailable_try_again. Locks of the same open file never conflict and
// merge, like the system's own.
std::errc LockRange(FileDescriptor fd, uint64_t offset, uint64_t length, bool exclusive);
std::errc UnlockRange(FileDescriptor fd, uint64_t offset, uint64_t length);
// Whether another open file holds a lock on the range that conflicts with a lock of that kind
// (any lock conflicts with an exclusive one).
std::errc RangeHeldElsewhere(FileDescriptor fd, uint64_t offset, uint64_t length, bool exclusive, bool& held);

// Raises the process's soft limit of open descriptors to at least count (never above the hard
// limit, never lowering it). False when the limit could not be raised that far.
bool RaiseOpenFileLimit(uint64_t count);

}  // namespace ombrix::platform
