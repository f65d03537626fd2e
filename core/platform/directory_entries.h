// Entries of directories as the installation tools need them: the files of a folder, names
// looked up without regard to letter case (as on the original platform), and file identity.
#pragma once

#include <string>
#include <vector>

namespace ombrix::platform {

// Names of the entries of dir that are not directories, sorted; a symbolic link counts as a file
// and is never followed. Empty when dir cannot be read.
std::vector<std::string> ListFiles(const std::string& dir);
// The full path of the entry of dir named `name` without regard to ASCII letter case: the exact
// spelling when it exists, else the first such entry in name order. Empty when there is none.
std::string FindEntryIgnoringCase(const std::string& dir, const std::string& name);
// base joined with relative (either separator), each component looked up as FindEntryIgnoringCase
// does. Empty when a component does not exist.
std::string ResolveIgnoringCase(const std::string& base, const std::string& relative);
// The entries of dir for a walk that stays on one file system: the names of its files (anything
// that is not a directory; links are never followed) and of its subdirectories that are real
// directories on dir's own file system (no links, no mount points of other file systems), each
// list in name order. Both empty when dir cannot be read.
struct OneFileSystemListing {
  std::vector<std::string> files;
  std::vector<std::string> subdirectories;
};
OneFileSystemListing ListOnOneFileSystem(const std::string& dir);
// True when both paths name the same existing file or directory (after links).
bool IsSameFile(const std::string& a, const std::string& b);

}  // namespace ombrix::platform
