// The help viewer.
#include "editor/windows/help.h"

#include <wx/filename.h>
#include <wx/filesys.h>
#include <wx/fs_arc.h>
#include <wx/html/helpctrl.h>
#include <wx/html/helpwnd.h>
#include <wx/log.h>
#include <wx/splitter.h>

#include <map>

#include "core/platform/environment.h"
#include "core/platform/files.h"
#include "gui/dialogs.h"
#include "gui/gui_app.h"

namespace ombrix::editor {
namespace {

constexpr int kViewerWidth = 880;
constexpr int kViewerHeight = 660;
constexpr int kContentsWidth = 270;

// Zip books are read through the toolkit's archive file system.
void UseArchiveFileSystem() {
  static const bool added = [] {
    wxFileSystem::AddHandler(new wxArchiveFSHandler);
    return true;
  }();
  (void)added;
}

bool IsZipFile(const std::string& path) {
  const auto head = platform::ReadFilePrefix(path.c_str(), 4, nullptr);
  return head && *head == std::string("PK\x03\x04", 4);
}

// One viewer per book, for the whole run, never deleted: their windows belong to the toolkit,
// which takes them down with the program. Topic numbers are per book, so books never share one.
wxHtmlHelpController* ViewerFor(const std::string& book) {
  static std::map<std::string, wxHtmlHelpController*> viewers;
  auto found = viewers.find(book);
  if (found != viewers.end()) return found->second;
  // The viewer keeps no bookmarks of its own: nothing of it is stored between runs.
  auto* viewer = new wxHtmlHelpController(wxHF_DEFAULT_STYLE & ~wxHF_BOOKMARKS);
  // The window's title is the page's.
  viewer->SetTitleFormat("%s");
  // An open help window does not keep the editor running once its main window has ended.
  viewer->SetShouldPreventAppExit(false);
  if (!LoadHelpBook(*viewer->GetHelpData(), book)) {
    delete viewer;
    return nullptr;
  }
  viewers[book] = viewer;
  return viewer;
}

}  // namespace

std::string HelpBookLocation(const std::string& book) {
  UseArchiveFileSystem();
  const wxString url = wxFileSystem::FileNameToURL(wxFileName(gui::FromAnsi(book.c_str())));
  wxFileSystem files;
  wxString project;
  if (platform::IsDirectory(book))
    project = files.FindFirst(url + "/*.hhp", wxFILE);
  else if (IsZipFile(book))
    project = files.FindFirst(url + "#zip:*.hhp", wxFILE);
  else if (platform::FileExists(book.c_str()))
    project = url;
  return std::string(project.utf8_str());
}

bool LoadHelpBook(wxHtmlHelpData& data, const std::string& book) {
  const std::string location = HelpBookLocation(book);
  if (location.empty()) return false;
  // A book that cannot be read is reported by the caller, in the editor's own message window.
  wxLogNull quiet;
  return data.AddBook(wxString::FromUTF8(location));
}

std::string TopicPage(const wxHtmlHelpData& data, int topic) {
  // Level 0 holds the books themselves, which the toolkit numbers 0 too; topics are below them.
  const wxHtmlHelpDataItems& items = data.GetContentsArray();
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].level > 0 && items[i].id == topic) return std::string(items[i].GetFullPath().utf8_str());
  return {};
}

bool OpenHelp(const HelpRequest& request) {
  if (request.book.empty()) {
    gui::Inform(request.message, request.caption);
    return false;
  }
  wxHtmlHelpController* viewer = ViewerFor(request.book);
  if (viewer == nullptr) {
    gui::Inform("Cannot read the help book \"" + request.book + "\".", "Ombrix - Error");
    return false;
  }
  const bool first = viewer->GetFrame() == nullptr;
  const std::string page = TopicPage(*viewer->GetHelpData(), request.topic);
  const bool shown = page.empty() ? viewer->DisplayContents() : viewer->Display(wxString::FromUTF8(page));
  // The toolkit makes the window on the first display; it is made large enough for a page with
  // its picture beside the contents.
  if (first && viewer->GetFrame() != nullptr) {
    viewer->GetFrame()->SetSize(wxSize(kViewerWidth, kViewerHeight));
    if (wxSplitterWindow* panes = viewer->GetHelpWindow()->GetSplitterWindow()) panes->SetSashPosition(kContentsWidth);
  }
  return shown;
}

bool OpenMainHelp(const EditorSession& session, int topic) { return OpenHelp(MainHelpRequest(session.paths, topic)); }

bool OpenFilterHelp(const EditorSession& session, const FilterDescriptor* entry) {
  return OpenHelp(FilterHelpRequest(session.paths, entry));
}

}  // namespace ombrix::editor
