// Reading the leading number of a text, as the C run-time's conversions do, without their
// locale: leading white space is skipped, then an optional sign and the digits; parsing stops at
// the first other character.
#pragma once

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

namespace ombrix::text {

inline bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal integer at s[pos] (after white space). Values beyond the 32-bit range saturate, as
// strtol does. True with pos past the number; false (pos unchanged) when there are no digits.
inline bool ParseLeadingInt(std::string_view s, size_t& pos, int32_t& value) {
  size_t i = pos;
  while (i < s.size() && IsCSpace(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i >= s.size() || !IsDigit(s[i])) return false;
  int64_t magnitude = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i)
    if (magnitude <= INT64_C(1) << 32) magnitude = magnitude * 10 + (s[i] - '0');
  const int64_t signed_value = negative ? -magnitude : magnitude;
  value = signed_value > INT32_MAX ? INT32_MAX : signed_value < INT32_MIN ? INT32_MIN : int32_t(signed_value);
  pos = i;
  return true;
}

// The real number at s[pos] (after white space): digits with an optional point and exponent.
// "inf", "nan" and hexadecimal forms are not numbers here, so a value never reads as NaN. A
// magnitude too large for a double gives +-DBL_MAX, one too small gives 0.
inline bool ParseLeadingReal(std::string_view s, size_t& pos, double& value) {
  size_t i = pos;
  while (i < s.size() && IsCSpace(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  const bool digit_first = i < s.size() && IsDigit(s[i]);
  const bool point_first = i + 1 < s.size() && s[i] == '.' && IsDigit(s[i + 1]);
  if (!digit_first && !point_first) return false;
  double magnitude = 0;
  const char* begin = s.data() + i;
  const auto [end, error] = std::from_chars(begin, s.data() + s.size(), magnitude, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    // Only the exponent can be out of range: a negative one underflows, a positive one overflows.
    const std::string_view number(begin, size_t(end - begin));
    const size_t e = number.find_first_of("eE");
    magnitude = (e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-') ? 0.0 : DBL_MAX;
  } else if (error != std::errc()) {
    return false;
  }
  value = negative ? -magnitude : magnitude;
  pos = size_t(end - s.data());
  return true;
}

namespace detail {

inline char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
inline bool IsHexDigit(char c) {
  const char l = LowerAscii(c);
  return IsDigit(c) || (l >= 'a' && l <= 'f');
}

// `word` (lower case) at s[i], in either letter case.
inline bool MatchesWord(std::string_view s, size_t i, std::string_view word) {
  if (s.size() - i < word.size()) return false;
  for (size_t k = 0; k < word.size(); ++k)
    if (LowerAscii(s[i + k]) != word[k]) return false;
  return true;
}

// Converts the digits of `body` (a decimal or, with hex, a hexadecimal mantissa with optional
// point and exponent, no sign, no prefix) to the nearest float. A result beyond the float range
// gives infinity and one below its smallest step gives 0, as the C conversion gives them. False
// when `body` does not start with a number.
inline bool ConvertFloatBody(std::string_view body, bool hex, float& magnitude) {
  const std::chars_format format = hex ? std::chars_format::hex : std::chars_format::general;
  const char* end = body.data() + body.size();
  const std::from_chars_result read = std::from_chars(body.data(), end, magnitude, format);
  if (read.ec == std::errc()) return true;
  if (read.ec != std::errc::result_out_of_range) return false;
  // Out of range: a wider type tells overflow from underflow; beyond even its range, the sign
  // of the exponent does.
  long double wide = 0;
  bool overflow = false;
  if (std::from_chars(body.data(), end, wide, format).ec == std::errc()) {
    overflow = std::fabs(wide) >= 1;
  } else {
    const std::string_view number(body.data(), size_t(read.ptr - body.data()));
    const size_t e = number.find_first_of(hex ? "pP" : "eE");
    overflow = !(e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-');
  }
  magnitude = overflow ? std::numeric_limits<float>::infinity() : 0.0f;
  return true;
}

}  // namespace detail

// The number at the start of s as the C run-time's "%f" conversion reads it in the "C" locale,
// whatever locale the process has set: white space skipped, an optional sign, then decimal
// digits with an optional point and exponent, a hexadecimal form ("0x1.8p3"), "inf",
// "infinity" or "nan" in either letter case; rounded once, straight to single precision. The
// conversion's own quirks stay: a text that starts like "infinity" but stops short of it
// ("infin") and a "0x" without digits or point are no number, though a "0x." reads as 0.
// False, value unchanged, when there is no number.
inline bool ParseLeadingFloat(std::string_view s, float& value) {
  size_t i = 0;
  while (i < s.size() && IsCSpace(s[i])) ++i;
  if (i >= s.size()) return false;
  bool negative = false;
  if (s[i] == '+' || s[i] == '-') {
    negative = s[i++] == '-';
    if (i >= s.size() || s[i] == '+' || s[i] == '-') return false;
  }
  const auto signed_result = [&](float magnitude) {
    value = negative ? -magnitude : magnitude;
    return true;
  };
  const char first = detail::LowerAscii(s[i]);
  if (first == 'n') {
    if (!detail::MatchesWord(s, i, "nan")) return false;
    return signed_result(std::numeric_limits<float>::quiet_NaN());
  }
  if (first == 'i') {
    if (!detail::MatchesWord(s, i, "inf")) return false;
    // After "inf" an "i" commits the conversion to the whole "infinity".
    if (i + 3 < s.size() && detail::LowerAscii(s[i + 3]) == 'i' && !detail::MatchesWord(s, i, "infinity")) return false;
    return signed_result(std::numeric_limits<float>::infinity());
  }
  const bool hex = s[i] == '0' && i + 1 < s.size() && detail::LowerAscii(s[i + 1]) == 'x';
  if (hex) {
    // The characters the conversion takes: hexadecimal digits with one point, then "p", an
    // optional sign and decimal digits.
    size_t j = i + 2;
    bool digits = false, point = false;
    for (; j < s.size(); ++j) {
      if (detail::IsHexDigit(s[j])) {
        digits = true;
      } else if (s[j] == '.' && !point) {
        point = true;
      } else {
        break;
      }
    }
    if (j == i + 2) return false;  // "0x" and nothing more
    if (digits && j < s.size() && detail::LowerAscii(s[j]) == 'p') {
      ++j;
      if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
      while (j < s.size() && IsDigit(s[j])) ++j;
    }
    float magnitude = 0;
    // "0x." and the like still read their leading "0".
    if (!detail::ConvertFloatBody(s.substr(i + 2, j - i - 2), true, magnitude)) magnitude = 0;
    return signed_result(magnitude);
  }
  float magnitude = 0;
  if (!detail::ConvertFloatBody(s.substr(i), false, magnitude)) return false;
  return signed_result(magnitude);
}

inline float LeadingFloat(std::string_view s, float fallback) {
  float value = fallback;
  return ParseLeadingFloat(s, value) ? value : fallback;
}

inline int32_t LeadingInt(std::string_view s, int32_t fallback) {
  size_t pos = 0;
  int32_t value = 0;
  return ParseLeadingInt(s, pos, value) ? value : fallback;
}

inline double LeadingReal(std::string_view s, double fallback) {
  size_t pos = 0;
  double value = 0;
  return ParseLeadingReal(s, pos, value) ? value : fallback;
}

}  // namespace ombrix::text
