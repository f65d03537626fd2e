// How the editor writes numbers and slot texts into its fields, whatever the process locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ombrix::editor {

// "%d".
std::string WholeNumberText(int value);
// "%f" with the trailing zeros after the point removed, one digit after the point kept:
// 2 shows as 2.0, 2.5 as 2.5, 0.25 as 0.25, 100 as 100.0.
std::string DecimalText(double value);
// The same trimming applied to a "%f" text.
std::string TrimDecimal(std::string text);

// File texts of this many characters or more are shown shortened.
inline constexpr size_t kShortenedFileTextLength = 64;
// A file text as its field shows it: whole when shorter than 64 characters, else its first three
// characters, "..." and its file name part. The shortened text is never stored back.
std::string ShownFileText(const std::string& text);
// True for a field text that is a shortened file text rather than a value.
inline bool IsShortenedText(std::string_view text) { return text.find("...") != std::string_view::npos; }

// A value or step text of a slot of this kind as its field shows it: whole numbers read as "%d"
// (a text without one shows 0), decimals read as "%f" and trimmed, percent kinds the decimal and
// " %", file kinds shortened, other kinds as they are.
std::string ShownText(int32_t kind, const std::string& text);
// A dragged value as its field shows it while dragging: whole numbers truncated towards zero,
// decimals "%f" cut after the first digit behind the point, percent kinds followed by " %".
std::string DragText(int32_t kind, double value);

}  // namespace ombrix::editor
