// Reading the colour set from the settings store.
#include "gui/colour_set.h"

#include "core/settings/settings.h"

namespace ombrix::gui {
namespace {

void ReadColour(const char* name, Colour& colour) {
  colour = static_cast<Colour>(ReadSettingNumber(nullptr, name, static_cast<int>(colour))) & 0xFFFFFF;
}

}  // namespace

ColourSet ReadColourSet() {
  ColourSet set;
  ReadColour("BackgroundColor", set.background);
  ReadColour("StateButtonColor", set.state_button);
  ReadColour("DragButtonColor", set.drag_button);
  ReadColour("ActionButtonColor", set.action_button);
  ReadColour("DialogButtonColor", set.dialog_button);
  ReadColour("InfoAreaColor", set.info_area);
  ReadColour("InfoAreaTextColor", set.info_area_text);
  ReadColour("EditAreaColor", set.edit_area);
  ReadColour("EditTextColor", set.edit_text);
  return set;
}

}  // namespace ombrix::gui
