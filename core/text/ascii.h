// ASCII letter-case helpers for names that compare without regard to case (registry keys and
// values, script sections and keys). Bytes above 0x7F are compared exactly: texts are
// Windows-1252 and only the ASCII letters fold.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ombrix::text {

inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

inline bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// Hash and equality for unordered containers keyed by names that ignore letter case; both are
// transparent, so a lookup by string_view needs no lower-case copy.
struct CaseInsensitiveHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const {
    size_t h = 14695981039346656037ull;  // FNV-1a over the folded bytes
    for (char c : s) h = (h ^ static_cast<unsigned char>(AsciiLower(c))) * 1099511628211ull;
    return h;
  }
};

struct CaseInsensitiveEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return EqualsIgnoringCase(a, b); }
};

}  // namespace ombrix::text
