// The registry's files: reading a root's file, and locked atomic changes to it.
#include "core/platform/registry.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <utility>

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/registry_file.h"
#include "core/text/ascii.h"

namespace ombrix::platform {
namespace {

constexpr RegistryRoot kRoots[] = {RegistryRoot::kCurrentUser, RegistryRoot::kLocalMachine, RegistryRoot::kClassesRoot};

// One report per file and kind of trouble for the life of the process.
void ReportOnce(const std::string& key, const char* format, const std::string& path, size_t line) {
  static std::mutex mutex;
  static std::set<std::string> reported;
  std::lock_guard<std::mutex> hold(mutex);
  if (!reported.insert(key + '\n' + path).second) return;
  std::fprintf(stderr, format, path.c_str(), line);
  std::fflush(stderr);
}

struct LoadedRoot {
  RegistryDocument document;
  std::string text;   // the file as read
  bool whole = true;  // false: unreadable or too long, so it must not be rewritten
};

LoadedRoot LoadRoot(RegistryRoot root) {
  LoadedRoot loaded;
  const std::string path = RegistryFilePath(root);
  bool complete = false;
  std::optional<std::string> text = ReadFilePrefix(path.c_str(), kMaxRegistryFileBytes, &complete);
  if (!text) {
    if (!FileExists(path.c_str())) return loaded;  // no file yet: an empty root
    loaded.whole = false;
    ReportOnce("unreadable", "Ombrix: cannot read the registry file \"%s\"; it is left as it is.\n", path, 0);
    return loaded;
  }
  if (!complete) {
    loaded.whole = false;
    ReportOnce("too long",
               "Ombrix: the registry file \"%s\" is longer than %zu bytes; only its start is read "
               "and it is never rewritten.\n",
               path, kMaxRegistryFileBytes);
  }
  loaded.text = std::move(*text);
  loaded.document = ParseRegistryText(RegistryRootName(root), loaded.text);
  if (loaded.document.first_damaged_line != 0) {
    ReportOnce("damaged",
               "Ombrix: the registry file \"%s\" is damaged from line %zu on; it is read as far as "
               "it parses, and what does not parse is kept as it stands.\n",
               path, loaded.document.first_damaged_line);
  }
  return loaded;
}

// An exclusive advisory lock on the root's lock file, held while the object lives.
class RootLock {
 public:
  explicit RootLock(const std::string& lock_path) {
    fd_ = open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) return;
    while (flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) {
        close(fd_);
        fd_ = -1;
        return;
      }
    }
  }
  ~RootLock() {
    if (fd_ >= 0) close(fd_);  // closing the descriptor releases the lock
  }
  RootLock(const RootLock&) = delete;
  RootLock& operator=(const RootLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Temporary files of a writer that died between writing and renaming ("." name ".XXXXXX").
// Under the lock no other writer of this file is running, so every such file is stale.
void RemoveStaleTemporaries(const std::string& dir, const std::string& file_name) {
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) return;
  const std::string prefix = "." + file_name + ".";
  while (const dirent* entry = readdir(d)) {
    const std::string_view name = entry->d_name;
    if (name.size() == prefix.size() + 6 && name.substr(0, prefix.size()) == prefix)
      unlink(JoinPath(dir, std::string(name)).c_str());
  }
  closedir(d);
}

enum class Change { kNone, kChanged, kFailed };

// Runs `change` on the root's tree under the lock and writes the result when it changed.
template <typename ChangeFunction>
bool ModifyRoot(RegistryRoot root, ChangeFunction&& change) {
  const std::string dir = RegistryDirectory();
  if (!MakeDirectories(dir.c_str())) return false;
  const std::string path = RegistryFilePath(root);
  RootLock lock(JoinPath(dir, std::string(RegistryRootName(root)) + ".lock"));
  if (!lock.held()) return false;
  RemoveStaleTemporaries(dir, FileNamePart(path.c_str()));
  LoadedRoot loaded = LoadRoot(root);
  if (!loaded.whole) return false;
  const Change result = change(loaded.document);
  if (result == Change::kFailed) return false;
  if (result == Change::kNone) return true;
  const std::string text = FormatRegistryText(RegistryRootName(root), loaded.document);
  if (text == loaded.text) return true;
  return ReplaceFileAtomically(path.c_str(), text);
}

bool AllStorable(const std::vector<std::string>& names) {
  for (const std::string& n : names)
    if (!IsStorableText(n)) return false;
  return true;
}

// Creates the keys along names; reports whether anything was added.
RegistryKeyNode& CreatePath(RegistryDocument& document, const std::vector<std::string>& names, bool& added) {
  RegistryKeyNode* node = &document.root;
  for (const std::string& name : names) {
    RegistryKeyNode* child = node->FindSubkey(name);
    if (child == nullptr) {
      added = true;
      child = &node->SubkeyOrNew(name);
    }
    node = child;
  }
  return *node;
}

}  // namespace

