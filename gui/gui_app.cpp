// Application object, event pump, text conversion and dialog units.
#include "gui/gui_app.h"

#include <wx/app.h>
#include <wx/apptrait.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/strconv.h>
#include <wx/window.h>

#include <cstdio>

#include "core/text/windows1252.h"

namespace ombrix::gui {
namespace {

bool g_start_attempted = false;
bool g_owns_application = false;
// An event loop object to yield through when no loop runs (a host that never runs one). Made once
// and kept for the life of the process, like the application object it belongs to.
wxEventLoopBase* g_idle_loop = nullptr;

class HostlessApp : public wxApp {
 public:
  // Nothing to set up: the windows are created by the module's calls, not by OnInit.
  bool OnInit() override { return true; }
  // The host cannot answer the toolkit's assertion dialog; a failed check is reported on
  // standard error and the program goes on.
  void OnAssertFailure(const wxChar* file, int line, const wxChar* func, const wxChar* cond,
                       const wxChar* msg) override {
    std::fprintf(stderr, "wxWidgets check failed: %s:%d in %s: %s %s\n", wxString(file).utf8_str().data(), line,
                 wxString(func).utf8_str().data(), wxString(cond).utf8_str().data(), wxString(msg).utf8_str().data());
  }
};

const wxCSConv& AnsiConv() {
  static const wxCSConv conv(wxFONTENCODING_CP1252);
  return conv;
}

}  // namespace

bool HasGuiApplication() { return dynamic_cast<wxApp*>(wxAppConsole::GetInstance()) != nullptr; }

bool EnsureGuiApplication() {
  if (wxAppConsole::GetInstance() != nullptr) return HasGuiApplication();
  if (g_start_attempted) return false;
  g_start_attempted = true;
  // The toolkit owns the application object from here on (and deletes it if the start fails).
  wxApp::SetInstance(new HostlessApp);
  static char program_name[] = "OmOut";
  static char* argv[] = {program_name, nullptr};
  int argc = 1;
  // On failure wxEntryStart deletes the application object again and clears the instance.
  if (!wxEntryStart(argc, argv)) return false;
  // The host has no way to show the toolkit's log windows; its diagnostics go to standard error.
  // The log target, like the application object, now belongs to the toolkit.
  delete wxLog::SetActiveTarget(new wxLogStderr);  // NOLINT(clang-analyzer-cplusplus.NewDeleteLeaks)
  g_owns_application = true;
  return true;
}

bool OwnsGuiApplication() { return g_owns_application; }

void DispatchPendingEvents() {
  if (!HasGuiApplication()) return;
  wxEventLoopBase* loop = wxEventLoopBase::GetActive();
  if (loop == nullptr) {
    if (g_idle_loop == nullptr) g_idle_loop = wxAppConsole::GetInstance()->GetTraits()->CreateEventLoop();
    loop = g_idle_loop;
  }
  if (loop == nullptr || loop->IsYielding()) return;
  loop->YieldFor(wxEVT_CATEGORY_ALL);
}

// Through the system's own table rather than the toolkit's converter, which gives an empty text
// for the whole string when one byte is one the code page leaves unassigned.
wxString FromAnsi(const char* text) {
  return text != nullptr ? wxString::FromUTF8(text::Utf8FromAnsi(text)) : wxString();
}

std::string ToAnsi(const wxString& text) {
  const wxCharBuffer bytes = text.mb_str(AnsiConv());
  return bytes.data() != nullptr ? std::string(bytes.data()) : std::string();
}

wxFont DialogFont() { return wxFont(wxFontInfo(8).Family(wxFONTFAMILY_SWISS)); }

wxRect DialogUnitsRect(wxWindow* window, int x, int y, int width, int height) {
  return wxRect(window->ConvertDialogToPixels(wxPoint(x, y)), window->ConvertDialogToPixels(wxSize(width, height)));
}

}  // namespace ombrix::gui
