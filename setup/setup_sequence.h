// The setup program's sequence without its windows: the temporary and program folders, the
// backdrop picture and read-me taken from the medium, the licence and options asked of the view,
// the installation (folders, components, uninstaller, integration), the result message, the
// settings and renderer lines, and the uninstall log written in every case.
#pragma once

#include <optional>
#include <string>

#include "gui/dialogs.h"
#include "setup/component_copy.h"
#include "setup/integration.h"
#include "setup/setup_options.h"

namespace ombrix::setup {

inline constexpr const char* kSetupCaption = "Setup - Ombrix v1.0e";
inline constexpr const char* kAbortedText = "Setup aborted.";
inline constexpr const char* kCompletedText = "Setup completed.";
inline constexpr const char* kPartialText = "Not all components were installed\ncorrectly.";

enum class SetupResult { kCompleted, kPartial, kAborted };
// Exit statuses of the setup program: 0 all installed, 1 some components failed, 2 aborted (or a
// bad command line).
int SetupExitStatus(SetupResult result);

// The windows the sequence opens, or their stand-ins without a display.
class SetupView {
 public:
  virtual ~SetupView() = default;
  virtual void ShowWait() {}
  // The backdrop picture is ready (an empty path: there is none); the wait window goes.
  virtual void ShowBackdrop(const std::string& picture) {}
  // The read-me at its introduction; a missing file is the view's to report.
  virtual void OpenReadme(const std::string& path) {}
  // False: the licence was declined.
  virtual bool AcceptLicence() = 0;
  // Nothing: the options were cancelled.
  virtual std::optional<SetupChoice> ChooseOptions() = 0;
  // The installing window opens; what it shows of the copying and the integration.
  virtual CopyObserver& BeginCopying() = 0;
  virtual IntegrationReporter& Integration() = 0;
  virtual void EndCopying() {}
};

struct SetupFolders {
  std::string source_dir;                  // the medium
  std::string windows_dir;                 // the platform's Windows directory
  std::string TemporaryDirectory() const;  // "Zorvex/OmInstall", removed at the end
  std::string ProgramDirectory() const;    // "Zorvex/Ombrix": the uninstaller and its log
  std::string LogPath() const;             // "Install.Nui" there
};

// The folders made and logged for an installation, in order, with the kind of each entry.
struct InstallFolder {
  const char* relative;  // "" for the installation folder itself
  EntryKind kind;
};
inline constexpr InstallFolder kInstallFolders[] = {
    {"", EntryKind::RemoveDirectory},
    {"Programs", EntryKind::RemoveDirectoryTree},
    {"Programs/Temp", EntryKind::RemoveDirectoryTree},
    {"Plugins", EntryKind::RemoveDirectory},
    {"Brushes", EntryKind::RemoveDirectory},
    {"Help", EntryKind::RemoveDirectoryTree},
    {"Images", EntryKind::RemoveDirectory},
    {"Samples", EntryKind::RemoveDirectory},
    {"UGIO", EntryKind::RemoveDirectoryTree},
};
// The help viewer's index files, logged after the help files since the viewer makes them later.
inline constexpr const char* kHelpIndexFiles[] = {"Help/ZvOmPic.Gid", "Help/ZvOmPal.Gid", "Help/ZvOmCom.Gid",
                                                  "Help/Ombrix.Gid",  "Help/ZvCat.Gid",   "Readme.Gid"};

// Folders, components, uninstaller and the integration steps that follow the copying, for a
// choice taken. Partial when a disk was not found or the uninstaller could not be expanded.
SetupResult RunInstallation(const SetupChoice& choice, const SetupFolders& folders, UninstallLog& log, SetupView& view,
                            gui::Dialogs& dialogs);

// The whole sequence; the uninstall log is written and the temporary folder removed whatever
// the result.
SetupResult RunSetup(const SetupFolders& folders, SetupView& view, gui::Dialogs& dialogs);

}  // namespace ombrix::setup
