// Files and their attributes: existence, whole-file reads, atomic replacement, read-only bit.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace ombrix::platform {

bool FileExists(const char* path);
bool DirectoryExists(const char* path);
bool CanOpenForReading(const char* path);
// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const char* path);
// At most max_bytes of the file, or nothing when it cannot be read. *complete (when given) tells
// whether that was the whole file.
std::optional<std::string> ReadFilePrefix(const char* path, size_t max_bytes, bool* complete);
// Writes data to a new temporary file beside path, flushes it to disk and renames it over path,
// so readers see the old file or the new one, never half of one. A read-only file at path is
// replaced as well. False (and path untouched) on any failure.
bool ReplaceFileAtomically(const char* path, const std::string& data);
// The same for a file the user may have set up, as cp and gm convert replace one: a symbolic link
// at path is followed and the file it names is replaced (the link stays), and an existing file
// keeps its permission bits. On failure the system's error is left for LastSystemError.
bool ReplaceFileKeepingAttributes(const char* path, const std::string& data);
// Tests only: called by ReplaceFileAtomically once the temporary file is written and flushed,
// just before the rename, so a test can stop or kill the writer at that point. Null: none.
using BeforeReplaceHook = void (*)(const char* temporary_path, const char* path);
void SetBeforeReplaceHook(BeforeReplaceHook hook);
// The hook set, for other writers that replace a file by renaming a finished copy over it.
BeforeReplaceHook CurrentBeforeReplaceHook();
bool RemoveFile(const char* path);
// Appends text at the end of the file, making the file (and no folder) when it is missing; a
// symbolic link at path is refused. One write, so lines of concurrent writers never interleave.
bool AppendToFile(const char* path, const std::string& text);
// Makes an empty file at path only when no file of that name exists, in one step, so that two
// processes choosing names in the same folder never both get the same one.
enum class Claim { kMade, kExists, kFailed };
Claim MakeNewEmptyFile(const char* path);
// Read-only means no write permission bits; clearing it restores the owner's write bit.
bool IsReadOnly(const char* path);
bool SetReadOnly(const char* path, bool read_only);
bool MakeDirectories(const char* path);
// Makes a new private directory from a pattern ending in XXXXXX; empty on failure.
std::string MakeTemporaryDirectory(const std::string& pattern);
bool RemoveDirectory(const char* path);
// True when path is a directory in which this process may create and remove files.
bool CanWriteDirectory(const char* path);
// Takes away group and other access (mode 0700 for a directory); false when it cannot.
bool RestrictToOwner(const char* path);

}  // namespace ombrix::platform
