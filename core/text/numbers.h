// Reading the leading number of a text, as the C run-time's conversions do, without their
// locale: leading white space is skipped, then an optional sign and the digits; parsing stops at
// the first other character.
#pragma once

#include <cfloat>
#include <charconv>
#include <cstdint>
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
