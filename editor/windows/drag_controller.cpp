// Drag buttons at work.
#include "editor/windows/drag_controller.h"

#include <wx/utils.h>
#include <wx/window.h>

#include "gui/ani_button.h"

namespace ombrix::editor {

DragController::DragController(wxWindow* window, wxTimer& timer, Fields fields)
    : window_(window), timer_(timer), fields_(std::move(fields)) {}

void DragController::Begin(gui::AniButton* button, const Target& target) {
  if (drag_.Active() || button == nullptr) return;
  anchor_ = wxGetMousePosition();
  drag_.Begin(target.field, target.kind, fields_.text(target.field), anchor_.x);
  target_ = target;
  button_ = button;
  button->SetFrame(int16_t(button->Frame() + 1));
  if (!button->HasCapture()) button->CaptureMouse();
  button->SetCursor(wxCursor(wxCURSOR_BLANK));
}

// Ticks come faster than the toolkit can always serve; the travel, not the number of ticks,
// decides the value, so the mouse never reaches the edge of the screen.
void DragController::Tick() {
  if (!drag_.Active() || in_tick_) return;
  in_tick_ = true;
  if (!wxGetMouseState().LeftIsDown()) {
    End();
  } else {
    const wxPoint cursor = wxGetMousePosition();
    if (cursor.x != drag_.AnchorX()) {
      timer_.Stop();
      const DragBounds bounds = DragBoundsOf(target_.bounds, target_.kind, fields_.bound_texts());
      if (const auto text = drag_.Step(cursor.x, bounds)) fields_.set_text(drag_.Target(), *text);
      const wxPoint anchor = window_->ScreenToClient(anchor_);
      window_->WarpPointer(anchor.x, anchor.y);
      timer_.Start(kDragTimerMilliseconds);
    }
  }
  in_tick_ = false;
}

void DragController::End() {
  if (!drag_.Active()) return;
  drag_.End();
  button_->SetFrame(int16_t(button_->Frame() - 1));
  const wxPoint anchor = window_->ScreenToClient(anchor_);
  window_->WarpPointer(anchor.x, anchor.y);
  button_->SetCursor(wxNullCursor);
  if (button_->HasCapture()) button_->ReleaseMouse();
  button_ = nullptr;
}

}  // namespace ombrix::editor
