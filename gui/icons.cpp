// Fallback icon pictures drawn in code, and clip playback.
#include "gui/icons.h"

#include <wx/animate.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/log.h>

#include <algorithm>
#include <memory>

namespace ombrix::gui {
namespace {

int LampSide(const wxSize& size) { return std::max(5, std::min(size.y - 4, 11)); }

wxBitmap TransparentBitmap(const wxSize& size) {
  wxImage image(size.x, size.y);
  image.InitAlpha();
  std::fill(image.GetAlpha(), image.GetAlpha() + ptrdiff_t(size.x) * size.y, 0);
  return wxBitmap(image, 32);
}

wxBitmap TransparentBitmap(int size) { return TransparentBitmap(wxSize(size, size)); }

// A round badge of the given colour with a white glyph centred in it.
wxBitmap Badge(int size, const wxColour& colour, const wxString& glyph) {
  wxBitmap bitmap = TransparentBitmap(size);
  wxMemoryDC dc(bitmap);
  std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
  if (!gc) return bitmap;
  const double d = size - 2.0;
  gc->SetPen(wxPen(colour.ChangeLightness(60), 1));
  gc->SetBrush(wxBrush(colour));
  gc->DrawEllipse(1, 1, d - 1, d - 1);
  gc->SetFont(wxFont(wxFontInfo(wxSize(0, size * 2 / 3)).Family(wxFONTFAMILY_SWISS).Bold()), *wxWHITE);
  double width = 0;
  double height = 0;
  gc->GetTextExtent(glyph, &width, &height);
  gc->DrawText(glyph, (size - width) / 2, (size - height) / 2);
  return bitmap;
}

wxBitmap Hourglass(int size) {
  wxBitmap bitmap = TransparentBitmap(size);
  wxMemoryDC dc(bitmap);
  std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
  if (!gc) return bitmap;
  const double s = size;
  gc->SetPen(wxPen(wxColour(60, 40, 20), 2));
  gc->SetBrush(wxBrush(wxColour(150, 100, 50)));
  gc->DrawRectangle(s * 0.2, s * 0.08, s * 0.6, s * 0.1);
  gc->DrawRectangle(s * 0.2, s * 0.82, s * 0.6, s * 0.1);
  wxGraphicsPath glass = gc->CreatePath();
  glass.MoveToPoint(s * 0.28, s * 0.18);
  glass.AddLineToPoint(s * 0.72, s * 0.18);
  glass.AddLineToPoint(s * 0.52, s * 0.5);
  glass.AddLineToPoint(s * 0.72, s * 0.82);
  glass.AddLineToPoint(s * 0.28, s * 0.82);
  glass.AddLineToPoint(s * 0.48, s * 0.5);
  glass.CloseSubpath();
  gc->SetPen(wxPen(wxColour(60, 60, 80), 1));
  gc->SetBrush(wxBrush(wxColour(220, 230, 255)));
  gc->DrawPath(glass);
  wxGraphicsPath sand = gc->CreatePath();
  sand.MoveToPoint(s * 0.34, s * 0.8);
  sand.AddLineToPoint(s * 0.66, s * 0.8);
  sand.AddLineToPoint(s * 0.5, s * 0.6);
  sand.CloseSubpath();
  gc->SetBrush(wxBrush(wxColour(230, 180, 60)));
  gc->SetPen(*wxTRANSPARENT_PEN);
  gc->DrawPath(sand);
  return bitmap;
}

wxBitmap Lamp(const wxSize& size, bool lit) {
  wxBitmap bitmap = TransparentBitmap(size);
  wxMemoryDC dc(bitmap);
  std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
  if (!gc) return bitmap;
  const int side = LampSide(size);
  const double x = 3;
  const double y = (size.y - side) / 2.0;
  gc->SetPen(wxPen(wxColour(30, 30, 30), 1));
  gc->SetBrush(wxBrush(lit ? wxColour(255, 220, 60) : wxColour(70, 70, 70)));
  gc->DrawRectangle(x, y, side - 1, side - 1);
  if (lit) {
    gc->SetPen(*wxTRANSPARENT_PEN);
    gc->SetBrush(wxBrush(wxColour(255, 250, 200)));
    gc->DrawRectangle(x + 2, y + 2, side / 3.0, side / 3.0);
  }
  return bitmap;
}

}  // namespace

wxBitmap BadgePicture(int size, uint32_t colour, const wxString& glyph) {
  return Badge(size, wxColour(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF), glyph);
}

std::vector<wxBitmap> TwoStatePictures(const wxSize& size) { return {Lamp(size, true), Lamp(size, false)}; }

int TwoStateTextIndent(const wxSize& size) { return 3 + LampSide(size) + 4; }

namespace {

wxBitmap SmallButtonPicture(const wxSize& size, bool arrows, int shift) {
  wxBitmap bitmap = TransparentBitmap(size);
  wxMemoryDC dc(bitmap);
  std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
  if (!gc) return bitmap;
  const double cx = size.x / 2.0 + shift;
  const double cy = size.y / 2.0 + shift;
  gc->SetPen(*wxTRANSPARENT_PEN);
  gc->SetBrush(wxBrush(wxColour(20, 20, 20)));
  if (arrows) {
    const double h = std::max(2.0, std::min(size.x, size.y) / 3.0);
    wxGraphicsPath left = gc->CreatePath();
    left.MoveToPoint(cx - 0.5, cy - h);
    left.AddLineToPoint(cx - 0.5 - h, cy);
    left.AddLineToPoint(cx - 0.5, cy + h);
    left.CloseSubpath();
    wxGraphicsPath right = gc->CreatePath();
    right.MoveToPoint(cx + 0.5, cy - h);
    right.AddLineToPoint(cx + 0.5 + h, cy);
    right.AddLineToPoint(cx + 0.5, cy + h);
    right.CloseSubpath();
    gc->FillPath(left);
    gc->FillPath(right);
  } else {
    const double r = std::max(1.0, size.x / 10.0);
    for (int i = -1; i <= 1; ++i) gc->DrawEllipse(cx + i * (size.x / 4.0) - r, cy - r, 2 * r, 2 * r);
  }
  return bitmap;
}

}  // namespace

std::vector<wxBitmap> SmallButtonPictures(const wxSize& size) {
  return {SmallButtonPicture(size, true, 0), SmallButtonPicture(size, true, 1), SmallButtonPicture(size, false, 0),
          SmallButtonPicture(size, false, 1)};
}

wxBitmap ConfirmPicture(int size) {
  wxBitmap bitmap = TransparentBitmap(size);
  wxMemoryDC dc(bitmap);
  std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
  if (!gc) return bitmap;
  const double s = size;
  wxGraphicsPath tick = gc->CreatePath();
  tick.MoveToPoint(s * 0.18, s * 0.52);
  tick.AddLineToPoint(s * 0.42, s * 0.76);
  tick.AddLineToPoint(s * 0.84, s * 0.24);
  gc->SetPen(wxPen(wxColour(20, 90, 30), std::max(2, size / 6)));
  gc->StrokePath(tick);
  return bitmap;
}

std::vector<wxBitmap> FallbackIconPictures(int size) {
  return {Badge(size, wxColour(40, 90, 200), "?"), Badge(size, wxColour(30, 140, 60), "i"), Hourglass(size)};
}

bool PlayClip(wxAnimationCtrl* control, const std::string& path) {
  if (control == nullptr || path.empty()) return false;
  // A clip that cannot be read is an expected case with its own fallback, not an error to report.
  wxLogNull quiet;
  wxAnimation clip = control->CreateAnimation();
  if (!clip.LoadFile(wxString(path.c_str(), *wxConvFileName)) || !clip.IsOk()) return false;
  control->SetAnimation(clip);
  return control->Play();
}

}  // namespace ombrix::gui
