// Drive letters on a system with one root: drive C is the root "/" and always the current drive;
// the other letters are drives that are never ready.
#pragma once

#include <cstdint>

namespace ombrix::fileaccess {

inline constexpr char kRootDriveLetter = 'C';
inline constexpr const char* kRootPath = "/";

enum class Drive { kRoot, kNotReady, kInvalid };

// A letter of either case; 0 names the current drive.
Drive DriveOfLetter(char letter);
// The drive a path names with a leading "X:", or the current one.
Drive DriveOfPath(const char* path);
// PELCOR_ERROR_NOT_READY or PELCOR_ERROR_INVALID_DRIVE.
uint32_t DriveError(Drive drive);

}  // namespace ombrix::fileaccess
