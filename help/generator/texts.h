// Small text helpers of the help generator: catalogue texts (Windows-1252 bytes) as UTF-8, HTML
// escaping, the file names of pages and pictures, and trimming.
#pragma once

#include <string>
#include <string_view>

#include "core/text/windows1252.h"

namespace ombrix::help {

// A catalogue or settings text, Windows-1252 bytes, as UTF-8.
using text::Utf8FromAnsi;
// Text with &, <, > and " escaped for HTML.
std::string HtmlEscape(std::string_view text);
// A filter name as the label a window shows: the menus' doubled ampersand taken as one.
std::string DisplayName(std::string_view utf8_name);
// The base name of a filter's page and picture: lower-case letters and digits, other runs as
// one '-', "&&" as "and" ("Black && White" gives "black-and-white", "16/9" gives "16-9").
std::string PageSlug(std::string_view utf8_name);
// Without blanks and tabs at both ends.
std::string Trim(std::string_view text);

}  // namespace ombrix::help
