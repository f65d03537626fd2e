// The full-screen view (template 188): a picture at its own size over the whole screen, from
// its top-left corner. A scroll bar appears while the mouse is within 30 pixels of the right
// (vertical) or bottom (horizontal) edge and the picture reaches beyond the screen that way.
// Page Up / Page Down go to the top / bottom, Home / End to the left / right end, the arrows
// scroll a page; Esc, Enter, Space or a click ends it.
#pragma once

#include <wx/dialog.h>

#include "core/picture/picture.h"
#include "editor/windows/picture_painter.h"

class wxScrollBar;

namespace ombrix::editor {

enum FullScreenViewId { kFullScreenVertical = 1000, kFullScreenHorizontal };

class FullScreenView : public wxDialog {
 public:
  static constexpr int kTemplate = 188;
  // How near an edge the mouse reveals its scroll bar.
  static constexpr int kEdgeReach = 30;

  FullScreenView(wxWindow* parent, const Picture& picture);

  wxPoint Offset() const { return offset_; }
  wxScrollBar* VerticalBar() const { return vertical_; }
  wxScrollBar* HorizontalBar() const { return horizontal_; }
  // Shows or hides the scroll bars for the mouse at this point of the view.
  void MouseAt(const wxPoint& point);
  // The keys of the view; false for a key it does not use.
  bool Key(int key);

 private:
  void ScrollTo(wxPoint offset);
  void OnPaint(wxPaintEvent& event);
  void OnMotion(wxMouseEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnScroll(wxScrollEvent& event);

  PicturePainter painter_;
  wxScrollBar* vertical_ = nullptr;
  wxScrollBar* horizontal_ = nullptr;
  wxPoint offset_{0, 0};

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::editor
