// Writing numbers for the fields.
#include "editor/model/number_formats.h"

#include "core/script/script_file.h"

namespace ombrix::editor {

std::string WholeNumberText(int value) { return std::to_string(value); }

std::string TrimDecimal(std::string text) {
  const size_t point = text.find('.');
  if (point == std::string::npos) return text;
  size_t end = text.size();
  while (end > point + 2 && text[end - 1] == '0') --end;
  text.resize(end);
  return text;
}

std::string DecimalText(double value) { return TrimDecimal(FormatReal(value)); }

}  // namespace ombrix::editor