const char* RegistryRootName(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kCurrentUser:
      return "HKEY_CURRENT_USER";
    case RegistryRoot::kLocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case RegistryRoot::kClassesRoot:
      return "HKEY_CLASSES_ROOT";
  }
  return "HKEY_CURRENT_USER";
}

std::optional<RegistryRoot> RegistryRootFromName(std::string_view name) {
  for (RegistryRoot root : kRoots)
    if (text::EqualsIgnoringCase(name, RegistryRootName(root))) return root;
  return std::nullopt;
}

std::string RegistryDirectory() {
  if (const char* dir = std::getenv("OMBRIX_REGISTRY_DIR"); dir != nullptr && *dir != '\0') return dir;
  std::string config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') {
    config = xdg;
  } else {
    const char* home = std::getenv("HOME");
    config = JoinPath(home != nullptr ? home : "", ".config");
  }
  return JoinPath(JoinPath(config, "zorvex"), "registry");
}

std::string RegistryFilePath(RegistryRoot root) {
  return JoinPath(RegistryDirectory(), std::string(RegistryRootName(root)) + ".reg");
}

bool RegistryKeyExists(RegistryRoot root, std::string_view key_path) {
  return LoadRoot(root).document.Find(SplitKeyPath(key_path)) != nullptr;
}

std::optional<std::string> RegistryQueryString(RegistryRoot root, std::string_view key_path,
                                               std::string_view value_name) {
  LoadedRoot loaded = LoadRoot(root);
  const RegistryKeyNode* key = loaded.document.Find(SplitKeyPath(key_path));
  if (key == nullptr) return std::nullopt;
  const RegistryValue* value = key->FindValue(value_name);
  if (value == nullptr || !value->is_string) return std::nullopt;
  return value->data;
}

std::optional<std::vector<std::string>> RegistryEnumerateSubkeys(RegistryRoot root, std::string_view key_path) {
  LoadedRoot loaded = LoadRoot(root);
  const RegistryKeyNode* key = loaded.document.Find(SplitKeyPath(key_path));
  if (key == nullptr) return std::nullopt;
  std::vector<std::string> names;
  for (const RegistryKeyNode& k : key->subkeys) names.push_back(k.name);
  return names;
}

std::optional<std::vector<std::string>> RegistryEnumerateValues(RegistryRoot root, std::string_view key_path) {
  LoadedRoot loaded = LoadRoot(root);
  const RegistryKeyNode* key = loaded.document.Find(SplitKeyPath(key_path));
  if (key == nullptr) return std::nullopt;
  std::vector<std::string> names;
  for (const RegistryValue& v : key->values) names.push_back(v.name);
  return names;
}

bool RegistryCreateKey(RegistryRoot root, std::string_view key_path) {
  const std::vector<std::string> names = SplitKeyPath(key_path);
  if (!AllStorable(names)) return false;
  return ModifyRoot(root, [&](RegistryDocument& document) {
    bool added = false;
    CreatePath(document, names, added);
    return added ? Change::kChanged : Change::kNone;
  });
}

bool RegistrySetString(RegistryRoot root, std::string_view key_path, std::string_view value_name,
                       std::string_view text) {
  const std::vector<std::string> names = SplitKeyPath(key_path);
  if (!AllStorable(names) || !IsStorableText(value_name) || !IsStorableText(text)) return false;
  return ModifyRoot(root, [&](RegistryDocument& document) {
    bool added = false;
    CreatePath(document, names, added).SetString(value_name, text);
    return Change::kChanged;  // an unchanged text is caught by comparing the file texts
  });
}

bool RegistryDeleteValue(RegistryRoot root, std::string_view key_path, std::string_view value_name) {
  const std::vector<std::string> names = SplitKeyPath(key_path);
  return ModifyRoot(root, [&](RegistryDocument& document) {
    RegistryKeyNode* key = document.Find(names);
    return key != nullptr && key->RemoveValue(value_name) ? Change::kChanged : Change::kFailed;
  });
}

bool RegistryDeleteKey(RegistryRoot root, std::string_view key_path) {
  std::vector<std::string> names = SplitKeyPath(key_path);
  if (names.empty()) return false;
  const std::string last = names.back();
  names.pop_back();
  return ModifyRoot(root, [&](RegistryDocument& document) {
    RegistryKeyNode* parent = document.Find(names);
    return parent != nullptr && parent->RemoveSubkey(last) ? Change::kChanged : Change::kFailed;
  });
}

}  // namespace ombrix::platform
