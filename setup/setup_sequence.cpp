// The setup program's sequence.
#include "setup/setup_sequence.h"

#include "core/platform/directory_entries.h"
#include "core/platform/environment.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/platform/szdd.h"
#include "setup/install_locations.h"

namespace ombrix::setup {
namespace {

constexpr const char* kErrorCaption = "Error";
constexpr const char* kFolderErrorCaption = "Error Creating New Directory";

bool CopyFile(const std::string& from, const std::string& to) {
  const std::optional<std::string> bytes = platform::ReadWholeFile(from.c_str());
  return bytes && platform::ReplaceFileAtomically(to.c_str(), *bytes);
}

std::string CopyErrorText(const std::string& from, const std::string& to) {
  return "Cannot copy file\n\t\"" + from + "\"\nTo\n\t\"" + to + "\".";
}

// The medium's files keep the names of the original's disks; they are found in any letter case.
std::string OnMedium(const std::string& source_dir, const char* name) {
  const std::string found = platform::FindEntryIgnoringCase(source_dir, name);
  return found.empty() ? platform::JoinPath(source_dir, name) : found;
}

// Copies a file only when the target does not exist yet; true when this call made it.
bool CopyWithoutReplacing(const std::string& from, const std::string& to) {
  if (platform::FileExists(to.c_str()) || !platform::FileExists(from.c_str())) return false;
  return CopyFile(from, to);
}

void DeleteFilesAndFolder(const std::string& dir) {
  for (const std::string& name : platform::ListFiles(dir)) platform::RemoveFile(platform::JoinPath(dir, name).c_str());
  platform::RemoveDirectory(dir.c_str());
}

void PrepareTemporaryFiles(const SetupFolders& folders, gui::Dialogs& dialogs) {
  const std::string temporary = folders.TemporaryDirectory();
  for (const std::string& dir :
       {platform::JoinPath(folders.windows_dir, "Zorvex"), temporary, folders.ProgramDirectory()})
    platform::MakeDirectories(dir.c_str());
  const std::pair<const char*, const char*> copies[] = {{"Back.bm_", "Back.Bm_"}, {"Readme.hlp", "Readme.Hlp"}};
  for (const auto& [source_name, target_name] : copies) {
    const std::string from = OnMedium(folders.source_dir, source_name);
    const std::string to = platform::JoinPath(temporary, target_name);
    if (!CopyFile(from, to)) dialogs.ShowMessage({CopyErrorText(from, to), kErrorCaption, false});
  }
  const std::string compressed = platform::JoinPath(temporary, "Back.Bm_");
  if (!platform::FileExists(compressed.c_str())) {
    dialogs.ShowMessage({"Cannot find file\n\"" + compressed + "\".", kErrorCaption, false});
    return;
  }
  platform::ExpandFile(compressed, platform::JoinPath(temporary, "Back.Bmp"));
}

bool MakeInstallFolders(const std::string& install_dir, UninstallLog& log, gui::Dialogs& dialogs) {
  bool made_all = true;
  for (const InstallFolder& folder : kInstallFolders) {
    const std::string path = *folder.relative == '\0' ? install_dir : platform::JoinPath(install_dir, folder.relative);
    const bool existed = platform::IsDirectory(path);
    // Missing parents of the installation folder are made, and logged, too.
    const bool made = existed || (*folder.relative == '\0' ? MakeDirectoryLogged(path, log)
                                                           : platform::MakeDirectories(path.c_str()));
    if (!made) {
      dialogs.ShowMessage({"Cannot create directory\n\"" + path + "\".", kFolderErrorCaption, false});
      made_all = false;
      continue;
    }
    if (*folder.relative != '\0' || existed) log.Add(folder.kind, path);
  }
  return made_all;
}

}  // namespace

int SetupExitStatus(SetupResult result) {
  switch (result) {
    case SetupResult::kCompleted:
      return 0;
    case SetupResult::kPartial:
      return 1;
    case SetupResult::kAborted:
      return 2;
  }
  return 2;
}

std::string SetupFolders::TemporaryDirectory() const {
  return platform::JoinPath(platform::JoinPath(windows_dir, "Zorvex"), "OmInstall");
}

std::string SetupFolders::ProgramDirectory() const {
  InstallLocations locations;
  locations.windows_dir = windows_dir;
  return locations.ProgramDirectory();
}

std::string SetupFolders::LogPath() const {
  InstallLocations locations;
  locations.windows_dir = windows_dir;
  return locations.LogPath();
}

SetupResult RunInstallation(const SetupChoice& choice, const SetupFolders& folders, UninstallLog& log, SetupView& view,
                            gui::Dialogs& dialogs) {
  InstallLocations locations = UserInstallLocations(choice.install_dir, choice.renderer_dir);
  locations.windows_dir = folders.windows_dir;
  const std::string& install_dir = locations.install_dir;
  MakeInstallFolders(install_dir, log, dialogs);

  const std::string readme = platform::JoinPath(install_dir, "Readme.Hlp");
  CopyWithoutReplacing(platform::JoinPath(folders.TemporaryDirectory(), "Readme.Hlp"), readme);
  log.Add(EntryKind::RemoveFile, readme);

  CopyContext context;
  context.source_dir = folders.source_dir;
  context.install_dir = install_dir;
  context.windows_dir = folders.windows_dir;
  context.log = &log;
  context.dialogs = &dialogs;
  context.observer = &view.BeginCopying();
  bool all = true;
  for (const ComponentPlan& plan : InstallOrder()) {
    if (!choice.components[static_cast<size_t>(plan.component)]) continue;
    all = CopyComponent(plan, context) && all;
    if (plan.component == Component::kHelpFiles) {
      for (const char* index : kHelpIndexFiles) log.Add(EntryKind::RemoveFile, platform::JoinPath(install_dir, index));
    } else if (plan.component == Component::kPrograms) {
      for (const char* folder : {"UGIO", "Programs/Temp"})
        log.Add(EntryKind::EmptyDirectory, platform::JoinPath(install_dir, folder));
    }
  }
  for (const PlanRecord& record : UninstallerPlan()) all = CopyRecord(record, context, true) && all;

  IntegrationReporter& reporter = view.Integration();
  CreateStartMenu(locations, log, reporter);
  RegisterUninstaller(locations, log);
  RegisterFileTypes(locations, log);
  view.EndCopying();
  return all ? SetupResult::kCompleted : SetupResult::kPartial;
}

SetupResult RunSetup(const SetupFolders& folders, SetupView& view, gui::Dialogs& dialogs) {
  UninstallLog log;
  log.name = kDisplayName;
  view.ShowWait();
  PrepareTemporaryFiles(folders, dialogs);
  const std::string temporary = folders.TemporaryDirectory();
  const std::string backdrop = platform::JoinPath(temporary, "Back.Bmp");
  view.ShowBackdrop(platform::FileExists(backdrop.c_str()) ? backdrop : std::string());
  view.OpenReadme(platform::JoinPath(temporary, "Readme.Hlp"));

  SetupResult result = SetupResult::kAborted;
  std::optional<SetupChoice> choice;
  if (view.AcceptLicence()) choice = view.ChooseOptions();
  if (choice) result = RunInstallation(*choice, folders, log, view, dialogs);

  const char* text = result == SetupResult::kCompleted ? kCompletedText
                     : result == SetupResult::kPartial ? kPartialText
                                                       : kAbortedText;
  dialogs.ShowMessage({text, kSetupMessageCaption, false, {"", "OK", ""}});

  std::string install_dir;
  if (choice) {
    InstallLocations locations = UserInstallLocations(choice->install_dir, choice->renderer_dir);
    locations.windows_dir = folders.windows_dir;
    install_dir = locations.install_dir;
    WriteInitialSettings(locations, log);
    ConfigureRenderer(locations, log, view.Integration());
    // The backdrop is the test picture when the pictures were not installed; a file that is
    // there already is the user's and stays, unlogged.
    const std::string picture = platform::JoinPath(install_dir, "Images/Back.Bmp");
    if (CopyWithoutReplacing(backdrop, picture)) log.Add(EntryKind::RemoveFile, picture);
  }

  // An aborted setup that added nothing keeps what the log of an earlier installation holds, so
  // that installation can still be removed.
  const std::string log_path = folders.LogPath();
  if (log.entries.empty()) {
    if (std::optional<UninstallLog> earlier = ReadUninstallLog(log_path, nullptr)) log = std::move(*earlier);
  }
  if (!WriteUninstallLog(log_path, log))
    dialogs.ShowMessage({"Cannot write file\n\"" + log_path + "\".", kErrorCaption, false});
  DeleteFilesAndFolder(temporary);
  return result;
}

}  // namespace ombrix::setup
