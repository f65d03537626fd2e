// AniButton painting and mouse handling.
#include "gui/ani_button.h"

#include <wx/dcclient.h>
#include <wx/textwrapper.h>

#include <utility>

#include "gui/frames.h"

namespace ombrix::gui {

wxDEFINE_EVENT(EVT_ANI_MOUSE_DOWN, AniMouseEvent);
wxDEFINE_EVENT(EVT_ANI_MOUSE_MOVE, AniMouseEvent);

namespace {

class LineCollector : public wxTextWrapper {
 public:
  std::vector<wxString> lines;

 protected:
  void OnOutputLine(const wxString& line) override { lines.push_back(line); }
};

int ShiftState(const wxMouseState& mouse) {
  return (mouse.ShiftDown() ? 1 : 0) | (mouse.ControlDown() ? 2 : 0) | (mouse.AltDown() ? 4 : 0);
}

}  // namespace

AniButton::AniButton(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos, const wxSize& size,
                     long style) {
  Create(parent, id, label, pos, size, style);
}

bool AniButton::Create(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos, const wxSize& size,
                       long style) {
  // The face is painted in full on every paint, so no background erase is wanted.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  if (!wxControl::Create(parent, id, pos, size, style | wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE)) return false;
  wxControl::SetLabel(label);
  return true;
}

void AniButton::SetFrame(int16_t frame) {
  frame_ = frame;
  Repaint();
}

void AniButton::SetFramePictures(std::vector<wxBitmap> pictures) {
  pictures_ = std::move(pictures);
  Repaint();
}

void AniButton::SetTextIndent(int pixels) {
  text_indent_ = pixels;
  Repaint();
}

void AniButton::SetBackColour(Colour colour) {
  back_ = colour & 0xFFFFFF;
  Repaint();
}

void AniButton::SetForeColour(Colour colour) {
  fore_ = colour & 0xFFFFFF;
  Repaint();
}

void AniButton::SetLabel(const wxString& label) {
  if (label == GetLabel()) return;
  wxControl::SetLabel(label);
  Repaint();
}

void AniButton::FitLabel(const wxString& label, int min_points) {
  wxFont font = GetParent() != nullptr ? GetParent()->GetFont() : GetFont();
  const int room = GetClientSize().x - (HasFlag(kAniAlignLeft) ? text_indent_ + 2 : 4);
  const auto width = [&] {
    int w = 0, h = 0;
    GetTextExtent(label, &w, &h, nullptr, nullptr, &font);
    return w;
  };
  while (font.GetPointSize() > min_points && width() > room) font.SetPointSize(font.GetPointSize() - 1);
  SetFont(font);
  wxControl::SetLabel(label);
  Repaint();
}

wxSize AniButton::DoGetBestSize() const {
  wxSize size = GetTextExtent(GetLabel());
  for (const wxBitmap& picture : pictures_) size.IncTo(picture.GetSize());
  return size + wxSize(8, 4);
}

// Callers rely on a property change showing at once, also while no event loop runs.
void AniButton::Repaint() {
  Refresh();
  if (IsShownOnScreen()) Update();
}

void AniButton::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxSize size = GetClientSize();
  FillArea(dc, wxRect(size), back_);

  if (frame_ >= 1 && static_cast<size_t>(frame_) <= pictures_.size()) {
    const wxBitmap& picture = pictures_[static_cast<size_t>(frame_ - 1)];
    if (picture.IsOk()) {
      dc.DrawBitmap(picture, (size.x - picture.GetWidth()) / 2, (size.y - picture.GetHeight()) / 2, true);
    }
  }

  if (HasFlag(kAniFocusable) && HasFocus()) {
    dc.SetPen(wxPen(ToWxColour(fore_), 1, wxPENSTYLE_DOT));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(wxRect(size).Deflate(2));
  }

