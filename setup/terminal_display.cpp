// The terminal display of the uninstaller.
#include "setup/terminal_display.h"

#include "core/platform/console.h"
#include "core/platform/message_box.h"

namespace ombrix::setup {
namespace {

constexpr int kBarWidth = 20;

std::string OneLine(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return out;
}

// Cuts UTF-8 (or any 8-bit) text after max_chars characters, never inside a UTF-8 sequence.
std::string CutToCharacters(const std::string& text, int max_chars) {
  int chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (chars == max_chars) return text.substr(0, i);
    ++chars;
  }
  return text;
}

}  // namespace

std::string FormatRemovalLine(int position, int count, const std::string& action, const std::string& object,
                              int columns) {
  const int percent = count > 0 ? static_cast<int>(int64_t(position) * 100 / count) : 100;
  const int filled = percent * kBarWidth / 100;
  std::string line = "[" + std::string(size_t(filled), '#') + std::string(size_t(kBarWidth - filled), '.') + "] ";
  const std::string number = std::to_string(percent) + "%";
  line += std::string(4 - number.size(), ' ') + number;
  if (!action.empty()) line += " " + OneLine(action);
  if (!object.empty()) line += " " + OneLine(object);
  return CutToCharacters(line, (columns > 20 ? columns : 20) - 1);
}

TerminalDisplay::TerminalDisplay() : terminal_(platform::StandardErrorIsTerminal()) {}

TerminalDisplay::~TerminalDisplay() {
  if (drawn_) platform::WriteStandardError("\n");
}

void TerminalDisplay::ShowError(const std::string& caption, const std::string& text, const std::string& detail) {
  platform::ShowMessageBox(text.c_str(), caption.c_str(), platform::kIconError);
  if (!detail.empty()) platform::WriteStandardError("(" + detail + ")\n");
}

void TerminalDisplay::Begin(const std::string& caption, int count) {
  count_ = count;
  if (terminal_) {
    platform::WriteStandardError(OneLine(caption) + "\n");
    // The line is there from the start; an empty log shows it full.
    BeforeRemoval(0, nullptr, {});
  }
}

void TerminalDisplay::BeforeRemoval(int position, const char* action, std::string_view object) {
  if (action != nullptr) {
    action_ = action;
    object_ = std::string(object);
  }
  if (!terminal_) return;
  const std::string line = FormatRemovalLine(position, count_, action_, object_, platform::TerminalColumns());
  platform::WriteStandardError("\r" + line + "\x1b[K");
  drawn_ = true;
}

}  // namespace ombrix::setup
