// The low-level installer's sequence.
#include "setup/low_level_install.h"

#include "core/platform/directory_entries.h"
#include "core/platform/environment.h"
#include "core/platform/file_modes.h"
#include "core/platform/files.h"
#include "core/platform/message_box.h"
#include "core/platform/paths.h"
#include "core/platform/process.h"
#include "core/platform/szdd.h"

namespace ombrix::setup {
namespace {

void DeleteFilesIn(const std::string& dir) {
  for (const std::string& name : platform::ListFiles(dir)) platform::RemoveFile(platform::JoinPath(dir, name).c_str());
}

}  // namespace

std::string UnpackErrorText(const std::string& source, const std::string& target) {
  return "Cannot unpack file\n\t\"" + source + "\"\nTo\n\t\"" + target + "\".";
}

bool UnpackFile(const std::string& source, const std::string& target, bool report) {
  if (platform::CanOpenForReading(target.c_str())) return true;
  bool done = false;
  if (platform::FileExists(source.c_str())) {
    const std::string folder = platform::DirectoryPart(target);
    done = (folder.empty() || platform::MakeDirectories(folder.c_str())) &&
           platform::ExpandFile(source, target) == platform::ExpandResult::kDone;
  }
  if (!done && report)
    platform::ShowMessageBox(UnpackErrorText(source, target).c_str(), kUnpackErrorCaption, platform::kIconError);
  return done;
}

std::string LowLevelInstall::WorkingDirectory() const { return platform::JoinPath(windows_dir, kWorkingDirectoryName); }

std::string LowLevelInstall::SourcePath(const char* relative) const { return platform::JoinPath(source_dir, relative); }

std::string LowLevelInstall::TargetPath(const char* relative) const {
  return platform::JoinPath(windows_dir, relative);
}

LowLevelResult RunLowLevelInstall(const LowLevelInstall& install, WaitIndicator& wait) {
  LowLevelResult result;
  wait.Show();

  // A folder left by an interrupted run is emptied and used again without a word.
  const std::string working = install.WorkingDirectory();
  DeleteFilesIn(working);
  if (!platform::MakeDirectories(working.c_str())) {
    platform::ShowMessageBox(("Cannot create directory\n\"" + working + "\".").c_str(), kUnpackErrorCaption,
                             platform::kIconError);
  }

  bool have_registration_tool = false;
  for (const UnpackStep& step : kUnpackList) {
    const std::string source = install.SourcePath(step.source);
    if (step.only_if_source_exists && !platform::FileExists(source.c_str())) continue;
    const std::string target = install.TargetPath(step.target);
    UnpackFile(source, target, false);
    if (std::string_view(step.target).ends_with(kRegistrationToolName)) have_registration_tool = true;
  }
  const std::string setup_program = platform::JoinPath(working, kSetupProgramName);
  // The medium may have lost the bit that makes a program runnable (a copy through a file
  // system without permissions): the setup program is run whatever the bits say.
  if (platform::FileExists(setup_program.c_str())) platform::SetFilePermissions(setup_program.c_str(), 0755);

  if (have_registration_tool) {
    const std::string tool = platform::JoinPath(working, kRegistrationToolName);
    platform::SetFilePermissions(tool.c_str(), 0755);
    for (const char* control : kRegisteredControls) {
      // The unpack list and the registration spell the names differently: found either way.
      const std::string path = platform::ResolveIgnoringCase(install.windows_dir, control);
      if (path.empty()) continue;
      platform::Process registration;
      if (registration.Start({tool, {"/s", path}, working})) registration.Wait();
      result.registered.push_back(path);
    }
  }
  wait.Hide();

  platform::Process setup;
  std::vector<std::string> arguments = {install.source_dir};
  arguments.insert(arguments.end(), install.setup_arguments.begin(), install.setup_arguments.end());
  result.setup_started = setup.Start({setup_program, arguments, {}});
  if (result.setup_started && setup.Wait() && setup.ExitedNormally()) result.setup_status = setup.ExitCode();

  DeleteFilesIn(working);
  platform::RemoveDirectory(working.c_str());
  return result;
}

}  // namespace ombrix::setup
