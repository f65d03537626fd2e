// The full-screen view.
#include "editor/windows/full_screen_view.h"

#include <wx/dcbuffer.h>
#include <wx/display.h>
#include <wx/scrolbar.h>
#include <wx/settings.h>

#include <algorithm>

namespace ombrix::editor {

FullScreenView::FullScreenView(wxWindow* parent, const Picture& picture) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  const int display = wxDisplay::GetFromWindow(parent);
  const wxRect screen = wxDisplay(display != wxNOT_FOUND ? unsigned(display) : 0u).GetGeometry();
  Create(parent, wxID_ANY, "Ombrix - Full Screen", screen.GetPosition(), screen.GetSize(),
         wxBORDER_NONE | wxSTAY_ON_TOP);
  SetSizeHints(screen.GetSize(), screen.GetSize());
  SetSize(screen);
  painter_.SetPicture(&picture);
  const wxSize client = GetClientSize();
  const int bar = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this);
  vertical_ = new wxScrollBar(this, kFullScreenVertical, wxPoint(client.x - bar, 0), wxSize(bar, client.y - bar),
                              wxSB_VERTICAL);
  horizontal_ = new wxScrollBar(this, kFullScreenHorizontal, wxPoint(0, client.y - bar), wxSize(client.x - bar, bar),
                                wxSB_HORIZONTAL);
  const wxSize size = painter_.ScaledSize();
  vertical_->SetScrollbar(0, client.y, std::max(size.y, client.y), client.y);
  horizontal_->SetScrollbar(0, client.x, std::max(size.x, client.x), client.x);
  vertical_->Hide();
  horizontal_->Hide();
}

void FullScreenView::MouseAt(const wxPoint& point) {
  const wxSize client = GetClientSize();
  const wxPoint largest = painter_.LargestOffset(client);
  vertical_->Show(largest.y > 0 && point.x >= client.x - kEdgeReach);
  horizontal_->Show(largest.x > 0 && point.y >= client.y - kEdgeReach);
}

void FullScreenView::ScrollTo(wxPoint offset) {
  const wxPoint largest = painter_.LargestOffset(GetClientSize());
  offset_ = {std::clamp(offset.x, 0, largest.x), std::clamp(offset.y, 0, largest.y)};
  vertical_->SetThumbPosition(offset_.y);
  horizontal_->SetThumbPosition(offset_.x);
  Refresh();
}

bool FullScreenView::Key(int key) {
  const wxSize page = GetClientSize();
  const wxPoint largest = painter_.LargestOffset(page);
  switch (key) {
    case WXK_PAGEUP:
      ScrollTo({offset_.x, 0});
      return true;
    case WXK_PAGEDOWN:
      ScrollTo({offset_.x, largest.y});
      return true;
    case WXK_HOME:
      ScrollTo({0, offset_.y});
      return true;
    case WXK_END:
      ScrollTo({largest.x, offset_.y});
      return true;
    case WXK_LEFT:
      ScrollTo(offset_ - wxPoint(page.x, 0));
      return true;
    case WXK_RIGHT:
      ScrollTo(offset_ + wxPoint(page.x, 0));
      return true;
    case WXK_UP:
      ScrollTo(offset_ - wxPoint(0, page.y));
      return true;
    case WXK_DOWN:
      ScrollTo(offset_ + wxPoint(0, page.y));
      return true;
    case WXK_ESCAPE:
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
    case WXK_SPACE:
      EndModal(wxID_OK);
      return true;
    default:
      return false;
  }
}

void FullScreenView::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  painter_.Paint(dc, GetClientSize(), offset_);
}

void FullScreenView::OnMotion(wxMouseEvent& event) {
  MouseAt(event.GetPosition());
  event.Skip();
}

void FullScreenView::OnLeftUp(wxMouseEvent&) { EndModal(wxID_OK); }

void FullScreenView::OnCharHook(wxKeyEvent& event) {
  if (event.HasAnyModifiers() || !Key(event.GetKeyCode())) event.Skip();
}

void FullScreenView::OnScroll(wxScrollEvent& event) {
  if (event.GetId() == kFullScreenVertical)
    ScrollTo({offset_.x, event.GetPosition()});
  else
    ScrollTo({event.GetPosition(), offset_.y});
}

// clang-format off
wxBEGIN_EVENT_TABLE(FullScreenView, wxDialog)
  EVT_PAINT(FullScreenView::OnPaint)
  EVT_MOTION(FullScreenView::OnMotion)
  EVT_LEFT_UP(FullScreenView::OnLeftUp)
  EVT_CHAR_HOOK(FullScreenView::OnCharHook)
  EVT_COMMAND_SCROLL(kFullScreenVertical, FullScreenView::OnScroll)
  EVT_COMMAND_SCROLL(kFullScreenHorizontal, FullScreenView::OnScroll)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::editor
