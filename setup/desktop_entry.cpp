// Formatting desktop entries.
#include "setup/desktop_entry.h"

#include "core/platform/paths.h"

namespace ombrix::setup {
namespace {

// A value of the "string" type: backslashes and control characters escaped.
std::string EscapeValue(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

std::string QuoteExecArgument(const std::string& argument) {
  // Inside quotes '"', '`', '$' and '\' take a backslash; '%' starts a field code and is doubled.
  // The value's own escaping (backslashes doubled) comes on top when the line is written.
  std::string out = "\"";
  for (const char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
    if (c == '%') out += '%';
    out += c;
  }
  out += '"';
  return out;
}

std::string FileUrl(const std::string& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                            (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
    if (unreserved) {
      url += c;
    } else {
      url += '%';
      url += kHex[byte >> 4];
      url += kHex[byte & 0x0F];
    }
  }
  return url;
}

std::string FormatDesktopEntry(const DesktopLink& link, bool target_is_program) {
  std::string text = "[Desktop Entry]\n";
  if (target_is_program) {
    text += "Type=Application\n";
    text += "Name=" + EscapeValue(link.name) + "\n";
    std::string exec = QuoteExecArgument(link.target);
    if (!link.mime_type.empty()) exec += " %f";
    text += "Exec=" + EscapeValue(exec) + "\n";
    // The working directory of the original links: the target's folder.
    text += "Path=" + EscapeValue(platform::DirectoryPart(link.target)) + "\n";
    if (!link.mime_type.empty()) text += "MimeType=" + link.mime_type + ";\n";
    text += "Terminal=false\n";
  } else {
    text += "Type=Link\n";
    text += "Name=" + EscapeValue(link.name) + "\n";
    text += "URL=" + FileUrl(link.target) + "\n";
  }
  return text;
}

}  // namespace ombrix::setup
