// The setup program with its windows.
#include "setup/instora/setup_app.h"

#include <wx/app.h>
#include <wx/filesys.h>
#include <wx/fs_arc.h>
#include <wx/html/helpctrl.h>
#include <wx/log.h>

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/system_folders.h"
#include "gui/gui_app.h"
#include "setup/instora/backdrop_window.h"
#include "setup/instora/installing_window.h"
#include "setup/instora/licence_window.h"
#include "setup/instora/options_window.h"
#include "setup/instora/search_window.h"
#include "setup/instora/setup_message_window.h"

namespace ombrix::setup {
namespace {

constexpr const char* kReadmeTopic = "Introduction";

// The read-me is a help book packed in one file: a zip archive of HTML pages with its project
// file "Readme.hhp".
bool OpenReadmeBook(const std::string& path) {
  static bool handler_added = false;
  if (!handler_added) {
    wxFileSystem::AddHandler(new wxArchiveFSHandler);
    handler_added = true;
  }
  // One viewer for the run; its window belongs to the toolkit, which takes it down at the end.
  static wxHtmlHelpController* viewer = new wxHtmlHelpController(wxHF_DEFAULT_STYLE);
  const wxString book = wxFileSystem::FileNameToURL(wxFileName(wxString::FromUTF8(path.c_str()))) + "#zip:Readme.hhp";
  wxLogNull quiet;
  return viewer->AddBook(book, false) && viewer->Display(kReadmeTopic);
}

wxWindow* ActiveTopLevel() {
  wxWindow* focus = wxWindow::FindFocus();
  return focus != nullptr ? wxGetTopLevelParent(focus) : wxTheApp->GetTopWindow();
}

}  // namespace

SetupDialogs::SetupDialogs()
    : NativeDialogs([](const gui::MessageRequest& request) {
        SetupMessageWindow window(ActiveTopLevel(), request);
        return window.Run();
      }) {}

WindowedView::WindowedView(BackdropWindow* backdrop) : backdrop_(backdrop) {}

WindowedView::~WindowedView() {
  if (wait_ != nullptr) wait_->Destroy();
  if (installing_ != nullptr) installing_->Destroy();
}

void WindowedView::ShowWait() {
  wait_ = new WaitWindow(backdrop_);
  wait_->Open();
}

void WindowedView::ShowBackdrop(const std::string& picture) {
  backdrop_->SetPicture(picture);
  if (wait_ != nullptr) {
    wait_->Hide();
    wait_->Destroy();
    wait_ = nullptr;
  }
  gui::DispatchPendingEvents();
}

void WindowedView::OpenReadme(const std::string& path) {
  if (!platform::FileExists(path.c_str())) {
    gui::CurrentDialogs().ShowMessage({"Cannot find \"" + path + "\".", kSetupWarningCaption, false});
    return;
  }
  OpenReadmeBook(path);
}

bool WindowedView::AcceptLicence() {
  LicenceWindow window(backdrop_);
  return window.Run() == 1;
}

std::optional<SetupChoice> WindowedView::ChooseOptions() {
  OptionsWindow* options = nullptr;
  auto search = [&options]() {
    SearchWindow window(options, SearchWindow::kScanningCaption);
    return window.FindRenderer(RendererSearchRoots());
  };
  OptionsWindow window(backdrop_, PlatformDiskSpace(), search);
  options = &window;
  return window.Run();
}

CopyObserver& WindowedView::BeginCopying() {
  installing_ = new InstallingWindow(backdrop_);
  installing_->Open();
  return *installing_;
}

IntegrationReporter& WindowedView::Integration() {
  if (installing_ != nullptr) return *installing_;
  return messages_;
}

void WindowedView::EndCopying() {
  if (installing_ == nullptr) return;
  installing_->Hide();
  installing_->Destroy();
  installing_ = nullptr;
  gui::DispatchPendingEvents();
}

void WindowedView::MessageReporter::Message(const std::string& caption, const std::string& text) {
  gui::CurrentDialogs().ShowMessage({text, caption, false});
}

int RunWindowedSetup(const SetupCommandLine& line) {
  SetClipFolder(platform::JoinPath(line.source_dir, "Programs"));
  SetupDialogs dialogs;
  gui::InstallDialogs(&dialogs);
  auto* backdrop = new BackdropWindow;
  backdrop->Open();
  SetupFolders folders;
  folders.source_dir = line.source_dir;
  folders.windows_dir = platform::WindowsDirectory();
  SetupResult result;
  {
    WindowedView view(backdrop);
    result = RunSetup(folders, view, dialogs);
  }
  gui::InstallDialogs(nullptr);
  backdrop->Destroy();
  gui::DispatchPendingEvents();
  return SetupExitStatus(result);
}

}  // namespace ombrix::setup
