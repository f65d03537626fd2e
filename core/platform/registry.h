// The registry: keys with string values under three roots, each root kept in one REGEDIT4 text
// file ("HKEY_CURRENT_USER.reg", ...) in the registry directory. The settings store, the setup
// program, the uninstaller and the web launcher all go through these functions.
//
// Key paths are key names separated by backslashes ("Software\\Zorvex\\Ombrix\\"); empty names
// are skipped, so leading, trailing and doubled backslashes do not matter, and an empty path is
// the root key itself. Key and value names compare without regard to ASCII letter case; the
// first spelling of a name is the one kept. The value name "" is a key's default value ("@" in
// the file). Names and texts are bytes (Windows-1252) passed through unchanged; a name or text
// that holds a line break or a NUL byte cannot be stored.
//
// Every change takes an exclusive lock on the root's lock file, reads the file again, applies
// the change and replaces the file atomically, so concurrent writers (threads or processes) never
// lose each other's changes and readers, which take no lock, see the old file or the new one.
// A damaged file is reported once per process on standard error and read as far as it parses;
// changes keep its damaged lines as they stand (registry_file.h), so no key it held is lost.
// A file that cannot be read whole (unreadable, or larger than kMaxRegistryFileBytes) is never
// written: changes to that root fail.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ombrix::platform {

enum class RegistryRoot { kCurrentUser, kLocalMachine, kClassesRoot };

inline constexpr size_t kMaxRegistryFileBytes = size_t(16) << 20;

// "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT".
const char* RegistryRootName(RegistryRoot root);
// The root of that name (letter case ignored), or nothing.
std::optional<RegistryRoot> RegistryRootFromName(std::string_view name);
// $OMBRIX_REGISTRY_DIR when set, else ${XDG_CONFIG_HOME:-$HOME/.config}/zorvex/registry.
std::string RegistryDirectory();
// The file that holds a root: the registry directory joined with "<root name>.reg".
std::string RegistryFilePath(RegistryRoot root);

// Reading. None of these creates a key, a file or a directory.
bool RegistryKeyExists(RegistryRoot root, std::string_view key_path);
// A string value's text; nothing when the key or value is missing or the value is of another type.
std::optional<std::string> RegistryQueryString(RegistryRoot root, std::string_view key_path,
                                               std::string_view value_name);
// Names of the key's direct subkeys in stored order; nothing when the key is missing.
std::optional<std::vector<std::string>> RegistryEnumerateSubkeys(RegistryRoot root, std::string_view key_path);
// Names of the key's values (of every type) in stored order; nothing when the key is missing.
std::optional<std::vector<std::string>> RegistryEnumerateValues(RegistryRoot root, std::string_view key_path);

// Changes. Each is one locked, atomic replacement of the root's file; false when it failed and
// nothing changed.
// Creates every missing key along the path. True when the key exists afterwards.
bool RegistryCreateKey(RegistryRoot root, std::string_view key_path);
// Stores a string value, creating every missing key along the path first.
bool RegistrySetString(RegistryRoot root, std::string_view key_path, std::string_view value_name,
                       std::string_view text);
// False when the key or value is missing.
bool RegistryDeleteValue(RegistryRoot root, std::string_view key_path, std::string_view value_name);
// Deletes the key with all its subkeys and values. False when it is missing or is the root.
bool RegistryDeleteKey(RegistryRoot root, std::string_view key_path);

}  // namespace ombrix::platform
