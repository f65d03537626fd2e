// How the editor writes numbers into its fields, whatever the process locale.
#pragma once

#include <string>

namespace ombrix::editor {

// "%d".
std::string WholeNumberText(int value);
// "%f" with the trailing zeros after the point removed, one digit after the point kept:
// 2 shows as 2.0, 2.5 as 2.5, 0.25 as 0.25, 100 as 100.0.
std::string DecimalText(double value);
// The same trimming applied to a "%f" text.
std::string TrimDecimal(std::string text);

}  // namespace ombrix::editor
