// Drawing a picture at a power-of-two zoom into a window: centred when it is smaller than the
// window, from a scroll offset when it is larger, the rest filled with the windows' pattern.
#pragma once

#include <wx/bitmap.h>
#include <wx/brush.h>
#include <wx/dc.h>
#include <wx/image.h>

#include "core/picture/picture.h"
#include "editor/model/preview_zoom.h"

namespace ombrix::editor {

// The 8 x 8 two-shade pattern the picture views fill their background with.
wxBitmap BackgroundPattern();

class PicturePainter {
 public:
  PicturePainter();
  // Takes the picture's pixels (null or empty: nothing is drawn) and the zoom to draw them at.
  void SetPicture(const Picture* picture);
  void SetZoom(const PreviewZoom& zoom);
  // The picture's size at the zoom.
  wxSize ScaledSize() const;
  // The largest scroll offset for a window of the given size: how far the scaled picture
  // reaches beyond it, 0 where it fits.
  wxPoint LargestOffset(const wxSize& client) const;
  // Paints the whole client area; offset is clamped to [0, LargestOffset].
  void Paint(wxDC& dc, const wxSize& client, wxPoint offset);

 private:
  wxImage image_;
  PreviewZoom zoom_;
  wxBitmap reduced_;  // the whole picture at a zoom of 1:1 or less, made on first paint
  wxBrush pattern_;
};

}  // namespace ombrix::editor
