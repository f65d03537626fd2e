// The desktop's shared MIME database: a folder whose "packages" subfolder holds the type
// definitions and whose other files update-mime-database derives from them.
#pragma once

#include <string>

namespace ombrix::platform {

enum class MimeRefresh { kDone, kToolMissing, kFailed };

// Runs update-mime-database on mime_dir when the program is on the PATH and waits for it (at most
// a minute). kToolMissing when it is not installed.
MimeRefresh RefreshMimeDatabase(const std::string& mime_dir);

}  // namespace ombrix::platform
