// Windows-1252 texts as UTF-8. Every text of the system (scripts, catalogues, settings, messages)
// is Windows-1252 bytes; terminals, help pages and the toolkit want UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace ombrix::text {

// Appends the UTF-8 form of one Windows-1252 byte. The five bytes the code page leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become '?', so no byte is ever lost or makes the text invalid.
inline void AppendAnsiByteAsUtf8(std::string& out, unsigned char byte) {
  // Code points of 0x80..0x9F; 0 marks the unassigned bytes.
  static constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                         0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                         0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                         0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  char32_t code = byte;
  if (byte >= 0x80 && byte < 0xA0) code = kHigh[byte - 0x80] != 0 ? kHigh[byte - 0x80] : U'?';
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

inline std::string Utf8FromAnsi(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) AppendAnsiByteAsUtf8(out, static_cast<unsigned char>(c));
  return out;
}

}  // namespace ombrix::text
