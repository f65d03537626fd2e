// The exports on named files: sizes, existence, attributes, times, deleting, renaming, copying.
#include "core/platform/file_system.h"
#include "core/platform/files.h"
#include "fileaccess/attributes.h"
#include "fileaccess/error_codes.h"
#include "fileaccess/file_times.h"
#include "fileaccess/module.h"

using namespace ombrix;
using namespace ombrix::fileaccess;

namespace {

// The status of an existing entry, or false with the path's error stored.
bool Status(const char* path, platform::EntryStatus& status) {
  if (path == nullptr) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
  const std::errc error = platform::QueryEntry(path, status);
  if (error != std::errc{}) return Fail(CodeOfPathError(error, path));
  return true;
}

bool IsRegular(const platform::EntryStatus& status) { return status.kind == platform::EntryKind::kRegular; }

}  // namespace

extern "C" {

PELCOR_API uint32_t dwWF_FileSize(const char* path) {
  platform::EntryStatus status;
  if (!Status(path, status)) return 0xFFFFFFFFu;
  if (!IsRegular(status)) return FailSize(PELCOR_ERROR_FILE_NOT_FOUND);
  return SizeResult(status.size);
}

PELCOR_API PelcorBool bWF_IsFileExist(const char* path) {
  platform::EntryStatus status;
  if (!Status(path, status)) return 0;
  return IsRegular(status) ? Succeed() : Fail(PELCOR_ERROR_FILE_NOT_FOUND);
}

PELCOR_API PelcorBool bWF_GetAttrib(const char* path, uint16_t* attributes) {
  return Guarded<PelcorBool>(0, [&]() -> PelcorBool {
    if (attributes == nullptr) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
    platform::EntryStatus status;
    if (!Status(path, status)) return 0;
    *attributes = AttributesOf(path, status);
    return Succeed();
  });
}

PELCOR_API PelcorBool bWF_SetAttrib(const char* path, uint16_t attributes) {
  return Guarded<PelcorBool>(0, [&]() -> PelcorBool {
    platform::EntryStatus status;
    if (!Status(path, status)) return 0;
    const uint16_t kept =
        attributes & (PELCOR_ATTR_READONLY | PELCOR_ATTR_HIDDEN | PELCOR_ATTR_SYSTEM | PELCOR_ATTR_ARCHIVE);
    const std::errc error = ApplyAttributes(path, status, kept);
    return error == std::errc{} ? Succeed() : Fail(CodeOfSystemError(error));
  });
}

PELCOR_API PelcorBool bWF_FFGetTime(const char* path, PelcorTime* time) {
  if (time == nullptr) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
  platform::EntryStatus status;
  if (!Status(path, status)) return 0;
  return TimeRecordOf(status.modified, *time) ? Succeed() : Fail(PELCOR_ERROR_INVALID_PARAMETER);
}

PELCOR_API PelcorBool bWF_DeleteFile(const char* path) {
  platform::EntryStatus status;
  if (!Status(path, status)) return 0;
  // Directories are removed with bWF_RemoveDir; a read-only file is protected, as on the
  // original platform, whatever the rights of its folder.
  if (status.kind == platform::EntryKind::kDirectory || !status.any_write_bit) return Fail(PELCOR_ERROR_ACCESS_DENIED);
  return platform::RemoveFile(path) ? Succeed() : Fail(CodeOfSystemError(platform::LastSystemError()));
}

PELCOR_API PelcorBool bWF_RenameFile(const char* old_path, const char* new_path) {
  platform::EntryStatus status;
  if (!Status(old_path, status)) return 0;
  if (new_path == nullptr) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
  const std::errc error = platform::RenameWithoutReplacing(old_path, new_path);
  if (error == std::errc{}) return Succeed();
  return Fail(error == std::errc::file_exists ? uint32_t(PELCOR_ERROR_ALREADY_EXISTS)
                                              : CodeOfPathError(error, new_path));
}

PELCOR_API PelcorBool bWF_CopyFile(const char* source, const char* target) {
  return Guarded<PelcorBool>(0, [&]() -> PelcorBool {
    platform::EntryStatus status;
    if (!Status(source, status)) return 0;
    if (target == nullptr) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
    platform::EntryStatus old_target;
    if (platform::QueryEntry(target, old_target) == std::errc{} &&
        (old_target.kind == platform::EntryKind::kDirectory || !old_target.any_write_bit))
      return Fail(PELCOR_ERROR_ACCESS_DENIED);
    std::errc error = platform::CopyFileOver(source, target);
    if (error != std::errc{}) return Fail(CodeOfPathError(error, target));
    platform::EntryStatus copied;
    error = platform::QueryEntry(target, copied);
    if (error == std::errc{}) error = ApplyAttributes(target, copied, PELCOR_ATTR_ARCHIVE);
    return error == std::errc{} ? Succeed() : Fail(CodeOfSystemError(error));
  });
}

}  // extern "C"
