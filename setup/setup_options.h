// What the setup's options decide, without the window: the choice itself, its default, the texts
// of the space information, the install folder a chosen folder stands for, and the checks made
// before the choice is taken.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/platform/disk_space.h"
#include "setup/copy_plan.h"

namespace ombrix::setup {

struct SetupChoice {
  ComponentSelection components = kFullSelection;
  std::string install_dir;
  std::string renderer_dir;  // or kNoRendererDirectory
};

inline constexpr const char* kSetupWarningCaption = "Setup - Warning";
inline constexpr const char* kNoRendererFoundText =
    "Cannot find LightWave 3D Directory.\n\nBut you can use Ombrix stand-alone.";
inline constexpr const char* kSpaceInPathText =
    "You specified a path with space(s) character(s).\nIn that case Ombrix will run correctly but won\x92t be "
    "recognized by LightWave 3D.";
inline constexpr const char* kStopSetupText = "This will stop setup\nDo you really want to exit setup ?";

// The install folder the options window starts with: "ombrix" in the user's home folder (the
// original's "c:\ombrix").
std::string DefaultInstallDirectory();

// A folder chosen in the folder browser as the install folder: its trailing separator dropped and
// "Ombrix" appended.
std::string InstallDirectoryInFolder(const std::string& folder);
bool HasSpace(const std::string& path);

// The free space of a path, asked of the platform; tests put in their own.
using DiskSpaceQuery = std::function<std::optional<platform::DiskSpace>(const std::string& path)>;
DiskSpaceQuery PlatformDiskSpace();

// "Available disk space on drive [<mount point>]\t<free> Kb": the mount point of the file system
// the path lies on stands where the original showed the drive's root ("c:\").
std::string AvailableSpaceText(const std::optional<platform::DiskSpace>& space);
// "Space needed\t\t\t\t<needed> Kb".
std::string SpaceNeededText(unsigned needed_kb);
// "No enought disk space on drive [<mount point>]\nto install selected components."
std::string NoSpaceText(const std::optional<platform::DiskSpace>& space);
// True when the space is known and below what is needed. Space that cannot be asked for is not
// held against the installation: the copy reports what it cannot write.
bool LacksSpace(const std::optional<platform::DiskSpace>& space, unsigned needed_kb);
// "Cannot find LighWave 3D configuration file in this directory\n"<folder>"."
std::string NoRendererConfigText(const std::string& folder);

}  // namespace ombrix::setup
