// Writing numbers and slot texts for the fields.
#include "editor/model/number_formats.h"

#include <algorithm>

#include "core/parameter_kinds.h"
#include "core/platform/paths.h"
#include "core/script/script_file.h"
#include "core/text/numbers.h"

namespace ombrix::editor {
namespace {

// "%f" cut after the first digit behind the point; a text without a point gets ".0".
std::string OneDecimal(double value) {
  std::string text = FormatReal(value);
  const size_t point = text.find('.');
  if (point == std::string::npos) return text + ".0";
  text.resize(std::min(text.size(), point + 2));
  return text;
}

}  // namespace

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

std::string ShownFileText(const std::string& text) {
  if (text.size() < kShortenedFileTextLength) return text;
  return text.substr(0, 3) + "..." + platform::FileNamePart(text.c_str());
}

std::string ShownText(int32_t kind, const std::string& text) {
  switch (DisplayOf(kind)) {
    case KindDisplay::kWhole:
      return WholeNumberText(text::LeadingInt(text, 0));
    case KindDisplay::kDecimal:
      return DecimalText(text::LeadingFloat(text, 0.0f));
    case KindDisplay::kPercent:
      return DecimalText(text::LeadingFloat(text, 0.0f)) + " %";
    case KindDisplay::kFileText:
      return ShownFileText(text);
    case KindDisplay::kAsStored:
    case KindDisplay::kHidden:
      break;
  }
  return text;
}

std::string DragText(int32_t kind, double value) {
  switch (DisplayOf(kind)) {
    case KindDisplay::kWhole:
      return WholeNumberText(int(value));
    case KindDisplay::kPercent:
      return OneDecimal(value) + " %";
    default:
      return OneDecimal(value);
  }
}

}  // namespace ombrix::editor
