// The setup's options without the window.
#include "setup/setup_options.h"

#include "core/platform/environment.h"
#include "core/platform/paths.h"

namespace ombrix::setup {

std::string DefaultInstallDirectory() {
  const std::string home = platform::GetEnvironment("HOME");
  return platform::JoinPath(home.empty() ? "/" : home, "ombrix");
}

std::string InstallDirectoryInFolder(const std::string& folder) {
  std::string dir = folder;
  while (dir.size() > 1 && platform::IsSeparator(dir.back())) dir.pop_back();
  return platform::JoinPath(dir, "Ombrix");
}

bool HasSpace(const std::string& path) { return path.find(' ') != std::string::npos; }

DiskSpaceQuery PlatformDiskSpace() {
  return [](const std::string& path) { return platform::QueryDiskSpace(path); };
}

namespace {

std::string MountPoint(const std::optional<platform::DiskSpace>& space) { return space ? space->mount_point : "?"; }

}  // namespace

std::string AvailableSpaceText(const std::optional<platform::DiskSpace>& space) {
  // Free space beyond 4 TB does not fit the original's 32-bit number: it is written in full.
  return "Available disk space on drive [" + MountPoint(space) + "]\t" +
         (space ? std::to_string(space->free_kilobytes) : std::string("?")) + " Kb";
}

std::string SpaceNeededText(unsigned needed_kb) { return "Space needed\t\t\t\t" + std::to_string(needed_kb) + " Kb"; }

std::string NoSpaceText(const std::optional<platform::DiskSpace>& space) {
  return "No enought disk space on drive [" + MountPoint(space) + "]\nto install selected components.";
}

bool LacksSpace(const std::optional<platform::DiskSpace>& space, unsigned needed_kb) {
  return space && space->free_kilobytes < needed_kb;
}

std::string NoRendererConfigText(const std::string& folder) {
  return "Cannot find LighWave 3D configuration file in this directory\n\"" + folder + "\".";
}

}  // namespace ombrix::setup
