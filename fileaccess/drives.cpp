// Drive letters, the current directory, directories, free space and drive types.
#include "fileaccess/drives.h"

#include <cstring>
#include <string>

#include "core/platform/environment.h"
#include "core/platform/file_system.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/volumes.h"
#include "fileaccess/error_codes.h"
#include "fileaccess/module.h"

namespace ombrix::fileaccess {

Drive DriveOfLetter(char letter) {
  if (letter == 0) return Drive::kRoot;
  const char upper = letter >= 'a' && letter <= 'z' ? char(letter - 'a' + 'A') : letter;
  if (upper == kRootDriveLetter) return Drive::kRoot;
  return upper >= 'A' && upper <= 'Z' ? Drive::kNotReady : Drive::kInvalid;
}

Drive DriveOfPath(const char* path) {
  if (path != nullptr && path[0] != '\0' && path[1] == ':') return DriveOfLetter(path[0]);
  return Drive::kRoot;
}

uint32_t DriveError(Drive drive) {
  return drive == Drive::kNotReady ? PELCOR_ERROR_NOT_READY : PELCOR_ERROR_INVALID_DRIVE;
}

}  // namespace ombrix::fileaccess

using namespace ombrix;
using namespace ombrix::fileaccess;

namespace {

PelcorBool OnRoot(char letter) {
  const Drive drive = DriveOfLetter(letter);
  return drive == Drive::kRoot ? Succeed() : Fail(DriveError(drive));
}

PelcorBool FailWithLastSystemError() { return Fail(CodeOfSystemError(platform::LastSystemError())); }

}  // namespace

extern "C" {

PELCOR_API PelcorBool bWF_GetCurDir(char drive, char* buffer, uint32_t size) {
  return Guarded<PelcorBool>(0, [&]() -> PelcorBool {
    if (buffer == nullptr || size == 0) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
    buffer[0] = '\0';
    if (!OnRoot(drive)) return 0;
    const std::string current = platform::CurrentDirectory();
    if (current.empty()) return FailWithLastSystemError();
    if (current.size() >= size) return Fail(PELCOR_ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(buffer, current.c_str(), current.size() + 1);
    return Succeed();
  });
}

PELCOR_API PelcorBool bWF_SetCurDir(const char* path) {
  return Guarded<PelcorBool>(0, [&]() -> PelcorBool {
    if (path == nullptr) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
    if (platform::ChangeDirectory(path)) return Succeed();
    return Fail(CodeOfPathError(platform::LastSystemError(), path));
  });
}

PELCOR_API PelcorBool bWF_CreateDir(const char* path) {
  return Guarded<PelcorBool>(0, [&]() -> PelcorBool {
    if (path == nullptr) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
    // A relative path is made absolute against the current directory first.
    const std::string absolute =
        path[0] == '/' ? std::string(path) : platform::JoinPath(platform::CurrentDirectory(), path);
    const std::errc error = platform::MakeDirectory(absolute.c_str());
    if (error == std::errc{}) return Succeed();
    return Fail(error == std::errc::file_exists ? uint32_t(PELCOR_ERROR_ALREADY_EXISTS)
                                                : CodeOfPathError(error, absolute.c_str()));
  });
}

PELCOR_API PelcorBool bWF_RemoveDir(const char* path) {
  if (path == nullptr) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
  if (platform::RemoveDirectory(path)) return Succeed();
  return Fail(CodeOfPathError(platform::LastSystemError(), path));
}

PELCOR_API char cWF_GetDrive(void) {
  SetLastError(PELCOR_ERROR_NONE);
  return kRootDriveLetter;
}

PELCOR_API PelcorBool bWF_SetDrive(char drive) { return drive == 0 ? Fail(PELCOR_ERROR_INVALID_DRIVE) : OnRoot(drive); }

PELCOR_API PelcorBool bWF_IsDriveReady(char drive) {
  return drive == 0 ? Fail(PELCOR_ERROR_INVALID_DRIVE) : OnRoot(drive);
}

PELCOR_API int32_t lWF_DiskFree(char drive) {
  if (drive == 0) return FailWithValue<int32_t>(PELCOR_ERROR_INVALID_DRIVE, -1);
  if (!OnRoot(drive)) return -1;
  platform::VolumeInfo volume;
  const std::errc error = platform::QueryVolume(kRootPath, volume);
  if (error != std::errc{}) return FailWithValue<int32_t>(CodeOfSystemError(error), -1);
  // The product of the original's 32-bit arithmetic overflowed on volumes with more than 2 GiB
  // free; the result saturates instead, as the platform's own 32-bit query does.
  return volume.free_bytes > 0x7FFFFFFFu ? 0x7FFFFFFF : int32_t(volume.free_bytes);
}

PELCOR_API uint16_t wWF_DriveType(char drive, uint16_t* flags) {
  if (flags != nullptr) *flags = 0;
  const Drive which = DriveOfLetter(drive);
  if (which != Drive::kRoot) return FailWithValue<uint16_t>(DriveError(which), PELCOR_DRIVE_NO_ROOT);
  platform::VolumeInfo volume;
  const std::errc error = platform::QueryVolume(kRootPath, volume);
  if (error != std::errc{}) return FailWithValue<uint16_t>(CodeOfSystemError(error), PELCOR_DRIVE_UNKNOWN);
  if (flags != nullptr) {
    if (volume.case_preserving) *flags |= PELCOR_CASE_PRESERVED;
    if (volume.case_sensitive) *flags |= PELCOR_CASE_SENSITIVE;
    if (volume.unicode_names) *flags |= PELCOR_UNICODE_NAMES;
  }
  SetLastError(PELCOR_ERROR_NONE);
  return PELCOR_DRIVE_FIXED;
}

}  // extern "C"
