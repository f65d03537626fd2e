// The help viewer.
#include "editor/windows/help.h"

#include <wx/filename.h>
#include <wx/html/helpctrl.h>

#include "core/platform/files.h"
#include "gui/dialogs.h"
#include "gui/gui_app.h"

namespace ombrix::editor {

bool OpenHelpTopic(const std::string& path, int topic) {
  if (!platform::FileExists(path.c_str())) {
    gui::Inform("Cannot find \"" + path + "\".", "Ombrix - Error");
    return false;
  }
  // One viewer for the run, never deleted: its window belongs to the toolkit, which takes it
  // down with the program.
  static wxHtmlHelpController* viewer = new wxHtmlHelpController(wxHF_DEFAULT_STYLE);
  if (!viewer->AddBook(wxFileName(gui::FromAnsi(path.c_str())))) {
    gui::Inform("Cannot find \"" + path + "\".", "Ombrix - Error");
    return false;
  }
  return viewer->Display(topic);
}

}  // namespace ombrix::editor
