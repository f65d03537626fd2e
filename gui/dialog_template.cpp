// Placing and colouring template controls.
#include "gui/dialog_template.h"

#include "gui/ani_button.h"
#include "gui/gui_app.h"
#include "gui/icons.h"
#include "gui/masked_edit.h"

namespace ombrix::gui {

AniButton* TemplateControls::Button(int id) const { return dynamic_cast<AniButton*>(Window(id)); }
MaskedEdit* TemplateControls::Field(int id) const { return dynamic_cast<MaskedEdit*>(Window(id)); }
wxWindow* TemplateControls::Window(int id) const {
  const auto it = windows_.find(id);
  return it != windows_.end() ? it->second : nullptr;
}

Colour RoleColour(ControlRole role, const ColourSet& colours) {
  switch (role) {
    case ControlRole::kLabel:
      return colours.background;
    case ControlRole::kInfoArea:
      return colours.info_area;
    case ControlRole::kActionButton:
      return colours.action_button;
    case ControlRole::kDialogButton:
      return colours.dialog_button;
    case ControlRole::kStateButton:
      return colours.state_button;
    case ControlRole::kDragButton:
      return colours.drag_button;
    case ControlRole::kNumberField:
      return colours.edit_area;
  }
  return colours.background;
}

namespace {

bool IsFramedButton(ControlRole role) {
  return role == ControlRole::kActionButton || role == ControlRole::kDialogButton ||
         role == ControlRole::kStateButton || role == ControlRole::kDragButton;
}

void ApplyColours(const ControlTemplate& c, const ColourSet& colours, WindowFace& face, wxWindow* window, bool first) {
  const Colour colour = RoleColour(c.role, colours);
  if (c.role == ControlRole::kNumberField) {
    static_cast<MaskedEdit*>(window)->SetColours(colour, colours.edit_text);
    return;
  }
  auto* button = static_cast<AniButton*>(window);
  if (IsFramedButton(c.role)) {
    if (first) {
      face.AddButton(button, colour);
    } else {
      face.SetButtonFace(button, colour);
    }
    return;
  }
  button->SetBackColour(colour);
  button->SetForeColour(c.role == ControlRole::kInfoArea ? colours.info_area_text : ButtonTextColour(colour));
}

}  // namespace

void PlaceControls(wxWindow* window, std::span<const ControlTemplate> controls, const ColourSet& colours,
                   WindowFace& face, TemplateControls& made) {
  for (const ControlTemplate& c : controls) {
    const wxRect rect = DialogUnitsRect(window, c.x, c.y, c.width, c.height);
    wxWindow* control = nullptr;
    if (c.role == ControlRole::kNumberField) {
      auto* field = new MaskedEdit(window, c.id, rect.GetPosition(), rect.GetSize());
      field->SetText(c.caption != nullptr ? c.caption : "");
      control = field;
    } else {
      long style = c.style;
      if (c.role == ControlRole::kStateButton) style |= kAniTwoState | kAniAlignLeft;
      // Buttons that run commands or hold a state are reached by Tab; drag buttons only follow
      // the mouse, and their fields take the keyboard instead.
      if (IsFramedButton(c.role) && c.role != ControlRole::kDragButton) style |= kAniFocusable;
      auto* button = new AniButton(window, c.id, FromAnsi(c.caption), rect.GetPosition(), rect.GetSize(), style);
      if (c.role == ControlRole::kStateButton) {
        button->SetFramePictures(TwoStatePictures(rect.GetSize()));
        button->SetTextIndent(TwoStateTextIndent(rect.GetSize()));
      }
      control = button;
    }
    made.Add(c.id, control);
    ApplyColours(c, colours, face, control, true);
  }
}

void RecolourControls(std::span<const ControlTemplate> controls, const ColourSet& colours, WindowFace& face,
                      const TemplateControls& made) {
  face.SetBackground(colours.background);
  for (const ControlTemplate& c : controls)
    if (wxWindow* control = made.Window(c.id)) ApplyColours(c, colours, face, control, false);
}

}  // namespace ombrix::gui
