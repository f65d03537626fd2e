// The label the options window shows for the content directory.
#pragma once

#include <string>

namespace ombrix::editor {

// A content directory label holds this many characters before it is shortened.
inline constexpr size_t kContentLabelLength = 20;

// "(none)" for an empty directory; the directory as it stands when it has at most 20 characters
// (its trailing separator counted); otherwise a shortened form that keeps only the last folder
// name, with the separator in front:
//   - a path with a drive letter keeps its drive: "C:\...\Textures" (the Windows form, which
//     scripts and settings written on Windows still hold);
//   - an absolute POSIX path starts with "/..." and keeps its trailing separator, so the label
//     still reads as a folder: "/home/artist/projects/textures/" shows "/.../textures/";
//   - a relative path gives ".../textures/".
std::string ContentDirectoryLabel(const std::string& directory);

}  // namespace ombrix::editor
