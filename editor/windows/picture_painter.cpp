// The picture views' drawing.
#include "editor/windows/picture_painter.h"

#include <algorithm>

#include "gui/picture_bitmap.h"

namespace ombrix::editor {

wxBitmap BackgroundPattern() {
  wxImage pattern(8, 8, false);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const unsigned char shade = ((x < 4) == (y < 4)) ? 128 : 96;
      pattern.SetRGB(x, y, shade, shade, (unsigned char)(shade + 8));
    }
  return wxBitmap(pattern);
}

PicturePainter::PicturePainter() : pattern_(BackgroundPattern()) {}

void PicturePainter::SetPicture(const Picture* picture) {
  image_ = picture != nullptr ? gui::PictureImage(*picture) : wxImage();
  reduced_ = wxBitmap();
}

void PicturePainter::SetZoom(const PreviewZoom& zoom) {
  if (zoom.Exponent() != zoom_.Exponent()) reduced_ = wxBitmap();
  zoom_ = zoom;
}

wxSize PicturePainter::ScaledSize() const {
  if (!image_.IsOk()) return {0, 0};
  return {int(zoom_.Scaled(image_.GetWidth())), int(zoom_.Scaled(image_.GetHeight()))};
}

wxPoint PicturePainter::LargestOffset(const wxSize& client) const {
  const wxSize size = ScaledSize();
  return {std::max(0, size.x - client.x), std::max(0, size.y - client.y)};
}

void PicturePainter::Paint(wxDC& dc, const wxSize& client, wxPoint offset) {
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(pattern_);
  dc.DrawRectangle(0, 0, client.x, client.y);
  const wxSize size = ScaledSize();
  if (size.x <= 0 || size.y <= 0) return;
  const wxPoint largest = LargestOffset(client);
  offset.x = std::clamp(offset.x, 0, largest.x);
  offset.y = std::clamp(offset.y, 0, largest.y);
  // Where the scaled picture's top-left corner lies in the window.
  const wxPoint origin(size.x < client.x ? (client.x - size.x) / 2 : -offset.x,
                       size.y < client.y ? (client.y - size.y) / 2 : -offset.y);
  if (zoom_.Exponent() <= 0) {
    if (!reduced_.IsOk())
      reduced_ = wxBitmap(zoom_.Exponent() == 0 ? image_ : image_.Scale(size.x, size.y, wxIMAGE_QUALITY_NORMAL));
    dc.DrawBitmap(reduced_, origin);
    return;
  }
  // Enlarged: only the picture pixels that reach into the window are scaled, each to an n x n
  // block.
  const int n = zoom_.Numerator();
  const int x0 = std::max(0, -origin.x) / n;
  const int y0 = std::max(0, -origin.y) / n;
  const int x1 = std::min(image_.GetWidth(), (client.x - origin.x + n - 1) / n);
  const int y1 = std::min(image_.GetHeight(), (client.y - origin.y + n - 1) / n);
  if (x1 <= x0 || y1 <= y0) return;
  const wxImage part = image_.GetSubImage(wxRect(x0, y0, x1 - x0, y1 - y0));
  dc.DrawBitmap(wxBitmap(part.Scale((x1 - x0) * n, (y1 - y0) * n, wxIMAGE_QUALITY_NORMAL)), origin.x + x0 * n,
                origin.y + y0 * n);
}

}  // namespace ombrix::editor
