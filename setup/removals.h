// What the uninstaller does for each entry of the uninstall log. Every removal that fails (a
// file in use, a directory not empty, a key already gone) is ignored: the caller goes on with
// the next entry.
#pragma once

#include <string_view>

#include "setup/uninstall_log.h"

namespace ombrix::setup {

// Text files rewritten by RemoveFileLine are read whole; a larger file is left as it is.
inline constexpr size_t kMaxLineFileBytes = size_t(16) << 20;

// Runs the removal of one entry; entries of an unknown kind do nothing. Entries whose path is
// not a full path, or that name no key or no line, are skipped as damaged.
void PerformRemoval(const LogEntry& entry);

// The removals one by one.
void RemoveLoggedFile(std::string_view path, bool with_help_index);
void RemoveLoggedDirectory(std::string_view path);
void EmptyLoggedDirectory(std::string_view path);
// Deletes parent\name with all its subkeys, then every key along parent that is left with no
// subkey and no value, innermost first, so an uninstall leaves no empty keys of its own behind.
void RemoveLoggedKey(bool machine, std::string_view parent, std::string_view name);
// Removes every line of the file that begins with `line` (bytes compared over its length). The
// new text goes to the file's path with "__" appended and is renamed over it, so the file holds
// its old or its new text at every moment; its permission bits stay as they were.
void RemoveLinesBeginningWith(std::string_view path, std::string_view line);

}  // namespace ombrix::setup
