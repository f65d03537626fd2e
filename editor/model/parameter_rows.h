// The parameter and option rows of a chain entry as the editor's windows show them and read
// them back: rows 1 to 4 in the main window, 1 to 10 in the extended options window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/records.h"

namespace ombrix::editor {

// What one parameter row shows.
struct ParameterRowView {
  bool shown = false;  // the slot has a name and lies below the entry's slot count
  std::string name;
  int32_t kind = 0;
  bool value_shown = false;  // the value field, shown when the value text is not empty
  std::string value;         // in the kind's display format
  bool step_shown = false;
  std::string step;
  // The row's two small buttons drag (true) or run the kind's action (false).
  bool drags = false;
};

// Row k of the entry (slot 0 is never shown). Kind 16 rows show their name but neither field.
ParameterRowView ShowParameterRow(const FilterDescriptor& entry, int k);

// What a field of a shown row holds when the fields are taken: its text, or nothing when the
// field is hidden.
struct RowFields {
  std::optional<std::string> value;
  std::optional<std::string> step;
};

// Reads row k's fields back into the entry's slot: typed numbers are evaluated, an empty text
// becomes a single blank, a shortened file text ("...") is not stored, and a hidden step field
// empties the step. Rows beyond the slot count and kind 16 rows are left alone.
void TakeParameterRow(FilterDescriptor& entry, int k, const RowFields& fields);

// The text a field of a slot of this kind shows after Tab or Enter leaves it: typed numbers
// evaluated and shown in the kind's format, other kinds as they are.
std::string ReformatLeavingField(int32_t kind, const std::string& text);

// Option row k of the entry: shown when the option has a name and lies below the slot count.
struct OptionRowView {
  bool shown = false;
  std::string name;
  bool on = false;
  int16_t group = 0;
};
OptionRowView ShowOptionRow(const FilterDescriptor& entry, int k);

// The option buttons of a window as they stand, for the group rule.
struct OptionButton {
  bool shown = false;
  bool on = false;
  int16_t group = 0;
};
// A press on option `pressed` has already toggled it. When it is now on, every other shown
// option of its group goes off; when it is now off and other shown options share its group, it
// goes on again. So a group of several is a radio list with one option on, and an option alone
// in its group is an on/off switch.
void ApplyOptionGroup(std::vector<OptionButton>& options, size_t pressed);

// A colour text "%d %d %d" (red, green, blue); missing numbers read as 0.
struct ColourNumbers {
  int red = 0, green = 0, blue = 0;
};
ColourNumbers ReadColourText(const std::string& text);
std::string ColourText(const ColourNumbers& colour);

}  // namespace ombrix::editor
