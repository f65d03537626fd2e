// The file types of scripts, plug-ins and clip files: default values under HKEY_CLASSES_ROOT of
// our registry, and the desktop's equivalent, a shared-mime-info package in the user's MIME
// database.
#pragma once

#include <string>

namespace ombrix::setup {

inline constexpr const char* kScriptMimeType = "application/x-ombrix-script";
// The package's file in "<data home>/mime/packages".
inline constexpr const char* kMimePackageName = "zorvex-ombrix.xml";

// The text of the MIME package.
std::string MimePackageText();
// The MIME database ("<dir>/mime") a package file ("<dir>/mime/packages/<name>") belongs to;
// empty for any other path.
std::string MimeDatabaseOfPackage(const std::string& path);
// After a package was removed from the database: refreshes it while it still has a packages
// folder (the desktop then forgets the package's types).
void RefreshAfterPackageRemoval(const std::string& mime_dir);

}  // namespace ombrix::setup
