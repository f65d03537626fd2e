// What a person types into a number field: the arithmetic, and every kind's field format.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/parameter_kinds.h"
#include "core/text/numbers.h"
#include "editor/model/number_evaluator.h"
#include "editor/model/number_formats.h"
#include "editor/model/parameter_rows.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string typed(reinterpret_cast<const char*>(data), size);
  const std::string result = ombrix::editor::EvaluateNumberText(typed);
  // The result is "0" or a "%f" text that reads back as a number.
  size_t pos = 0;
  double value = 0;
  if (result != "0" && (!ombrix::text::ParseLeadingReal(result, pos, value) || pos != result.size())) std::abort();
  for (int32_t kind = -1; kind <= ombrix::kParameterKindCount; ++kind) {
    (void)ombrix::editor::ShownText(kind, typed);
    (void)ombrix::editor::ReformatLeavingField(kind, typed);
  }
  (void)ombrix::editor::ReadColourText(typed);
  return 0;
}
