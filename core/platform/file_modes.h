// File permission bits (the original platform's attribute byte) and replacing a file through a
// copy of a chosen name.
#pragma once

#include <optional>
#include <string>

namespace ombrix::platform {

// The permission bits of a file (after links), or nothing when it does not exist.
std::optional<unsigned> FilePermissions(const char* path);
bool SetFilePermissions(const char* path, unsigned mode);
// "Attributes to normal": a file (never a directory, never through a symbolic link) gets its
// owner's write bit back. True when the path is then writable by its owner or is a link.
bool ClearFileAttributes(const char* path);
// A regular file that may be run.
bool IsExecutableFile(const char* path);
// Writes data to temporary_path (made or emptied), gives it the permission bits `mode`, flushes
// it and renames it over path, so that path holds the old text or the new one at every moment.
// Calls the before-replace hook of files.h just before the rename. On failure path is untouched
// and the temporary file is removed.
bool ReplaceFileThrough(const char* path, const char* temporary_path, const std::string& data, unsigned mode);

}  // namespace ombrix::platform
