// Parameter and option rows as controls.
#include "editor/windows/parameter_row_controls.h"

#include <algorithm>
#include <vector>

#include "core/parameter_kinds.h"
#include "editor/model/parameter_rows.h"
#include "gui/ani_button.h"
#include "gui/gui_app.h"
#include "gui/icons.h"
#include "gui/masked_edit.h"

namespace ombrix::editor {

ParameterRowControls::ParameterRowControls(const gui::TemplateControls& controls, RowControlIds ids, int rows)
    : controls_(controls), ids_(ids), rows_(std::clamp(rows, 0, kMaxControlRows)) {}

void ParameterRowControls::SetUpButtons() const {
  for (int i = 0; i < rows_; ++i)
    for (const int id : {ids_.value_button + i, ids_.step_button + i}) {
      gui::AniButton* button = controls_.Button(id);
      button->SetFramePictures(gui::SmallButtonPictures(button->GetSize()));
    }
}

ParameterRowControls::Shown ParameterRowControls::Show(const FilterDescriptor& entry) {
  Shown shown;
  for (int k = 1; k <= rows_; ++k) {
    const size_t i = size_t(k - 1);
    const ParameterRowView row = ShowParameterRow(entry, k);
    shown_[i] = row.shown;
    kinds_[i] = row.kind;
    shown.parameters += row.shown ? 1 : 0;
    const int offset = k - 1;
    controls_.Window(ids_.name + offset)->Show(row.shown);
    controls_.Window(ids_.value + offset)->Show(row.value_shown);
    controls_.Window(ids_.step + offset)->Show(row.step_shown);
    controls_.Window(ids_.value_button + offset)->Show(row.value_shown);
    controls_.Window(ids_.step_button + offset)->Show(row.step_shown);
    if (!row.shown) continue;
    controls_.Button(ids_.name + offset)->FitLabel(gui::FromAnsi(row.name.c_str()));
    controls_.Field(ids_.value + offset)->SetText(row.value);
    controls_.Field(ids_.step + offset)->SetText(row.step);
    const int16_t look = row.drags ? gui::kDragLook : gui::kActionLook;
    controls_.Button(ids_.value_button + offset)->SetFrame(look);
    controls_.Button(ids_.step_button + offset)->SetFrame(look);
  }
  for (int k = 1; k <= rows_; ++k) {
    const size_t i = size_t(k - 1);
    const OptionRowView row = ShowOptionRow(entry, k);
    option_shown_[i] = row.shown;
    option_groups_[i] = row.group;
    shown.options += row.shown ? 1 : 0;
    gui::AniButton* option = controls_.Button(ids_.option + k - 1);
    option->Show(row.shown);
    if (!row.shown) continue;
    option->FitLabel(gui::FromAnsi(row.name.c_str()));
    option->SetFrame(row.on ? 1 : 2);
  }
  return shown;
}

void ParameterRowControls::Take(FilterDescriptor& entry) const {
  for (int k = 1; k <= rows_; ++k) {
    const int offset = k - 1;
    if (!shown_[size_t(offset)]) continue;
    RowFields fields;
    if (controls_.Window(ids_.value + offset)->IsShown()) fields.value = controls_.Field(ids_.value + offset)->Text();
    if (controls_.Window(ids_.step + offset)->IsShown()) fields.step = controls_.Field(ids_.step + offset)->Text();
    TakeParameterRow(entry, k, fields);
  }
  for (int k = 1; k <= rows_ && entry.options != nullptr && k < entry.option_count; ++k)
    if (option_shown_[size_t(k - 1)])
      entry.options[k].state = controls_.Button(ids_.option + k - 1)->Frame() == 1 ? 1 : 0;
}

std::optional<int32_t> ParameterRowControls::FieldKind(int id) const {
  for (const int first : {ids_.value, ids_.step})
    if (InColumn(id, first) && shown_[size_t(id - first)]) return kinds_[size_t(id - first)];
  return std::nullopt;
}

std::optional<ParameterRowControls::SmallButton> ParameterRowControls::SmallButtonOf(int id) const {
  for (const int which : {0, 1}) {
    const int first = which == 0 ? ids_.value_button : ids_.step_button;
    if (!InColumn(id, first) || !shown_[size_t(id - first)]) continue;
    return SmallButton{id - first + 1, which, IsTypedNumber(kinds_[size_t(id - first)])};
  }
  return std::nullopt;
}

std::optional<DragController::Target> ParameterRowControls::DragTargetOf(int id) const {
  const auto button = SmallButtonOf(id);
  if (!button || !button->drags) return std::nullopt;
  const int field = (button->which == 0 ? ids_.value : ids_.step) + button->k - 1;
  return DragController::Target{field, DragField::kParameter, kinds_[size_t(button->k - 1)]};
}

int ParameterRowControls::NameSlotOf(int id) const { return InColumn(id, ids_.name) ? id - ids_.name + 1 : 0; }

void ParameterRowControls::PressOption(int id) {
  if (!InColumn(id, ids_.option)) return;
  std::vector<OptionButton> options(static_cast<size_t>(rows_));
  for (size_t i = 0; i < options.size(); ++i)
    options[i] = {option_shown_[i], controls_.Button(ids_.option + int(i))->Frame() == 1, option_groups_[i]};
  ApplyOptionGroup(options, size_t(id - ids_.option));
  for (size_t i = 0; i < options.size(); ++i)
    if (option_shown_[i]) controls_.Button(ids_.option + int(i))->SetFrame(options[i].on ? 1 : 2);
}

}  // namespace ombrix::editor