  const wxString label = GetLabel();
  if (label.empty()) return;
  dc.SetFont(GetFont());
  dc.SetTextForeground(ToWxColour(fore_));
  dc.SetClippingRegion(wxRect(size));
  const bool left = HasFlag(kAniAlignLeft);
  const int indent = left ? text_indent_ : 0;
  if (HasFlag(kAniWrap)) {
    LineCollector wrapper;
    wrapper.Wrap(this, label, size.x - indent - (left ? 2 : 0) - 1);
    const int line_height = dc.GetCharHeight();
    int y = 0;
    for (const wxString& line : wrapper.lines) {
      const int width = dc.GetTextExtent(line).x;
      dc.DrawText(line, left ? indent : (size.x - width) / 2, y);
      y += line_height;
      if (y >= size.y) break;
    }
  } else {
    wxString shown = label;
    int underlined = -1;
    if (HasFlag(kAniMnemonic)) {
      shown.clear();
      for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&' && i + 1 < label.size()) {
          ++i;
          if (label[i] != '&' && underlined < 0) underlined = static_cast<int>(shown.size());
        }
        shown += label[i];
      }
    }
    dc.DrawLabel(shown, wxRect(indent, 0, size.x - indent - (left ? 2 : 0), size.y),
                 (left ? wxALIGN_LEFT : wxALIGN_CENTRE_HORIZONTAL) | wxALIGN_CENTRE_VERTICAL, underlined);
  }
}

void AniButton::SendMouseEvent(wxEventType type, int button, const wxMouseEvent& mouse) {
  AniMouseEvent event(type, GetId());
  event.SetEventObject(this);
  event.SetParameters(button, ShiftState(mouse), mouse.GetX(), mouse.GetY());
  HandleWindowEvent(event);
}

void AniButton::OnMouseDown(wxMouseEvent& event) {
  int button = 1;
  if (event.GetEventType() == wxEVT_RIGHT_DOWN) button = 2;
  if (event.GetEventType() == wxEVT_MIDDLE_DOWN) button = 4;
  if (button == 1) {
    pressing_ = true;
    // Keeps the release coming here when it happens outside; only a window on the screen can.
    if (!HasCapture() && IsShownOnScreen()) CaptureMouse();
  }
  SendMouseEvent(EVT_ANI_MOUSE_DOWN, button, event);
}

void AniButton::OnMouseMove(wxMouseEvent& event) {
  int button = 0;
  if (event.LeftIsDown()) button |= 1;
  if (event.RightIsDown()) button |= 2;
  if (event.MiddleIsDown()) button |= 4;
  SendMouseEvent(EVT_ANI_MOUSE_MOVE, button, event);
}

// A press is a left button released over the control after it went down over it, so one press
// gives one click event.
void AniButton::OnMouseUp(wxMouseEvent& event) {
  if (HasCapture()) ReleaseMouse();
  if (!pressing_) return;
  pressing_ = false;
  if (!wxRect(GetClientSize()).Contains(event.GetPosition())) return;
  Press();
}

void AniButton::Press() {
  if (HasFlag(kAniTwoState)) SetFrame(frame_ == 1 ? 2 : 1);
  wxCommandEvent click(wxEVT_BUTTON, GetId());
  click.SetEventObject(this);
  HandleWindowEvent(click);
}

void AniButton::OnCaptureLost(wxMouseCaptureLostEvent&) { pressing_ = false; }

void AniButton::OnKeyDown(wxKeyEvent& event) {
  if (HasFlag(kAniFocusable) && event.GetKeyCode() == WXK_SPACE && !event.HasAnyModifiers()) {
    Press();
    return;
  }
  event.Skip();
}

void AniButton::OnFocusChange(wxFocusEvent& event) {
  Repaint();
  event.Skip();
}

// clang-format off
wxBEGIN_EVENT_TABLE(AniButton, wxControl)
  EVT_PAINT(AniButton::OnPaint)
  EVT_LEFT_DOWN(AniButton::OnMouseDown)
  EVT_RIGHT_DOWN(AniButton::OnMouseDown)
  EVT_MIDDLE_DOWN(AniButton::OnMouseDown)
  EVT_LEFT_UP(AniButton::OnMouseUp)
  EVT_MOTION(AniButton::OnMouseMove)
  EVT_MOUSE_CAPTURE_LOST(AniButton::OnCaptureLost)
  EVT_KEY_DOWN(AniButton::OnKeyDown)
  EVT_SET_FOCUS(AniButton::OnFocusChange)
  EVT_KILL_FOCUS(AniButton::OnFocusChange)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace ombrix::gui
