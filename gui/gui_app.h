// What every window needs from the toolkit around it: the application object (started here
// when the host process has none), a pump that never waits, text conversion and dialog units.
#pragma once

#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

#include <string>

class wxWindow;

namespace ombrix::gui {

// True when the process has a graphical wx application object.
bool HasGuiApplication();
// Makes sure there is one: a process without any application object gets one of its own,
// started once for the life of the process. False when the toolkit cannot start (no display)
// or the process holds a console-only application object.
bool EnsureGuiApplication();
// True when EnsureGuiApplication created the application object itself.
bool OwnsGuiApplication();

// Dispatches every pending toolkit event, without waiting for more. Does nothing without an
// application object or while events are already being dispatched this way.
void DispatchPendingEvents();

// Texts cross module boundaries as Windows-1252 bytes; windows show them as wxString.
wxString FromAnsi(const char* text);
std::string ToAnsi(const wxString& text);

// The font every dialog template uses: a sans-serif face of 8 points.
wxFont DialogFont();
// A template rectangle in dialog units, in pixels for the given window (whose font sets the units).
wxRect DialogUnitsRect(wxWindow* window, int x, int y, int width, int height);

}  // namespace ombrix::gui
