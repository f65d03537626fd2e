// Bar state and the terminal progress line.
#include "progress/progress_text.h"

#include <algorithm>

#include "core/text/windows1252.h"

namespace ombrix::omout {
namespace {

std::string Bar(const BarState& bar, int width) {
  const int filled = bar.Percent() * width / 100;
  return "[" + std::string(static_cast<size_t>(filled), '#') + std::string(static_cast<size_t>(width - filled), '.') +
         "]";
}

// Cuts UTF-8 text after max_chars characters.
std::string CutToCharacters(const std::string& text, int max_chars) {
  int chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (chars == max_chars) return text.substr(0, i);
      ++chars;
    }
  }
  return text;
}

}  // namespace

void BarState::SetRange(int32_t low, int32_t high) {
  low_ = static_cast<uint16_t>(low);
  high_ = static_cast<uint16_t>(high);
  SetPosition(position_);
}

void BarState::SetPosition(int32_t position) {
  position_ = std::clamp(static_cast<int>(position), std::min(low_, high_), std::max(low_, high_));
}

int BarState::Percent() const {
  if (high_ <= low_) return 0;
  return static_cast<int>(static_cast<int64_t>(position_ - low_) * 100 / (high_ - low_));
}

std::string FormatProgressLine(const BarState& overall, const BarState& step, const ProgressTexts& texts, int columns) {
  std::string percent = std::to_string(step.Percent()) + "%";
  percent.insert(0, 4 - percent.size(), ' ');
  std::string line = Bar(overall, 10) + " " + Bar(step, 10) + " " + percent;
  const std::string parts[] = {texts.line1, texts.line2, texts.info != texts.line2 ? texts.info : std::string()};
  bool first = true;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    line += first ? " " : " | ";
    line += AnsiToTerminalText(part);
    first = false;
  }
  return CutToCharacters(line, std::max(columns, 20) - 1);
}

std::string AnsiToTerminalText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      out += ' ';
    } else {
      text::AppendAnsiByteAsUtf8(out, byte);
    }
  }
  return out;
}

}  // namespace ombrix::omout
