// Replaying an uninstall log: its entries from the last to the first, each shown to an observer
// before its removal runs.
#pragma once

#include <string_view>

#include "setup/uninstall_log.h"

namespace ombrix::setup {

class ReplayObserver {
 public:
  virtual ~ReplayObserver() = default;
  // Before the removal of the entry at `position` (1 for the last entry, count for the first).
  // action is null for the kinds that leave the labels as they are; object is then empty.
  virtual void BeforeRemoval(int position, const char* action, std::string_view object) = 0;
};

// The two labels for an entry: "Removing File" and text A, "Removing Directory" and A,
// "Removing Registery Key" and B, "Removing File Line" and A. False for every other kind.
bool RemovalLabels(const LogEntry& entry, const char** action, std::string_view* object);

// Runs every entry's removal backwards. Afterwards each MIME database that lost one of its
// packages is refreshed, so the desktop forgets the types the package defined.
void ReplayUninstallLog(const UninstallLog& log, ReplayObserver* observer);

}  // namespace ombrix::setup
