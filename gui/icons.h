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

// A round badge of the given colour (0x00BBGGRR) with a white glyph centred in it.
wxBitmap BadgePicture(int size, uint32_t colour, const wxString& glyph);

// Frames 1 (on) and 2 (off) of a two-state button of the given size: a lamp at the left edge,
// lit or dark, on a transparent ground so the button's face shows around it. The caption
// belongs to the right of TwoStateTextIndent(size) pixels.
std::vector<wxBitmap> TwoStatePictures(const wxSize& size);
int TwoStateTextIndent(const wxSize& size);

// Frames 1 to 4 of the small buttons beside number fields, size pixels: 1 the drag look (arrows
// left and right), 2 the same pressed, 3 the action look (three dots), 4 the same pressed.
inline constexpr int16_t kDragLook = 1;
inline constexpr int16_t kActionLook = 3;
std::vector<wxBitmap> SmallButtonPictures(const wxSize& size);

// The picture of an unlabelled confirm button: a tick, size x size pixels.
wxBitmap ConfirmPicture(int size);

// Loads the clip file at path into the control and plays it without end. False, with the
// control untouched, when the path is empty or names nothing the control can play.
bool PlayClip(wxAnimationCtrl* control, const std::string& path);

}  // namespace ombrix::gui
