// Tab and Enter in the editor's windows with number fields: Enter moves the focus on as Tab does,
// and the field either key leaves is shown again in its kind's format first.
#pragma once

#include <functional>

class wxKeyEvent;
class wxWindow;

namespace ombrix::editor {

// For a window's char hook: true when the key was Tab or Enter and is dealt with (the focused
// control of the window reformatted through `reformat` with its id, then the focus moved on, or
// backwards with Shift); false for every other key.
bool MoveOnFromField(wxWindow* window, wxKeyEvent& event, const std::function<void(int id)>& reformat);

}  // namespace ombrix::editor
