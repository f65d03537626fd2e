// Still icons and animation clips for the top-left corner of the message and progress windows.
#pragma once

#include <wx/bitmap.h>

#include <string>
#include <vector>

class wxAnimationCtrl;

namespace ombrix::gui {

// Frame numbers of the fallback icon's pictures.
inline constexpr int16_t kIconQuestion = 1;
inline constexpr int16_t kIconInformation = 2;
inline constexpr int16_t kIconWorking = 3;

// The fallback icon's pictures, size x size pixels: a question mark, an "i" and an hourglass.
std::vector<wxBitmap> FallbackIconPictures(int size);

// Loads the clip file at path into the control and plays it without end. False, with the
// control untouched, when the path is empty or names nothing the control can play.
bool PlayClip(wxAnimationCtrl* control, const std::string& path);

}  // namespace ombrix::gui
