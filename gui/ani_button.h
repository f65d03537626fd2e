// AniButton: the button and label control of every window. It shows one of its frame pictures
// and its window text on a face of its back colour, in its fore colour, and reports presses and
// mouse activity to its parent by control id.
#pragma once

#include <wx/control.h>
#include <wx/event.h>

#include <cstdint>
#include <vector>

#include "gui/colour_rules.h"

namespace ombrix::gui {

// Window styles of AniButton (in the user range of wxWindow styles).
inline constexpr long kAniAlignLeft = 0x0001;  // text starts at the left edge instead of centred
inline constexpr long kAniWrap = 0x0002;       // text wraps at words and line breaks, from the top
// A two-state button: each press toggles its frame between 1 and 2 before the click event goes
// out, so the handler sees the new state.
inline constexpr long kAniTwoState = 0x0004;
// The caption's "&" marks its shortcut letter, drawn underlined ("&&" draws one "&"), as the
// original's dialog captions do; the label keeps the caption as written.
inline constexpr long kAniMnemonic = 0x0008;
// The control takes the keyboard focus (Tab reaches it), shows a dotted frame while it has it,
// and Space presses it as a click does.
inline constexpr long kAniFocusable = 0x0010;

// The standard mouse event parameters: which button (1 left, 2 right, 4 middle), which modifier
// keys (1 Shift, 2 Ctrl, 4 Alt) and the pointer position in pixels inside the control.
class AniMouseEvent : public wxCommandEvent {
 public:
  AniMouseEvent(wxEventType type = wxEVT_NULL, int id = 0) : wxCommandEvent(type, id) {}
  int Button() const { return button_; }
  int Shift() const { return shift_; }
  int X() const { return x_; }
  int Y() const { return y_; }
  void SetParameters(int button, int shift, int x, int y) {
    button_ = button;
    shift_ = shift;
    x_ = x;
    y_ = y;
  }
  wxEvent* Clone() const override { return new AniMouseEvent(*this); }

 private:
  int button_ = 0;
  int shift_ = 0;
  int x_ = 0;
  int y_ = 0;
};

// Mouse-down and mouse-move reach the parent like command events. A press (button down and up
// over the control) is a wxEVT_BUTTON command event with the control's id.
wxDECLARE_EVENT(EVT_ANI_MOUSE_DOWN, AniMouseEvent);
wxDECLARE_EVENT(EVT_ANI_MOUSE_MOVE, AniMouseEvent);

typedef void (wxEvtHandler::*AniMouseEventFunction)(AniMouseEvent&);
#define OMBRIX_ANI_MOUSE_HANDLER(func) wxEVENT_HANDLER_CAST(::ombrix::gui::AniMouseEventFunction, func)
#define EVT_ANI_MOUSE_DOWN_ID(id, func) \
  wx__DECLARE_EVT1(::ombrix::gui::EVT_ANI_MOUSE_DOWN, id, OMBRIX_ANI_MOUSE_HANDLER(func))
#define EVT_ANI_MOUSE_MOVE_ID(id, func) \
  wx__DECLARE_EVT1(::ombrix::gui::EVT_ANI_MOUSE_MOVE, id, OMBRIX_ANI_MOUSE_HANDLER(func))

class AniButton : public wxControl {
 public:
  AniButton() = default;
  AniButton(wxWindow* parent, wxWindowID id, const wxString& label = wxString(), const wxPoint& pos = wxDefaultPosition,
            const wxSize& size = wxDefaultSize, long style = 0);
  bool Create(wxWindow* parent, wxWindowID id, const wxString& label = wxString(),
              const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize, long style = 0);

  // The frame shown, first frame 1. A frame without a picture shows only the face and text.
  int16_t Frame() const { return frame_; }
  void SetFrame(int16_t frame);
  // Pictures of frames 1, 2, ... in order, drawn centred.
  void SetFramePictures(std::vector<wxBitmap> pictures);

  Colour BackColour() const { return back_; }
  void SetBackColour(Colour colour);
  Colour ForeColour() const { return fore_; }
  void SetForeColour(Colour colour);

  // Pixels kept free before left-aligned text (for a two-state button's lamp).
  void SetTextIndent(int pixels);

  // The window text is the label; setting it repaints the control.
  void SetLabel(const wxString& label) override;
  // A caption set at run time (a filter's parameter or option name) may be wider than the
  // control: the font steps down a point at a time, to no less than min_points, until the
  // caption fits. The control's own font again when it fits as it is.
  void FitLabel(const wxString& label, int min_points = 6);

  // A press as the mouse gives it: a two-state button toggles, then the click event goes out.
  void Press();

  bool AcceptsFocus() const override { return HasFlag(kAniFocusable) && IsShown() && IsEnabled(); }
  bool AcceptsFocusFromKeyboard() const override { return AcceptsFocus(); }
  bool HasTransparentBackground() override { return false; }

 protected:
  wxSize DoGetBestSize() const override;

 private:
  void OnPaint(wxPaintEvent& event);
  void OnMouseDown(wxMouseEvent& event);
  void OnMouseUp(wxMouseEvent& event);
  void OnMouseMove(wxMouseEvent& event);
  void OnCaptureLost(wxMouseCaptureLostEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnFocusChange(wxFocusEvent& event);
  void SendMouseEvent(wxEventType type, int button, const wxMouseEvent& mouse);
  void Repaint();

  int16_t frame_ = 1;
  std::vector<wxBitmap> pictures_;
  Colour back_ = 0xC0C0C0;
  Colour fore_ = 0x000000;
  bool pressing_ = false;
  int text_indent_ = 2;

  wxDECLARE_EVENT_TABLE();
};

}  // namespace ombrix::gui
