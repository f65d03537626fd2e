// Drawing edges and frames pixel by pixel with filled one-pixel rectangles, which every wx device
// context covers exactly.
#include "gui/frames.h"

#include <wx/brush.h>
#include <wx/pen.h>

namespace ombrix::gui {

wxColour ToWxColour(Colour colour) {
  return wxColour(static_cast<unsigned char>(RedOf(colour)), static_cast<unsigned char>(GreenOf(colour)),
                  static_cast<unsigned char>(BlueOf(colour)));
}

void FillArea(wxDC& dc, const wxRect& rect, Colour colour) {
  if (rect.width <= 0 || rect.height <= 0) return;
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(ToWxColour(colour)));
  dc.DrawRectangle(rect);
}

void DrawOutline(wxDC& dc, const wxRect& rect, Colour colour) {
  FillArea(dc, wxRect(rect.x, rect.y, rect.width, 1), colour);
  FillArea(dc, wxRect(rect.x, rect.GetBottom(), rect.width, 1), colour);
  FillArea(dc, wxRect(rect.x, rect.y, 1, rect.height), colour);
  FillArea(dc, wxRect(rect.GetRight(), rect.y, 1, rect.height), colour);
}

namespace {

void DrawEdge(wxDC& dc, const wxRect& rect, Colour colour, Colour top_left, Colour bottom_right) {
  if (rect.width <= 0 || rect.height <= 0) return;
  FillArea(dc, wxRect(rect.x, rect.y, rect.width, 1), top_left);
  FillArea(dc, wxRect(rect.x, rect.y, 1, rect.height), top_left);
  FillArea(dc, wxRect(rect.x, rect.GetBottom(), rect.width, 1), bottom_right);
  FillArea(dc, wxRect(rect.GetRight(), rect.y, 1, rect.height), bottom_right);
  FillArea(dc, wxRect(rect.x, rect.GetBottom(), 1, 1), colour);
  FillArea(dc, wxRect(rect.GetRight(), rect.y, 1, 1), colour);
}

}  // namespace

void DrawRaisedEdge(wxDC& dc, const wxRect& rect, Colour colour) {
  DrawEdge(dc, rect, colour, LighterShade(colour), DarkerShade(colour));
}

void DrawSunkenEdge(wxDC& dc, const wxRect& rect, Colour colour) {
  DrawEdge(dc, rect, colour, DarkerShade(colour), LighterShade(colour));
}

void DrawPanelFrame(wxDC& dc, const wxRect& area, Colour background) {
  DrawOutline(dc, area, kBlack);
  DrawRaisedEdge(dc, wxRect(area).Deflate(1), background);
}

ButtonRecord MakeButtonRecord(const wxRect& control_rect, Colour face) {
  ButtonRecord record;
  record.rect = wxRect(control_rect).Inflate(1);
  record.face = face & 0xFFFFFF;
  record.lit = LitColour(record.face);
  return record;
}

void DrawButtonFrame(wxDC& dc, const ButtonRecord& record) {
  if (record.pressed) {
    FillArea(dc, record.rect, record.lit);
  } else {
    FillArea(dc, wxRect(record.rect).Deflate(1), record.face);
    DrawRaisedEdge(dc, record.rect, record.face);
  }
  DrawOutline(dc, wxRect(record.rect).Inflate(1), kBlack);
}

}  // namespace ombrix::gui
