// Frame-sequence patterns and frame ranges.
#include "tools/ombrix-render/sequence.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace ombrix::render {

std::optional<PathPattern> PathPattern::Parse(const std::string& text, std::string& error) {
  PathPattern pattern;
  std::string* out = &pattern.prefix_;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      *out += text[i];
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '%') {
      *out += '%';
      ++i;
      continue;
    }
    size_t j = i + 1;
    int width = 0;
    bool zero = false;
    if (j < text.size() && text[j] == '0') zero = true, ++j;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])) && width < 10)
      width = width * 10 + (text[j++] - '0');
    if (j >= text.size() || text[j] != 'd' || width > 9 || (zero && width == 0)) {
      error = "\"" + text + "\": a sequence pattern takes one %d or %0Nd conversion";
      return std::nullopt;
    }
    if (pattern.sequence_) {
      error = "\"" + text + "\": a sequence pattern takes only one frame number";
      return std::nullopt;
    }
    pattern.sequence_ = true;
    pattern.width_ = zero ? width : -width;  // negative: padded with blanks
    out = &pattern.suffix_;
    i = j;
  }
  return pattern;
}

std::string PathPattern::ForFrame(int frame) const {
  if (!sequence_) return prefix_;
  char number[32];
  if (width_ > 0)
    std::snprintf(number, sizeof number, "%0*d", width_, frame);
  else
    std::snprintf(number, sizeof number, "%*d", -width_, frame);
  return prefix_ + number + suffix_;
}

bool ParseFrameRange(const std::string& text, int& first, int& last) {
  const char* p = text.c_str();
  char* end = nullptr;
  const long a = std::strtol(p, &end, 10);
  if (end == p) return false;
  long b = a;
  if (*end == '-') {
    const char* q = end + 1;
    b = std::strtol(q, &end, 10);
    if (end == q) return false;
  }
  if (*end != '\0' || a > b || a < -32768 || b > 32767) return false;
  first = int(a);
  last = int(b);
  return true;
}

}  // namespace ombrix::render
