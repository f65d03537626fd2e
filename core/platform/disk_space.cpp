// Free space and mount points with statvfs and stat.
#include "core/platform/disk_space.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include "core/platform/paths.h"

namespace ombrix::platform {
namespace {

std::string NearestExistingFolder(std::string path) {
  while (!path.empty()) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return path;
    const std::string parent = DirectoryPart(path);
    if (parent == path) break;
    path = parent;
  }
  return "/";
}

// The last folder going up from dir that still lies on dir's device.
std::string MountPointOf(const std::string& dir, dev_t device) {
  std::string mount = dir;
  for (std::string up = DirectoryPart(dir); !up.empty(); up = DirectoryPart(up)) {
    struct stat st {};
    if (stat(up.c_str(), &st) != 0 || st.st_dev != device) break;
    mount = up;
    if (up == "/") break;
  }
  return mount;
}

}  // namespace

std::optional<DiskSpace> QueryDiskSpace(const std::string& path) {
  std::string dir = NearestExistingFolder(IsAbsolutePath(path.c_str()) ? path : "/");
  while (dir.size() > 1 && IsSeparator(dir.back())) dir.pop_back();
  struct statvfs vfs {};
  struct stat st {};
  if (statvfs(dir.c_str(), &vfs) != 0 || stat(dir.c_str(), &st) != 0) return std::nullopt;
  DiskSpace space;
  space.mount_point = MountPointOf(dir, st.st_dev);
  space.free_kilobytes = uint64_t(vfs.f_bavail) * vfs.f_frsize / 1024;
  return space;
}

}  // namespace ombrix::platform
