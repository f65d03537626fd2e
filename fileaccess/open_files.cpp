// The exports on handles: opening, reading, writing, seeking, sizes, flushing, closing, range
// locks and times of open files.
#include <algorithm>

#include "core/platform/file_handles.h"
#include "core/platform/file_system.h"
#include "fileaccess/error_codes.h"
#include "fileaccess/file_times.h"
#include "fileaccess/module.h"
#include "fileaccess/share_modes.h"

using namespace ombrix;
using namespace ombrix::fileaccess;

namespace {

constexpr uint32_t kWritePiece = 4096;

PelcorBool FailWith(std::errc error) { return Fail(CodeOfSystemError(error)); }

PelcorBool OpenWithMode(const char* path, uint16_t mode, uint16_t* handle) {
  if (handle != nullptr) *handle = PELCOR_NO_HANDLE;
  if (path == nullptr || handle == nullptr) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
  ModuleState& state = State();
  if (state.table == nullptr || !state.table->HasFreeSlot()) return Fail(PELCOR_ERROR_TOO_MANY_OPEN_FILES);
  const OpenMode open_mode = DecodeOpenMode(mode, state.share_compat);
  const bool writes = open_mode.write || !open_mode.existing;
  // The read-only attribute protects a file from every caller, as on the original platform,
  // even from one whose rights would let it write anyway.
  platform::EntryStatus existing;
  if (writes && platform::QueryEntry(path, existing) == std::errc{} && existing.kind == platform::EntryKind::kRegular &&
      !existing.any_write_bit)
    return Fail(PELCOR_ERROR_ACCESS_DENIED);

  platform::OpenedFile opened;
  std::errc error = platform::OpenFileDescriptor(path, open_mode.write, !open_mode.existing, opened);
  if (error != std::errc{}) return Fail(CodeOfPathError(error, path));
  const Sharing sharing = ClaimSharing(opened, open_mode, error);
  // A file is truncated only once its sharing allows this open, never under another open
  // that refuses writers.
  if (sharing == Sharing::kGranted && !open_mode.existing) error = platform::TruncateDescriptor(opened.fd, 0);
  if (sharing != Sharing::kGranted || error != std::errc{}) {
    platform::CloseFileDescriptor(opened.fd);
    return sharing == Sharing::kViolation ? Fail(PELCOR_ERROR_SHARING_VIOLATION) : FailWith(error);
  }
  OpenFile file;
  file.descriptor = opened;
  file.may_read = open_mode.read;
  file.may_write = open_mode.write;
  *handle = state.table->Add(std::move(file));
  return Succeed();
}

bool Overlaps(const ByteRange& a, const ByteRange& b) {
  return a.length > 0 && b.length > 0 && a.offset < b.offset + b.length && b.offset < a.offset + a.length;
}

}  // namespace

