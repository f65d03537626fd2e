// One open progress display: the window, or a line on the terminal when no window can be shown.
// Closing the display is destroying the object.
#pragma once

#include <cstdint>

namespace ombrix::omout {

class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  // bar is 1 or 2; another number changes nothing.
  virtual void InitRange(int32_t bar, int32_t low, int32_t high) = 0;
  // A null text leaves its place unchanged.
  virtual void SetTexts(const char* caption, const char* line1, const char* line2, const char* info) = 0;
  virtual void Show(int32_t command) = 0;
  // Moves the bar, lets the user act, and returns the continue flag (1 go on, 0 cancelled).
  virtual int32_t Update(int32_t bar, int32_t position) = 0;
};

}  // namespace ombrix::omout
