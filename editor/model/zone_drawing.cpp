// Zone drawing.
#include "editor/model/zone_drawing.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <utility>

namespace ombrix::editor {

Zone MoveZoneCorner(Zone zone, ZoneCorner corner, int x, int y) {
  if (corner == ZoneCorner::kLeftTop) {
    zone.left = x;
    zone.top = y;
  } else {
    zone.right = x;
    zone.bottom = y;
  }
  if (zone.right < zone.left) std::swap(zone.left, zone.right);
  if (zone.bottom < zone.top) std::swap(zone.top, zone.bottom);
  return zone;
}

bool PicturePointAt(const DisplayScale& scale, int shown_x, int shown_y, PicturePoint* point) {
  if (scale.shown_width <= 0 || scale.shown_height <= 0 || scale.picture_width <= 0 || scale.picture_height <= 0)
    return false;
  if (shown_x < 0 || shown_y < 0 || shown_x >= scale.shown_width || shown_y >= scale.shown_height) return false;
  point->x = int(int64_t(shown_x) * scale.picture_width / scale.shown_width);
  point->y = int(int64_t(shown_y) * scale.picture_height / scale.shown_height);
  return true;
}

int ShownX(const DisplayScale& scale, int picture_x) {
  if (scale.picture_width <= 0) return 0;
  return int(int64_t(picture_x) * scale.shown_width / scale.picture_width);
}

int ShownY(const DisplayScale& scale, int picture_y) {
  if (scale.picture_height <= 0) return 0;
  return int(int64_t(picture_y) * scale.shown_height / scale.picture_height);
}

namespace {

void InvertPixel(Picture& picture, int x, int y) {
  if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) return;
  uint8_t* pixel = picture.Row(y) + 3 * ptrdiff_t(x);
  for (int c = 0; c < 3; ++c) pixel[c] = uint8_t(255 - pixel[c]);
}

}  // namespace

void InvertOutline(Picture& picture, int x0, int y0, int x1, int y1) {
  if (picture.IsEmpty()) return;
  if (x1 < x0) std::swap(x0, x1);
  if (y1 < y0) std::swap(y0, y1);
  // Clipped to a pixel beyond each side, so a huge zone costs no more than the picture's edges.
  const int left = std::max(x0, -1), right = std::min(x1, picture.Width());
  const int top = std::max(y0, -1), bottom = std::min(y1, picture.Height());
  for (int x = left; x <= right; ++x) {
    InvertPixel(picture, x, y0);
    if (y1 != y0) InvertPixel(picture, x, y1);
  }
  for (int y = std::max(top, y0 + 1); y < std::min(bottom + 1, y1); ++y) {
    InvertPixel(picture, x0, y);
    if (x1 != x0) InvertPixel(picture, x1, y);
  }
}

std::string CoordinateText(const PicturePoint& point) {
  char text[64];
  std::snprintf(text, sizeof text, "( x, y ) = ( %d, %d )", point.x, point.y);
  return text;
}

}  // namespace ombrix::editor
