// The uninstall log "Install.Nui": what the setup program added, as entries that the uninstaller
// takes back from the last to the first. One reader and one writer of its byte layout live here.
//
// Layout, every integer 32-bit little-endian, every text 8-bit (Windows-1252):
//   0    header length, always 292 (the bytes from offset 4 to the first entry)
//   4    28 bytes: the zero-terminated magic "Zorvex\xA7UninstallScript"
//   32   version, the bit pattern of the single-precision 1.0 (0x3F800000)
//   36   entry count
//   40   256 bytes: the zero-terminated name shown in the uninstaller's caption
//   296  the entries: kind, then text A and text B, each as its length and its bytes without a
//        terminator
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ombrix::setup {

enum class EntryKind : int32_t {
  RemoveFile = 0,           // A: a file; a ".Hlp" file also takes its ".Gid" index
  RemoveDirectory = 1,      // A: a directory, removed only when empty
  RemoveUserKey = 2,        // A: parent key path under HKEY_CURRENT_USER ending with "\", B: key name
  RemoveFileLine = 3,       // A: a text file, B: the line with its "\n"; lines beginning with B go
  RemoveMachineKey = 4,     // as RemoveUserKey, under HKEY_LOCAL_MACHINE
  EmptyDirectory = 5,       // A: a directory whose files are deleted
  RemoveDirectoryTree = 6,  // as EmptyDirectory, then the directory is removed
};

inline constexpr int32_t kLogHeaderLength = 292;
inline constexpr char kLogMagic[] = "Zorvex\xA7UninstallScript";
inline constexpr size_t kLogMagicBytes = 28;
inline constexpr uint32_t kLogVersionBits = 0x3F800000;  // 1.0f
inline constexpr size_t kLogNameBytes = 256;
inline constexpr size_t kLogEntriesOffset = 4 + kLogHeaderLength;
// Kind and the two lengths: the least an entry takes.
inline constexpr size_t kLogEntryMinimumBytes = 12;
// A log is a few kilobytes; a file beyond this is refused before it is read.
inline constexpr size_t kMaxLogFileBytes = size_t(64) << 20;

static_assert(sizeof(kLogMagic) <= kLogMagicBytes);
static_assert(4 + kLogMagicBytes + 4 + 4 + kLogNameBytes == kLogEntriesOffset);

struct LogEntry {
  int32_t kind = 0;  // an EntryKind, or any other number as read (such entries are skipped)
  std::string a;
  std::string b;

  bool operator==(const LogEntry&) const = default;
};

struct UninstallLog {
  std::string name;  // at most kLogNameBytes - 1 bytes are stored
  std::vector<LogEntry> entries;

  void Add(EntryKind kind, std::string a, std::string b = {}) {
    entries.push_back(LogEntry{static_cast<int32_t>(kind), std::move(a), std::move(b)});
  }
  bool operator==(const UninstallLog&) const = default;
};

// The log's bytes. A name longer than the field holds is cut to fit with its terminator.
std::string SerializeUninstallLog(const UninstallLog& log);
// Parses the bytes of a log. Bad input is refused whole: nothing, with the reason in *reason.
std::optional<UninstallLog> ParseUninstallLog(std::string_view bytes, std::string* reason);
// Reads and parses the file; a file that cannot be read, or is larger than kMaxLogFileBytes, is
// refused like a malformed one.
std::optional<UninstallLog> ReadUninstallLog(const std::string& path, std::string* reason);
// Replaces the file atomically with the log. False when it could not be written.
bool WriteUninstallLog(const std::string& path, const UninstallLog& log);

// A text as the removals use it: the bytes before its first zero byte, as a C string would hold.
std::string_view EntryText(const std::string& text);

}  // namespace ombrix::setup
