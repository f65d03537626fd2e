// The terminal progress line.
#include "progress/terminal_progress.h"

namespace ombrix::omout {
namespace {

// Redraws are limited to this rate: a caller may update after every row of a picture, and a
// terminal that repaints thousands of lines a second slows the render down for nothing.
constexpr std::chrono::milliseconds kRedrawInterval(50);

}  // namespace

TerminalProgress::TerminalProgress() : terminal_(platform::StandardErrorIsTerminal()) {}

TerminalProgress::~TerminalProgress() {
  Draw(true);
  if (drawn_) platform::WriteStandardError("\n");
}

void TerminalProgress::InitRange(int32_t bar, int32_t low, int32_t high) {
  if (bar == 1 || bar == 2) bars_[bar - 1].SetRange(low, high);
}

void TerminalProgress::SetTexts(const char*, const char* line1, const char* line2, const char* info) {
  // The caption ("Ombrix Working - Frame n ...") names the frame the texts already describe; the
  // line keeps to the bars and the three texts.
  if (line1 != nullptr) texts_.line1 = line1;
  if (line2 != nullptr) texts_.line2 = line2;
  if (info != nullptr) texts_.info = info;
}

void TerminalProgress::Show(int32_t command) { shown_ = command != 0; }

int32_t TerminalProgress::Update(int32_t bar, int32_t position) {
  if (bar == 1 || bar == 2) bars_[bar - 1].SetPosition(position);
  if (interrupt_.Interrupted()) continue_ = 0;
  Draw(false);
  return continue_;
}

void TerminalProgress::Draw(bool final_state) {
  if (!terminal_ || !shown_) return;
  const auto now = std::chrono::steady_clock::now();
  if (!final_state && drawn_ && now - last_draw_ < kRedrawInterval) return;
  std::string line = FormatProgressLine(bars_[0], bars_[1], texts_, platform::TerminalColumns());
  if (drawn_ && line == drawn_line_) return;
  if (!drawn_ && final_state) return;  // nothing was ever shown: leave the terminal alone
  // Carriage return, the line, and "erase to end of line" for the rest of a longer old line.
  platform::WriteStandardError("\r" + line + "\x1b[K");
  drawn_line_ = std::move(line);
  drawn_ = true;
  last_draw_ = now;
}

}  // namespace ombrix::omout