extern "C" {

PELCOR_API PelcorBool bWF_CreateFile(const char* path, uint16_t mode, uint16_t* handle) {
  return Guarded<PelcorBool>(0, [&] { return OpenWithMode(path, mode, handle); });
}

PELCOR_API PelcorBool bWF_OpenFile(const char* path, uint16_t mode, uint16_t* handle) {
  return Guarded<PelcorBool>(0, [&] { return OpenWithMode(path, uint16_t(mode | PELCOR_EXISTING), handle); });
}

PELCOR_API PelcorBool bWF_ReadFile(uint16_t handle, void* buffer, uint32_t count, uint32_t* done) {
  if (done != nullptr) *done = 0;
  OpenFile* file = FindOpenFile(handle);
  if (file == nullptr) return 0;
  if (!file->may_read) return Fail(PELCOR_ERROR_ACCESS_DENIED);
  if (buffer == nullptr && count > 0) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
  size_t got = 0;
  const std::errc error = platform::ReadDescriptor(file->descriptor.fd, buffer, count, got);
  if (done != nullptr) *done = uint32_t(got);
  if (error != std::errc{}) return FailWith(error);
  if (done == nullptr && got != count) return Fail(PELCOR_ERROR_HANDLE_EOF);
  return Succeed();
}

PELCOR_API PelcorBool bWF_WriteFile(uint16_t handle, const void* buffer, uint32_t count) {
  OpenFile* file = FindOpenFile(handle);
  if (file == nullptr) return 0;
  if (!file->may_write) return Fail(PELCOR_ERROR_ACCESS_DENIED);
  if (buffer == nullptr) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  for (uint32_t at = 0; at < count; at += kWritePiece) {
    size_t written = 0;
    const std::errc error =
        platform::WriteDescriptor(file->descriptor.fd, bytes + at, std::min(kWritePiece, count - at), written);
    if (error != std::errc{}) return FailWith(error);
  }
  return Succeed();
}

PELCOR_API PelcorBool bWF_SeekFile(uint16_t handle, int32_t distance, int32_t origin, uint32_t* position) {
  OpenFile* file = FindOpenFile(handle);
  if (file == nullptr) return 0;
  const platform::SeekOrigin from = origin == 1   ? platform::SeekOrigin::kCurrent
                                    : origin == 2 ? platform::SeekOrigin::kEnd
                                                  : platform::SeekOrigin::kStart;
  int64_t target = 0;
  std::errc error = platform::PositionOf(file->descriptor.fd, from, distance, target);
  if (error != std::errc{}) return FailWith(error);
  if (target < 0) return Fail(PELCOR_ERROR_NEGATIVE_SEEK);
  // 0xFFFFFFFF is the platform's "no position"; a 32-bit caller cannot reach beyond it.
  if (target > 0xFFFFFFFEll) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
  error = platform::SetPosition(file->descriptor.fd, target);
  if (error != std::errc{}) return FailWith(error);
  if (position != nullptr) *position = uint32_t(target);
  return Succeed();
}

PELCOR_API PelcorBool bWF_SetSize(uint16_t handle, uint32_t size) {
  OpenFile* file = FindOpenFile(handle);
  if (file == nullptr) return 0;
  if (!file->may_write) return Fail(PELCOR_ERROR_ACCESS_DENIED);
  std::errc error = platform::SetPosition(file->descriptor.fd, size);
  if (error == std::errc{}) error = platform::TruncateDescriptor(file->descriptor.fd, size);
  return error == std::errc{} ? Succeed() : FailWith(error);
}

PELCOR_API PelcorBool bWF_FlushFile(uint16_t handle) { return Succeed(); }

PELCOR_API PelcorBool bWF_CommitFile(uint16_t handle) {
  OpenFile* file = FindOpenFile(handle);
  if (file == nullptr) return 0;
  const std::errc error = platform::SyncDescriptor(file->descriptor.fd);
  return error == std::errc{} ? Succeed() : FailWith(error);
}

PELCOR_API PelcorBool bWF_CloseFile(uint16_t handle) {
  if (FindOpenFile(handle) == nullptr) return 0;
  // Closing the descriptor also drops its range locks and sharing markers.
  const OpenFile file = State().table->Remove(handle);
  const std::errc error = platform::CloseFileDescriptor(file.descriptor.fd);
  return error == std::errc{} ? Succeed() : FailWith(error);
}

PELCOR_API PelcorBool bWF_LockFile(uint16_t handle, uint32_t offset, uint32_t length) {
  return Guarded<PelcorBool>(0, [&]() -> PelcorBool {
    OpenFile* file = FindOpenFile(handle);
    if (file == nullptr) return 0;
    const ByteRange range{offset, length};
    // The platform's locks do not stack: a range that overlaps one of the handle's own is refused.
    for (const ByteRange& held : file->locks)
      if (Overlaps(held, range)) return Fail(PELCOR_ERROR_LOCK_VIOLATION);
    const std::errc error = platform::LockRange(file->descriptor.fd, offset, length, file->descriptor.writable);
    if (error != std::errc{}) return FailWith(error);
    file->locks.push_back(range);
    return Succeed();
  });
}

PELCOR_API PelcorBool bWF_UnlockFile(uint16_t handle, uint32_t offset, uint32_t length) {
  OpenFile* file = FindOpenFile(handle);
  if (file == nullptr) return 0;
  const auto held = std::find_if(file->locks.begin(), file->locks.end(), [&](const ByteRange& range) {
    return range.offset == offset && range.length == length;
  });
  if (held == file->locks.end()) return Fail(PELCOR_ERROR_NOT_LOCKED);
  const std::errc error = platform::UnlockRange(file->descriptor.fd, offset, length);
  if (error != std::errc{}) return FailWith(error);
  file->locks.erase(held);
  return Succeed();
}

PELCOR_API uint32_t dwWF_FicSize(uint16_t handle) {
  OpenFile* file = FindOpenFile(handle);
  if (file == nullptr) return 0xFFFFFFFFu;
  uint64_t size = 0;
  const std::errc error = platform::DescriptorSize(file->descriptor.fd, size);
  if (error != std::errc{}) return FailSize(CodeOfSystemError(error));
  return SizeResult(size);
}

PELCOR_API PelcorBool bWF_GetTime(uint16_t handle, PelcorTime* time) {
  OpenFile* file = FindOpenFile(handle);
  if (file == nullptr) return 0;
  if (time == nullptr) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
  int64_t seconds = 0;
  const std::errc error = platform::DescriptorModificationTime(file->descriptor.fd, seconds);
  if (error != std::errc{}) return FailWith(error);
  return TimeRecordOf(seconds, *time) ? Succeed() : Fail(PELCOR_ERROR_INVALID_PARAMETER);
}

PELCOR_API PelcorBool bWF_SetTime(uint16_t handle, const PelcorTime* time) {
  OpenFile* file = FindOpenFile(handle);
  if (file == nullptr) return 0;
  if (time == nullptr) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
  int64_t current = 0;
  std::errc error = platform::DescriptorModificationTime(file->descriptor.fd, current);
  if (error != std::errc{}) return FailWith(error);
  int64_t instant = 0;
  switch (ModificationTimeFor(*time, current, instant)) {
    case TimeChange::kKeep:
      return Succeed();
    case TimeChange::kInvalid:
      return Fail(PELCOR_ERROR_INVALID_PARAMETER);
    case TimeChange::kSet:
      break;
  }
  // Writing a time takes write access, as on the original platform.
  if (!file->may_write) return Fail(PELCOR_ERROR_ACCESS_DENIED);
  error = platform::SetDescriptorModificationTime(file->descriptor.fd, instant);
  return error == std::errc{} ? Succeed() : FailWith(error);
}

}  // extern "C"
