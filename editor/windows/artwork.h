// The editor's own pictures, drawn in code: the banner across the main window and the splash
// window, and the program icon.
#pragma once

#include <wx/bitmap.h>
#include <wx/icon.h>

namespace ombrix::editor {

// The product name on a dark gradient, size pixels.
wxBitmap BannerPicture(const wxSize& size);
wxIcon ProgramIcon();

}  // namespace ombrix::editor
