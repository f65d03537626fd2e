// Splitting a command line into a program and its arguments as the original platform's programs
// do it at start-up, so a registered command written for that platform starts the same way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ombrix::launcher {

// The program name first: up to the first blank or tab, or, when it begins with a quotation
// mark, up to the next one (no escapes). Then the arguments, separated by blanks and tabs:
//   quotation marks group blanks into one argument and are dropped; inside a quoted part two
//   quotation marks in a row give one literal quotation mark;
//   2n backslashes before a quotation mark give n backslashes and the mark groups; 2n + 1 give
//   n backslashes and a literal quotation mark; backslashes elsewhere are kept as they are;
//   a quoted part left open runs to the end of the line.
// Empty when the line holds no program name.
std::vector<std::string> SplitCommandLine(std::string_view line);

}  // namespace ombrix::launcher
