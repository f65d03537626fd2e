// The progress display without a window: a line redrawn in place on standard error when that is
// a terminal (nothing otherwise), with Ctrl-C as the Cancel button.
#pragma once

#include <chrono>
#include <string>

#include "core/platform/console.h"
#include "progress/progress_sink.h"
#include "progress/progress_text.h"

namespace ombrix::omout {

class TerminalProgress : public ProgressSink {
 public:
  TerminalProgress();
  ~TerminalProgress() override;

  void InitRange(int32_t bar, int32_t low, int32_t high) override;
  void SetTexts(const char* caption, const char* line1, const char* line2, const char* info) override;
  void Show(int32_t command) override;
  int32_t Update(int32_t bar, int32_t position) override;

 private:
  void Draw(bool final_state);

  platform::InterruptCatcher interrupt_;
  const bool terminal_;
  BarState bars_[2];
  ProgressTexts texts_;
  bool shown_ = true;
  int32_t continue_ = 1;
  std::string drawn_line_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point last_draw_;
};

}  // namespace ombrix::omout
