// The removals of the uninstall log's entry kinds.
#include "setup/removals.h"

#include <string>
#include <vector>

#include "core/platform/directory_entries.h"
#include "core/platform/environment.h"
#include "core/platform/file_modes.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/registry.h"
#include "core/platform/registry_file.h"
#include "core/text/ascii.h"

namespace ombrix::setup {
namespace {

using platform::RegistryRoot;

constexpr std::string_view kHelpExtension = "Hlp";
constexpr std::string_view kHelpIndexExtension = ".Gid";

bool IsFullPath(std::string_view path) { return platform::IsAbsolutePath(std::string(path).c_str()); }

// Keys along a path, shortest first: "A\B\" gives "A\", "A\B\".
std::vector<std::string> KeyPrefixes(std::string_view path) {
  std::vector<std::string> prefixes;
  std::string prefix;
  for (const std::string& name : platform::SplitKeyPath(path)) {
    prefix += name;
    prefix += '\\';
    prefixes.push_back(prefix);
  }
  return prefixes;
}

void PruneEmptyKeys(RegistryRoot root, std::string_view parent) {
  const std::vector<std::string> prefixes = KeyPrefixes(parent);
  for (auto key = prefixes.rbegin(); key != prefixes.rend(); ++key) {
    const auto subkeys = platform::RegistryEnumerateSubkeys(root, *key);
    const auto values = platform::RegistryEnumerateValues(root, *key);
    if (!subkeys || !values || !subkeys->empty() || !values->empty()) return;
    if (!platform::RegistryDeleteKey(root, *key)) return;
  }
}

}  // namespace

void RemoveLoggedFile(std::string_view path_text, bool with_help_index) {
  if (!IsFullPath(path_text)) return;
  const std::string path(path_text);
  if (platform::FileExists(path.c_str())) {
    platform::ClearFileAttributes(path.c_str());
    platform::RemoveFile(path.c_str());
  }
  if (!with_help_index) return;
  // The help viewer keeps its index of a help file beside it, under the extension ".Gid".
  const size_t dot = path.rfind('.');
  if (dot != std::string::npos && text::EqualsIgnoringCase(std::string_view(path).substr(dot + 1), kHelpExtension))
    platform::RemoveFile((path.substr(0, dot) + std::string(kHelpIndexExtension)).c_str());
}

void RemoveLoggedDirectory(std::string_view path) {
  if (IsFullPath(path)) platform::RemoveDirectory(std::string(path).c_str());
}

void EmptyLoggedDirectory(std::string_view path_text) {
  if (!IsFullPath(path_text)) return;
  const std::string dir(path_text);
  for (const std::string& name : platform::ListFiles(dir)) RemoveLoggedFile(platform::JoinPath(dir, name), false);
}

void RemoveLoggedKey(bool machine, std::string_view parent, std::string_view name) {
  // An empty name would make the parent itself the key to delete.
  if (name.empty()) return;
  const RegistryRoot root = machine ? RegistryRoot::kLocalMachine : RegistryRoot::kCurrentUser;
  std::string key(parent);
  if (!key.empty() && key.back() != '\\') key += '\\';
  key += name;
  platform::RegistryDeleteKey(root, key);
  PruneEmptyKeys(root, parent);
}

void RemoveLinesBeginningWith(std::string_view path_text, std::string_view line) {
  // Every line begins with the empty text: such an entry would wipe the file.
  if (!IsFullPath(path_text) || line.empty()) return;
  const std::string path(path_text);
  const std::optional<unsigned> mode = platform::FilePermissions(path.c_str());
  if (!mode || platform::IsDirectory(path)) return;
  bool complete = false;
  const std::optional<std::string> old_text = platform::ReadFilePrefix(path.c_str(), kMaxLineFileBytes, &complete);
  if (!old_text || !complete) return;
  // Whole lines, however long: a line is never torn into pieces that are judged one by one.
  std::string kept;
  kept.reserve(old_text->size());
  for (size_t start = 0; start < old_text->size();) {
    const size_t end = old_text->find('\n', start);
    const size_t next = end == std::string::npos ? old_text->size() : end + 1;
    const std::string_view current = std::string_view(*old_text).substr(start, next - start);
    if (current.substr(0, line.size()) != line) kept += current;
    start = next;
  }
  if (kept == *old_text) return;
  platform::ReplaceFileThrough(path.c_str(), (path + "__").c_str(), kept, *mode);
}

void PerformRemoval(const LogEntry& entry) {
  const std::string_view a = EntryText(entry.a);
  const std::string_view b = EntryText(entry.b);
  switch (static_cast<EntryKind>(entry.kind)) {
    case EntryKind::RemoveFile:
      RemoveLoggedFile(a, true);
      return;
    case EntryKind::RemoveDirectory:
      RemoveLoggedDirectory(a);
      return;
    case EntryKind::RemoveUserKey:
      RemoveLoggedKey(false, a, b);
      return;
    case EntryKind::RemoveFileLine:
      RemoveLinesBeginningWith(a, b);
      return;
    case EntryKind::RemoveMachineKey:
      RemoveLoggedKey(true, a, b);
      return;
    case EntryKind::EmptyDirectory:
      EmptyLoggedDirectory(a);
      return;
    case EntryKind::RemoveDirectoryTree:
      EmptyLoggedDirectory(a);
      RemoveLoggedDirectory(a);
      return;
  }
}

}  // namespace ombrix::setup
