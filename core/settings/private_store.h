// A settings store of one run's own, filled with the defaults of an installation directory, for
// programs asked to work on an installation the user's settings do not know (--root).
#pragma once

#include <string>

namespace ombrix {

// Makes a new empty store directory under $TMPDIR (default /tmp), makes it the process's
// settings store (OMBRIX_REGISTRY_DIR, which the programs this process starts inherit) and
// writes the initial settings of install_dir into it. Returns the directory; empty, with the
// process's store unchanged, when it cannot be made.
std::string CreatePrivateSettingsStore(const std::string& install_dir);
// Removes a store made by CreatePrivateSettingsStore with its files. Empty: nothing to do.
void RemovePrivateSettingsStore(const std::string& directory);

}  // namespace ombrix
