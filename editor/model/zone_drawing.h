// Drawing a filter's zone with the mouse on a picture shown fitted into an area: the picture
// coordinates under the cursor, and the corner a button sets.
#pragma once

#include <string>

#include "core/picture/picture.h"

namespace ombrix::editor {

struct Zone {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// The left button sets Left and Top, the right button Right and Bottom.
enum class ZoneCorner { kLeftTop, kRightBottom };

// The zone with one corner moved to (x, y); then Left and Right are exchanged when Right < Left,
// Top and Bottom when Bottom < Top, so the zone stays ordered whichever way it is drawn.
Zone MoveZoneCorner(Zone zone, ZoneCorner corner, int x, int y);

// A picture of picture_width x picture_height shown as shown_width x shown_height pixels.
struct DisplayScale {
  int picture_width = 0, picture_height = 0;
  int shown_width = 0, shown_height = 0;
};

struct PicturePoint {
  int x = 0, y = 0;
};
// The picture pixel under a point of the shown copy: the point divided by the display scale
// (shown size / picture size), worked out in integers so no rounding of the scale moves it.
// Nothing when the point lies outside the shown copy or nothing is shown.
bool PicturePointAt(const DisplayScale& scale, int shown_x, int shown_y, PicturePoint* point);
// The other way: where a picture coordinate lies on the shown copy (truncated).
int ShownX(const DisplayScale& scale, int picture_x);
int ShownY(const DisplayScale& scale, int picture_y);

// Inverts every pixel of the outline of the rectangle from (x0, y0) to (x1, y1), corners
// included, each pixel once, leaving out what lies outside the picture. Inverting the same
// rectangle again restores the picture, so a zone drawn this way is undrawn the same way.
void InvertOutline(Picture& picture, int x0, int y0, int x1, int y1);

// The label over the picture: "( x, y ) = ( %d, %d )".
std::string CoordinateText(const PicturePoint& point);

}  // namespace ombrix::editor
