// The picture view.
#include "editor/windows/picture_view_window.h"

#include <wx/display.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>

#include <algorithm>

#include "core/platform/paths.h"
#include "gui/gui_app.h"
#include "gui/picture_bitmap.h"

namespace ombrix::editor {

PictureViewWindow::PictureViewWindow(wxWindow* owner, std::unique_ptr<Picture> picture)
    : wxFrame(owner, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
              wxDEFAULT_FRAME_STYLE | wxFRAME_FLOAT_ON_PARENT),
      picture_(std::move(picture)) {
  const PictureInfo* info = picture_->Info();
  SetTitle(wxString::Format("%s (%dx%d) - %s", gui::FromAnsi(platform::FileNamePart(info->source_text)), info->width,
                            info->height, gui::FromAnsi(info->type_text)));
  auto* area = new wxScrolledWindow(this);
  auto* shown = new wxStaticBitmap(area, wxID_ANY, gui::PictureBitmap(*picture_));
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(shown);
  area->SetSizer(sizer);
  area->SetScrollRate(10, 10);
  const wxRect screen = wxDisplay(0u).GetClientArea();
  area->SetVirtualSize(info->width, info->height);
  SetClientSize(std::min<int>(info->width, screen.width * 3 / 4), std::min<int>(info->height, screen.height * 3 / 4));
  CentreOnParent();
}

}  // namespace ombrix::editor
