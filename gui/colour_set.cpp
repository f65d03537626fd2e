// Reading and writing the colour set in the settings store.
#include "gui/colour_set.h"

#include "core/settings/settings.h"

namespace ombrix::gui {
namespace {

constexpr ColourRow kColourRows[] = {
    {"BackgroundColor", "Background", &ColourSet::background},
    {"StateButtonColor", "State Button", &ColourSet::state_button},
    {"DragButtonColor", "Drag Button", &ColourSet::drag_button},
    {"ActionButtonColor", "Action Button", &ColourSet::action_button},
    {"DialogButtonColor", "Dialog Button", &ColourSet::dialog_button},
    {"InfoAreaColor", "Info Area", &ColourSet::info_area},
    {"InfoAreaTextColor", "Info Area Text", &ColourSet::info_area_text},
    {"EditAreaColor", "Edit Area", &ColourSet::edit_area},
    {"EditTextColor", "Edit Area Text", &ColourSet::edit_text},
};

}  // namespace

std::span<const ColourRow> ColourRows() { return kColourRows; }

ColourSet ReadColourSet() {
  ColourSet set;
  for (const ColourRow& row : ColourRows()) {
    Colour& colour = set.*row.member;
    colour = static_cast<Colour>(ReadSettingNumber(nullptr, row.name, static_cast<int>(colour))) & 0xFFFFFF;
  }
  return set;
}

void WriteColourSet(const ColourSet& colours) {
  for (const ColourRow& row : ColourRows())
    WriteSettingNumber(nullptr, row.name, static_cast<int>(colours.*row.member));
}

}  // namespace ombrix::gui
