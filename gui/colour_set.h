// The nine user-interface colours of the settings store, read afresh whenever a window is set up.
#pragma once

#include <span>

#include "gui/colour_rules.h"

namespace ombrix::gui {

struct ColourSet {
  Colour background = 0x909090;      // "BackgroundColor": window background, label faces
  Colour state_button = 0x98A8A8;    // "StateButtonColor"
  Colour drag_button = 0x9CA89C;     // "DragButtonColor"
  Colour action_button = 0xA89C9C;   // "ActionButtonColor": Cancel, Yes, No, OK
  Colour dialog_button = 0xA8A898;   // "DialogButtonColor"
  Colour info_area = 0x808080;       // "InfoAreaColor"
  Colour info_area_text = 0x000000;  // "InfoAreaTextColor"
  Colour edit_area = 0x707070;       // "EditAreaColor"
  Colour edit_text = 0xBFFFFF;       // "EditTextColor"
};

// One colour: its value name directly under the product key, its caption in the editor's
// options window and where it lives in the set; in the options window's order.
struct ColourRow {
  const char* name;
  const char* caption;
  Colour ColourSet::*member;
};
std::span<const ColourRow> ColourRows();

// Each colour from its value directly under the product key; a missing value, or one that holds
// no decimal number, gives the default above. Only the low 24 bits of a value are used.
ColourSet ReadColourSet();
// Stores each colour as decimal text.
void WriteColourSet(const ColourSet& colours);

}  // namespace ombrix::gui
