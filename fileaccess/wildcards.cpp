// Wildcard matching over tokens, with a table of (token, character) positions already tried so
// that patterns with many stars stay linear in the name's length times the pattern's.
#include "fileaccess/wildcards.h"

#include <vector>

#include "core/text/ascii.h"

namespace ombrix::fileaccess {
namespace {

// Wildcard tokens, above every byte value.
constexpr int kAny = 256;       // "*"
constexpr int kAnyToDot = 257;  // "*" before "."
constexpr int kOne = 258;       // "?"
constexpr int kDotOrEnd = 259;  // "." before "?", "*" or the end

int Folded(char c) { return static_cast<unsigned char>(text::AsciiLower(c)); }

class Matcher {
 public:
  Matcher(const std::vector<int>& tokens, std::string_view name)
      : tokens_(tokens), name_(name), last_dot_(name.rfind('.')), tried_((tokens.size() + 1) * (name.size() + 1)) {}

  bool Match(size_t t, size_t n) {
    if (t == tokens_.size()) return n == name_.size();
    std::vector<bool>::reference tried = tried_[t * (name_.size() + 1) + n];
    if (tried) return false;  // a position tried before failed, or it would have ended the search
    tried = true;
    const int token = tokens_[t];
    switch (token) {
      case kAny:
        for (size_t k = n; k <= name_.size(); ++k)
          if (Match(t + 1, k)) return true;
        return false;
      case kAnyToDot: {
        // The run may take in dots, but not the last one of the name.
        const size_t limit = last_dot_ != std::string_view::npos && last_dot_ >= n ? last_dot_ : name_.size();
        for (size_t k = n; k <= limit; ++k)
          if (Match(t + 1, k)) return true;
        return false;
      }
      case kOne:
        if (n == name_.size() || name_[n] == '.') {
          size_t after = t;
          while (after < tokens_.size() && tokens_[after] == kOne) ++after;
          return Match(after, n);
        }
        return Match(t + 1, n + 1);
      case kDotOrEnd:
        if (n == name_.size()) return Match(t + 1, n);
        return name_[n] == '.' && Match(t + 1, n + 1);
      default:
        return n < name_.size() && Folded(name_[n]) == token && Match(t + 1, n + 1);
    }
  }

 private:
  const std::vector<int>& tokens_;
  std::string_view name_;
  size_t last_dot_;
  std::vector<bool> tried_;
};

}  // namespace

NamePattern::NamePattern(std::string_view pattern) {
  if (pattern == "*.*") {
    tokens_ = {kAny};
    return;
  }
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (c == '*') {
      tokens_.push_back(next == '.' ? kAnyToDot : kAny);
    } else if (c == '?') {
      tokens_.push_back(kOne);
    } else if (c == '.' && (next == '?' || next == '*' || i + 1 == pattern.size())) {
      tokens_.push_back(kDotOrEnd);
    } else {
      tokens_.push_back(Folded(c));
    }
  }
}

bool NamePattern::Matches(std::string_view name) const { return Matcher(tokens_, name).Match(0, 0); }

}  // namespace ombrix::fileaccess
