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

bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

int CountCharacters(const std::string& text) {
  int chars = 0;
  for (const char c : text) chars += StartsCharacter(c) ? 1 : 0;
  return chars;
}

// Cuts UTF-8 (or any 8-bit) text after max_chars characters, never inside a UTF-8 sequence.
std::string CutToCharacters(const std::string& text, int max_chars) {
  int chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!StartsCharacter(text[i])) continue;
    if (chars == max_chars) return text.substr(0, i);
    ++chars;
  }
  return text;
}

// The end of a path is what tells one file from the next: a long one keeps its last characters
// after "...".
std::string KeepEnd(const std::string& text, int max_chars) {
  int excess = CountCharacters(text) - max_chars;
  if (excess <= 0) return text;
  if (max_chars <= 3) return CutToCharacters("...", max_chars > 0 ? max_chars : 0);
  excess += 3;
  size_t i = 0;
  for (; i < text.size() && excess > 0; ++i)
    if (StartsCharacter(text[i])) --excess;
  while (i < text.size() && !StartsCharacter(text[i])) ++i;
  return "..." + text.substr(i);
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
  const int width = (columns > 20 ? columns : 20) - 1;
  if (!object.empty()) line += " " + KeepEnd(OneLine(object), width - CountCharacters(line) - 1);
  return CutToCharacters(line, width);
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
