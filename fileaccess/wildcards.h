// Matching names against search patterns with the original platform's wildcard rules.
#pragma once

#include <string_view>
#include <vector>

namespace ombrix::fileaccess {

// A pattern compiled once for a whole search. Letter case is ignored for ASCII letters. The
// rules are those of the original platform's directory search, which reads a pattern in its
// old DOS manner:
//   "*.*" matches every name, also names without a dot;
//   "*" matches any run of characters;
//   "*" followed by "." matches any run that does not take in the name's last dot;
//   "?" matches one character, but not a dot, and matches nothing at a dot or at the end of
//     the name ("a??" matches "a", "ab" and "abc");
//   "." followed by "?" or "*", or at the end, matches a dot or the end of the name ("*." and
//     "a.*" match "a").
class NamePattern {
 public:
  explicit NamePattern(std::string_view pattern);
  bool Matches(std::string_view name) const;

 private:
  std::vector<int> tokens_;  // bytes 0-255, or a wildcard token above them
};

}  // namespace ombrix::fileaccess
