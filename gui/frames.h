// Edges and frames drawn on a window's face: raised and sunken edges, panel frames and the
// frames of buttons in their normal and pressed states.
#pragma once

#include <wx/colour.h>
#include <wx/dc.h>
#include <wx/gdicmn.h>

#include "gui/colour_rules.h"

namespace ombrix::gui {

wxColour ToWxColour(Colour colour);
// Fills rect exactly, without an outline.
void FillArea(wxDC& dc, const wxRect& rect, Colour colour);
// A one-pixel outline on the border of rect.
void DrawOutline(wxDC& dc, const wxRect& rect, Colour colour);

// One-pixel edge on the border of rect: the top and left sides in the lighter shade of colour and
// the bottom and right sides in the darker one, the bottom-left and top-right corner pixels in
// colour itself. The sunken edge swaps the shades.
void DrawRaisedEdge(wxDC& dc, const wxRect& rect, Colour colour);
void DrawSunkenEdge(wxDC& dc, const wxRect& rect, Colour colour);

// A black outline on the border of area with a raised edge of the background colour inside it.
void DrawPanelFrame(wxDC& dc, const wxRect& area, Colour background);

// What a window remembers of each of its buttons to draw the frame around it.
struct ButtonRecord {
  wxRect rect;      // the control's rectangle grown by one pixel on each side
  Colour face = 0;  // the normal face colour
  Colour lit = 0;   // LitColour(face), the face while pressed
  bool pressed = false;
};

ButtonRecord MakeButtonRecord(const wxRect& control_rect, Colour face);

// Normal: a raised edge of the face colour on the record's rectangle, filled with the face colour.
// Pressed: a flat outline and fill in the lit colour. Either way a black outline one pixel outside.
void DrawButtonFrame(wxDC& dc, const ButtonRecord& record);

}  // namespace ombrix::gui
