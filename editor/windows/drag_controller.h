// The drag buttons of a window at work: a press on a drag button anchors the drag at the cursor,
// every tick of the window's drag timer moves the field's value by the cursor's travel and puts
// the cursor back at the anchor, and the release ends it. The main window, the extended options
// window and the X-Alpha window each drive their own drag buttons through one of these.
#pragma once

#include <wx/gdicmn.h>
#include <wx/timer.h>

#include <cstdint>
#include <functional>
#include <string>

#include "editor/model/drag.h"

class wxWindow;

namespace ombrix::gui {
class AniButton;
}

namespace ombrix::editor {

// Every window's drag timer: window timer 1, at 1 ms.
inline constexpr int kDragTimerId = 1;
inline constexpr int kDragTimerMilliseconds = 1;

class DragController {
 public:
  // What a drag button moves: its field, what bounds it and the kind it drags as.
  struct Target {
    int field = 0;
    DragField bounds = DragField::kParameter;
    int32_t kind = 0;
  };
  // How the controller reaches the window's fields: read one, write one, and the current texts
  // of the fields the bounds depend on.
  struct Fields {
    std::function<std::string(int id)> text;
    std::function<void(int id, const std::string& text)> set_text;
    std::function<DragFieldTexts()> bound_texts;
  };

  // The timer is the window's drag timer: running while the window can drag, stopped for the
  // moment a step takes.
  DragController(wxWindow* window, wxTimer& timer, Fields fields);

  // A left press on a drag button: remembers the field's value and the cursor position, shows
  // the button pressed (its frame plus 1), captures the mouse and hides the cursor. Ignored while
  // a drag is active.
  void Begin(gui::AniButton* button, const Target& target);
  // A timer tick: the value follows the cursor's travel from the anchor. A tick that arrives
  // while the previous one is still running is dropped; a released button ends the drag.
  void Tick();
  // The release: the button's frame back, the cursor back at the anchor and shown again.
  void End();
  const Drag& Current() const { return drag_; }

 private:
  wxWindow* window_;
  wxTimer& timer_;
  Fields fields_;
  Drag drag_;
  Target target_;
  gui::AniButton* button_ = nullptr;
  wxPoint anchor_;
  bool in_tick_ = false;
};

}  // namespace ombrix::editor
