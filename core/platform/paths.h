// Path texts: separators, file-name parts, joins and the running program's location.
#pragma once

#include <string>

namespace ombrix::platform {

inline constexpr char kPathSeparator = '/';

// True for either separator, so that paths written on Windows still split correctly.
inline bool IsSeparator(char c) { return c == '/' || c == '\\'; }
// The text after the last separator of either kind (the whole text when there is none).
const char* FileNamePart(const char* path);
// Everything before the last separator; empty when there is none.
std::string DirectoryPart(const std::string& path);
// Joins with the native separator; no doubled separator when dir already ends with one.
std::string JoinPath(const std::string& dir, const std::string& name);
// Absolute: starts with a separator, or names a drive ("C:...").
bool IsAbsolutePath(const char* path);
// Directory that holds the running executable.
std::string ExecutableDirectory();

}  // namespace ombrix::platform
