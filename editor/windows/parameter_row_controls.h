// The parameter and option rows of a window's template as controls: each parameter row a name
// button, a value and a step field with a small button beside each, and each option row a
// two-state button. The main window has four rows of each, the extended options window ten; both
// show, take and press them through one of these.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "core/records.h"
#include "editor/windows/drag_controller.h"
#include "gui/dialog_template.h"

namespace ombrix::editor {

// The first control id of each column; row k (from 1) has the id first + k - 1.
struct RowControlIds {
  int name;
  int value;
  int step;
  int value_button;
  int step_button;
  int option;
};

inline constexpr int kMaxControlRows = 10;

class ParameterRowControls {
 public:
  ParameterRowControls(const gui::TemplateControls& controls, RowControlIds ids, int rows);

  // Gives the small buttons their pictures; once, after the template is placed.
  void SetUpButtons() const;

  // Fills rows 1 to `rows` from the entry: shown rows with their names, texts, button looks and
  // option states; the rest hidden. Returns how many parameter and option rows are shown.
  struct Shown {
    int parameters = 0;
    int options = 0;
  };
  Shown Show(const FilterDescriptor& entry);
  // Reads the shown rows back into the entry.
  void Take(FilterDescriptor& entry) const;

  // The kind a value or step field of a shown row is evaluated as; nothing for other ids.
  std::optional<int32_t> FieldKind(int id) const;
  // A small button of a shown row: its slot and which text it acts on (0 value, 1 step).
  struct SmallButton {
    int k = 0;
    int which = 0;
    bool drags = false;  // a typed-number row: the button drags instead of running the action
  };
  std::optional<SmallButton> SmallButtonOf(int id) const;
  // What a small button of a typed-number row drags; nothing for other buttons.
  std::optional<DragController::Target> DragTargetOf(int id) const;
  // The slot of a name button; 0 for other ids.
  int NameSlotOf(int id) const;
  // A press on an option button (it has toggled itself): the group rule sets it and its partners.
  void PressOption(int id);

 private:
  bool InColumn(int id, int first) const { return id >= first && id < first + rows_; }

  const gui::TemplateControls& controls_;
  RowControlIds ids_;
  int rows_;
  // What the rows show: the slot kinds, whether each row is shown, the options' groups.
  std::array<int32_t, kMaxControlRows> kinds_{};
  std::array<bool, kMaxControlRows> shown_{};
  std::array<bool, kMaxControlRows> option_shown_{};
  std::array<int16_t, kMaxControlRows> option_groups_{};
};

}  // namespace ombrix::editor
