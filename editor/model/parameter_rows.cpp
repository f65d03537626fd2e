// Showing and taking parameter and option rows.
#include "editor/model/parameter_rows.h"

#include <cstdio>

#include "core/parameter_kinds.h"
#include "core/text/numbers.h"
#include "editor/model/number_evaluator.h"
#include "editor/model/number_formats.h"

namespace ombrix::editor {
namespace {

bool HasSlot(const FilterDescriptor& entry, int k) {
  return entry.parameters != nullptr && k >= 1 && k < entry.parameter_count;
}

// The text a shown field stores, or nothing when it must not be stored.
std::optional<std::string> StoredText(int32_t kind, const std::string& field) {
  std::string text = IsTypedNumber(kind) ? EvaluateNumberText(field) : field;
  if (text.empty()) text = " ";
  if (IsShortenedText(text)) return std::nullopt;
  return text;
}

void Store(char (&slot)[256], const std::string& text) { std::snprintf(slot, sizeof slot, "%s", text.c_str()); }

}  // namespace

ParameterRowView ShowParameterRow(const FilterDescriptor& entry, int k) {
  ParameterRowView row;
  if (!HasSlot(entry, k) || entry.parameters[k].name[0] == '\0') return row;
  const ParameterRecord& slot = entry.parameters[k];
  row.shown = true;
  row.name = slot.name;
  row.kind = slot.kind;
  row.drags = IsTypedNumber(slot.kind);
  if (DisplayOf(slot.kind) == KindDisplay::kHidden) return row;
  row.value_shown = slot.value[0] != '\0';
  if (row.value_shown) row.value = ShownText(slot.kind, slot.value);
  row.step_shown = slot.step[0] != '\0';
  if (row.step_shown) row.step = ShownText(slot.kind, slot.step);
  return row;
}

void TakeParameterRow(FilterDescriptor& entry, int k, const RowFields& fields) {
  if (!HasSlot(entry, k)) return;
  ParameterRecord& slot = entry.parameters[k];
  if (DisplayOf(slot.kind) == KindDisplay::kHidden) return;
  if (fields.value) {
    if (auto text = StoredText(slot.kind, *fields.value)) Store(slot.value, *text);
  }
  if (fields.step) {
    if (auto text = StoredText(slot.kind, *fields.step)) Store(slot.step, *text);
  } else {
    slot.step[0] = '\0';
  }
}

std::string ReformatLeavingField(int32_t kind, const std::string& text) {
  if (!IsTypedNumber(kind)) return text;
  return ShownText(kind, EvaluateNumberText(text));
}

OptionRowView ShowOptionRow(const FilterDescriptor& entry, int k) {
  OptionRowView row;
  if (entry.options == nullptr || k < 1 || k >= entry.option_count || entry.options[k].name[0] == '\0') return row;
  row.shown = true;
  row.name = entry.options[k].name;
  row.on = entry.options[k].state != 0;
  row.group = entry.options[k].group;
  return row;
}

void ApplyOptionGroup(std::vector<OptionButton>& options, size_t pressed) {
  if (pressed >= options.size()) return;
  OptionButton& option = options[pressed];
  if (option.on) {
    for (size_t i = 0; i < options.size(); ++i)
      if (i != pressed && options[i].shown && options[i].group == option.group) options[i].on = false;
    return;
  }
  int in_group = 0;
  for (const OptionButton& other : options)
    if (other.shown && other.group == option.group) ++in_group;
  if (in_group != 1) option.on = true;
}

ColourNumbers ReadColourText(const std::string& text) {
  ColourNumbers colour;
  int* parts[] = {&colour.red, &colour.green, &colour.blue};
  size_t pos = 0;
  for (int* part : parts) {
    int32_t value = 0;
    if (!text::ParseLeadingInt(text, pos, value)) break;
    *part = value;
  }
  return colour;
}

std::string ColourText(const ColourNumbers& colour) {
  return std::to_string(colour.red) + " " + std::to_string(colour.green) + " " + std::to_string(colour.blue);
}

}  // namespace ombrix::editor
