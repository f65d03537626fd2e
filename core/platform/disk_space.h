// Free space of the file system a path lies on, and where that file system is mounted: the
// setup program's stand-in for the free space of a path's drive.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ombrix::platform {

struct DiskSpace {
  std::string mount_point;      // the topmost folder of the path's file system ("/", "/home")
  uint64_t free_kilobytes = 0;  // what an ordinary user may still write, in units of 1024 bytes
};

// For a path that need not exist yet: asked of its nearest existing folder. Nothing when not
// even "/" can be asked.
std::optional<DiskSpace> QueryDiskSpace(const std::string& path);

}  // namespace ombrix::platform
