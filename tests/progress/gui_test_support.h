// Helpers for tests that drive windows on the private X server: finding windows, letting events
// run, pressing controls like the mouse does, and saving screenshots.
#pragma once

#include <wx/colour.h>
#include <wx/gdicmn.h>
#include <wx/image.h>
#include <wx/string.h>

#include <string>

class wxWindow;

namespace ombrix::test {

// The shown top-level window with this title, or null.
wxWindow* FindTopLevel(const wxString& title);
// Number of top-level windows with this title, shown or not.
int CountTopLevel(const wxString& title);
// Dispatches events for about this long.
void PumpFor(int milliseconds);
// A left button press and release in the middle of the control, as the mouse delivers them.
void ClickControl(wxWindow* control);
// A key press seen by the window's top-level window before any control.
void PressKey(wxWindow* window, int key_code);
// The window as it is on the screen, after letting it paint.
wxImage CaptureWindow(wxWindow* window);
// Saves the image as PNG into the test output directory; returns the path.
std::string SaveScreenshot(const wxImage& image, const std::string& name);
// Colour of one pixel as 0x00BBGGRR.
uint32_t PixelAt(const wxImage& image, int x, int y);
// A fresh empty directory for this test's settings store, made the store's location.
void UsePrivateSettings(const std::string& test_name);

}  // namespace ombrix::test
