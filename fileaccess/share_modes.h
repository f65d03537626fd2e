// Open modes and sharing: the 16-bit mode word, and sharing between the opens of this library
// (in any process) kept with shared locks on marker bytes far beyond any data.
#pragma once

#include <cstdint>
#include <system_error>

#include "core/platform/file_handles.h"

namespace ombrix::fileaccess {

struct OpenMode {
  bool read = false;          // 0x0001
  bool write = false;         // 0x0002
  bool others_read = false;   // 0x0004, or 0x0020, or the share-compatibility switch
  bool others_write = false;  // 0x0008, or 0x0020, or the share-compatibility switch
  bool existing = false;      // 0x8000: open an existing file instead of creating or truncating
};

OpenMode DecodeOpenMode(uint16_t mode, bool share_compat);

enum class Sharing { kGranted, kViolation, kFailed };

// Takes the open's sharing markers on a freshly opened descriptor and checks them against the
// other opens of the file: kViolation when they conflict, kFailed (with the error) when the
// markers could not be handled; in both cases the markers are released again. A descriptor that cannot be read (a
// write-only open of a file without read permission) cannot carry markers and is let through.
//
// Each open holds a shared lock on "has read" and "has write" for the access it has and on
// "denies read" and "denies write" for the sharing it refuses; an open conflicts when another
// open holds a marker that its own access or refusal rules out. Markers are taken before they
// are checked, so of two opens racing each other at least one sees the other.
Sharing ClaimSharing(const platform::OpenedFile& file, const OpenMode& mode, std::errc& error);

}  // namespace ombrix::fileaccess
