// The X-Alpha settings of a chain entry as the X-Alpha window and the extended options window
// show and take them: the two pairs and "Negative", the alpha level and step texts, the
// information text of the pending mask picture, and the confirm that stores the pending mask.
#pragma once

#include <string>

#include "core/picture/picture.h"
#include "core/records.h"

namespace ombrix::editor {

// The buttons of the X-Alpha settings. Each pair has exactly one button on: "X Alpha" (gradual)
// or "Clip Map", "Stretch to picture" (the extended window's "Stretch") or "Repeat".
struct XAlphaButtons {
  bool gradual = true;  // "X Alpha" on, "Clip Map" off
  bool negative = false;
  bool stretch = false;  // "Stretch to picture" on, "Repeat" off
};

// The buttons as the record sets them: "X Alpha" when the type is 1, "Negative" when the flag is
// not 0, "Stretch to picture" when the stretch flag is not 0. Both windows read a flag as set
// when it is not 0, as the render does, so a window never shows a flag off that acts.
XAlphaButtons ShowXAlphaButtons(const XAlphaRecord& record);
// "Reset": "X Alpha" on, "Negative" off, "Repeat" on.
inline XAlphaButtons ResetXAlphaButtons() { return {}; }
// Type 1 for "X Alpha", else 2; the two flags 1 or 0. The record's percent is not touched.
void TakeXAlphaButtons(XAlphaRecord& record, const XAlphaButtons& buttons);

// A press on one button of a pair has already toggled it: the other takes the opposite state.
inline bool PartnerOf(bool pressed_now_on) { return !pressed_now_on; }

// The alpha level or step as its field shows it: "%f" cut after the first digit behind the
// point, then " %" (50 shows as "50.0 %").
std::string AlphaText(float value);
// A field's text read as "%f" (the " %" behind the number is ignored); a text that holds no
// number keeps the old value.
float ReadAlphaText(const std::string& text, float old_value);

// "(no picture loaded)" without a pending picture; otherwise its file name, type, width, height
// and memory size in Kb (width * height * 3 / 1024).
std::string XAlphaInformation(const Picture* pending);

// What the X-Alpha window holds when it is confirmed.
struct XAlphaConfirmation {
  XAlphaButtons buttons;
  std::string init_text;  // the "Init." and "Step" fields
  std::string step_text;
  const Picture* pending = nullptr;  // the pending mask picture as shown (inverted when "Negative" is on)
  std::string pending_name;          // the working copy's mask file name
};

// Stores the confirmation into the entry, in this order: the buttons; the alpha level and step;
// an in-memory mask picture object when the entry has none; then either the pending name and a
// copy of the pending picture, or, without a pending picture, an empty name and an emptied mask
// picture. False, with the mask picture emptied and the name cleared, when the copy cannot be
// made (out of memory): an entry never keeps a name whose picture it silently lost.
bool ConfirmXAlpha(FilterDescriptor& entry, const XAlphaConfirmation& confirmation);

// The entry's mask picture in memory: null when it has none or it is empty.
const Picture* MaskPictureOf(const FilterDescriptor& entry);

}  // namespace ombrix::editor
