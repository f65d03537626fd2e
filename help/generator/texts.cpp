// Text helpers of the help generator.
#include "help/generator/texts.h"

namespace ombrix::help {

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string DisplayName(std::string_view utf8_name) {
  std::string out;
  for (size_t i = 0; i < utf8_name.size(); ++i) {
    out += utf8_name[i];
    if (utf8_name[i] == '&' && i + 1 < utf8_name.size() && utf8_name[i + 1] == '&') ++i;
  }
  return Trim(out);
}

std::string PageSlug(std::string_view utf8_name) {
  std::string out;
  bool gap = false;
  auto put = [&](char c) {
    if (gap && !out.empty()) out += '-';
    gap = false;
    out += c;
  };
  for (size_t i = 0; i < utf8_name.size(); ++i) {
    const char c = utf8_name[i];
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
      put(c);
    } else if (c >= 'A' && c <= 'Z') {
      put(char(c - 'A' + 'a'));
    } else if (c == '&' && i + 1 < utf8_name.size() && utf8_name[i + 1] == '&') {
      gap = true;
      for (const char a : std::string_view("and")) put(a);
      gap = true;
      ++i;
    } else {
      gap = true;
    }
  }
  return out;
}

std::string Trim(std::string_view text) {
  size_t first = 0, last = text.size();
  while (first < last && (text[first] == ' ' || text[first] == '\t')) ++first;
  while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t' || text[last - 1] == '\r')) --last;
  return std::string(text.substr(first, last - first));
}

}  // namespace ombrix::help
