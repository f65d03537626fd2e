// Named files and directories with the system's own error: status, one-level directories,
// renames that never replace, copies that replace atomically, and extended attributes.
#pragma once

#include <cstdint>
#include <string>
#include <system_error>

namespace ombrix::platform {

// The error of the last failed call of this thread into files.h or environment.h (those
// report only true or false); read it right after the failure.
std::errc LastSystemError();

enum class EntryKind { kRegular, kDirectory, kOther };

struct EntryStatus {
  EntryKind kind = EntryKind::kOther;
  uint64_t size = 0;
  int64_t modified = 0;        // last modification, seconds since 1970 (UTC)
  bool any_write_bit = false;  // some write permission bit is set
};

// Follows symbolic links.
std::errc QueryEntry(const char* path, EntryStatus& status);

// One directory level (permissions 0777 less the umask).
std::errc MakeDirectory(const char* path);

// Renames or moves a file or directory; an existing target is left alone and gives
// std::errc::file_exists.
std::errc RenameWithoutReplacing(const char* from, const char* to);

// Copies a regular file over target through a temporary file beside it that is flushed to disk
// and renamed, so target is the old file or the whole copy, never half of one. The copy gets the
// source's permission bits.
std::errc CopyFileOver(const char* source, const char* target);

// Extended attributes of a file or directory (symbolic links followed). A missing attribute
// gives std::errc::no_message_available; a file system without them gives
// std::errc::operation_not_supported.
std::errc ReadExtendedAttribute(const char* path, const char* name, std::string& value);
std::errc WriteExtendedAttribute(const char* path, const char* name, const std::string& value);
// Removing an attribute that is not there succeeds.
std::errc RemoveExtendedAttribute(const char* path, const char* name);

}  // namespace ombrix::platform
