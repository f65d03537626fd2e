// The drag buttons' arithmetic: a number field follows the mouse's horizontal travel from where
// the button was pressed, by a factor per kind, kept within the field's bounds.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace ombrix::editor {

// The main window's number fields that have drag buttons, besides the parameter rows.
enum class DragField {
  kZoneLeft,
  kZoneTop,
  kZoneRight,
  kZoneBottom,
  kZoneStep,  // any of the four zone steps
  kStartFrame,
  kEndFrame,
  kTestFrame,
  kParameter,  // a parameter value or step: its kind's range
};

// The parameter kind a field drags as: zone values and steps as integers (kind 0), frame
// numbers as positive integers (kind 12), parameters as their own kind.
int32_t DragKindOf(DragField field, int32_t parameter_kind);

// The current texts of the fields the bounds depend on.
struct DragFieldTexts {
  std::array<std::string, 4> zone;  // Left, Top, Right, Bottom
  std::string start_frame;
  std::string end_frame;
};

struct DragBounds {
  double low = 0;
  double high = 0;
};
// Left stays within -32000 .. Right and Right within Left .. 32000 (Top and Bottom alike), Start
// Frame within 0 .. End Frame, End Frame within Start Frame .. 32000, Test Frame within Start
// Frame .. End Frame; other fields within their kind's range. The other fields' texts are read
// as whole numbers (0 when they hold none) and first held within the kind's range, so a typed
// value far outside it cannot turn the bounds around; where typed frames still cross (Start
// above End), the lower bound wins.
DragBounds DragBoundsOf(DragField field, int32_t parameter_kind, const DragFieldTexts& texts);

// One drag, from the press on a drag button to its release.
class Drag {
 public:
  // Remembers the field's value (its text read as "%f"; 0 when it holds none), its kind and the
  // cursor position the drag is anchored at.
  void Begin(int target, int32_t kind, const std::string& field_text, int anchor_x);
  bool Active() const { return active_; }
  int Target() const { return target_; }
  int AnchorX() const { return anchor_x_; }
  double Value() const { return value_; }
  // The cursor is at x (and will be put back at the anchor): the value moves by
  // (x - anchor) * the kind's factor, kept within bounds, and the field's new text in the drag
  // format is returned. Nothing when x is the anchor's x or no drag is active.
  std::optional<std::string> Step(int x, const DragBounds& bounds);
  void End() { active_ = false; }

 private:
  bool active_ = false;
  int target_ = 0;
  int32_t kind_ = 0;
  double value_ = 0;
  int anchor_x_ = 0;
};

}  // namespace ombrix::editor
