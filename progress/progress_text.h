// Display-independent pieces of the progress module: a progress bar's range and position, and
// the one-line progress display written to a terminal when no window can be shown.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ombrix::omout {

// A progress bar as the platform's control keeps it: range 0..100 until set, range ends taken as
// 16-bit unsigned values, and the position held inside the range.
class BarState {
 public:
  void SetRange(int32_t low, int32_t high);
  void SetPosition(int32_t position);
  int Low() const { return low_; }
  int High() const { return high_; }
  int Position() const { return position_; }
  // Filled part in percent, 0..100; 0 for an empty range.
  int Percent() const;

 private:
  int low_ = 0;
  int high_ = 100;
  int position_ = 0;
};

struct ProgressTexts {
  std::string line1;  // upper line, overall work
  std::string line2;  // lower line, current step
  std::string info;   // info area
};

// "[####......] [##........]  20% line1 | line2 | info" in UTF-8, with empty texts and an info
// text equal to line2 left out, cut to fit columns - 1 characters so the terminal never wraps.
std::string FormatProgressLine(const BarState& overall, const BarState& step, const ProgressTexts& texts, int columns);

// Windows-1252 bytes as UTF-8, with control characters (line breaks among them) made spaces so
// that a text stays on one terminal line.
std::string AnsiToTerminalText(std::string_view text);

}  // namespace ombrix::omout
