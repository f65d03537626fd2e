// The backward replay.
#include "setup/replay.h"

#include <set>
#include <string>

#include "core/platform/files.h"
#include "setup/file_types.h"
#include "setup/removals.h"

namespace ombrix::setup {

bool RemovalLabels(const LogEntry& entry, const char** action, std::string_view* object) {
  switch (static_cast<EntryKind>(entry.kind)) {
    case EntryKind::RemoveFile:
      *action = "Removing File";
      *object = EntryText(entry.a);
      return true;
    case EntryKind::RemoveDirectory:
      *action = "Removing Directory";
      *object = EntryText(entry.a);
      return true;
    case EntryKind::RemoveUserKey:
      *action = "Removing Registery Key";
      *object = EntryText(entry.b);
      return true;
    case EntryKind::RemoveFileLine:
      *action = "Removing File Line";
      *object = EntryText(entry.a);
      return true;
    default:
      return false;
  }
}

void ReplayUninstallLog(const UninstallLog& log, ReplayObserver* observer) {
  const int count = static_cast<int>(log.entries.size());
  std::set<std::string> mime_databases;
  for (int i = count - 1; i >= 0; --i) {
    const LogEntry& entry = log.entries[size_t(i)];
    if (observer != nullptr) {
      const char* action = nullptr;
      std::string_view object;
      RemovalLabels(entry, &action, &object);
      observer->BeforeRemoval(count - i, action, object);
    }
    PerformRemoval(entry);
    if (entry.kind == static_cast<int32_t>(EntryKind::RemoveFile)) {
      const std::string database = MimeDatabaseOfPackage(std::string(EntryText(entry.a)));
      if (!database.empty()) mime_databases.insert(database);
    }
  }
  for (const std::string& database : mime_databases) RefreshAfterPackageRemoval(database);
}

}  // namespace ombrix::setup
