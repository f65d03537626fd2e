// Drawing the banner and the icon.
#include "editor/windows/artwork.h"

#include <wx/dcmemory.h>
#include <wx/graphics.h>

#include <algorithm>
#include <memory>

#include "gui/icons.h"

namespace ombrix::editor {

wxBitmap BannerPicture(const wxSize& size) {
  wxBitmap bitmap(size.x, size.y, 24);
  wxMemoryDC dc(bitmap);
  std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
  if (!gc) return bitmap;
  const double w = size.x;
  const double h = size.y;
  gc->SetBrush(gc->CreateLinearGradientBrush(0, 0, w, h, wxColour(24, 28, 48), wxColour(70, 40, 90)));
  gc->SetPen(*wxTRANSPARENT_PEN);
  gc->DrawRectangle(0, 0, w, h);
  // Soft bands of light across the right side, as the package's streak filters leave them.
  for (int i = 0; i < 7; ++i) {
    const double x = w * (0.52 + 0.07 * i);
    gc->SetBrush(gc->CreateLinearGradientBrush(x, 0, x + h * 0.9, h, wxColour(255, 190 - 15 * i, 90 + 20 * i, 0),
                                               wxColour(255, 190 - 15 * i, 90 + 20 * i, 70)));
    gc->DrawRectangle(x, 0, h * 0.45, h);
  }
  const double title_height = h * 0.62;
  gc->SetFont(wxFont(wxFontInfo(wxSize(0, int(title_height))).Family(wxFONTFAMILY_SWISS).Bold()),
              wxColour(240, 235, 255));
  double tw = 0, th = 0;
  gc->GetTextExtent("OMBRIX", &tw, &th);
  const double left = h * 0.4;
  const double top = (h - th) / 2;
  gc->DrawText("OMBRIX", left, top);
  // The subtitle follows the title, made smaller where the banner is short of room.
  const double room = w - (left + tw + h * 0.35) - h * 0.25;
  double subtitle_height = h * 0.36;
  double sw = 0, sh = 0;
  for (int attempt = 0; attempt < 2; ++attempt) {
    gc->SetFont(wxFont(wxFontInfo(wxSize(0, std::max(6, int(subtitle_height)))).Family(wxFONTFAMILY_SWISS).Italic()),
                wxColour(205, 195, 235));
    gc->GetTextExtent("image effects by Zorvex", &sw, &sh);
    if (sw <= room) break;
    subtitle_height *= room / sw;
  }
  gc->DrawText("image effects by Zorvex", left + tw + h * 0.35, top + th - sh - h * 0.04);
  return bitmap;
}

wxIcon ProgramIcon() {
  wxIcon icon;
  icon.CopyFromBitmap(gui::BadgePicture(48, 0x803C46, "O"));
  return icon;
}

}  // namespace ombrix::editor
