// Desktop entries (".desktop" files), the start menu's links: a program is started by its Exec
// line in its own folder, any other file is opened through its URL by the desktop's handler for
// its type (a help book in the help viewer).
#pragma once

#include <string>

namespace ombrix::setup {

struct DesktopLink {
  std::string name;       // the menu text
  std::string target;     // full path of the file the link starts or opens
  std::string mime_type;  // for a program: a file type it opens, given as its Exec argument
};

// The entry's text; a target that is an executable file makes an application entry.
std::string FormatDesktopEntry(const DesktopLink& link, bool target_is_program);

// One Exec argument: quoted, with the characters the format reserves escaped.
std::string QuoteExecArgument(const std::string& argument);
// A file URL for a full path, with every byte outside the unreserved set percent-encoded.
std::string FileUrl(const std::string& path);

}  // namespace ombrix::setup
