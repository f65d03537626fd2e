// Volumes on Linux: statvfs for the space, statfs for the file-system type, and the label from
// the links udev keeps in /dev/disk/by-label.
#include "core/platform/volumes.h"

#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>

#include <cerrno>

#include "core/platform/environment.h"

namespace ombrix::platform {
namespace {

// File systems that fold letter case and store names as UTF-16; all others keep names as bytes.
bool FoldsCase(long type) {
  constexpr long kMsDos = 0x4d44;  // vfat, msdos
  constexpr long kExFat = 0x2011BAB0;
  return type == kMsDos || type == kExFat;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// udev writes bytes outside the plain set as "\xHH" in its link names.
std::string DecodeLinkName(const std::string& name) {
  std::string text;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' && HexValue(name[i + 2]) >= 0 &&
        HexValue(name[i + 3]) >= 0) {
      text += char(HexValue(name[i + 2]) * 16 + HexValue(name[i + 3]));
      i += 3;
    } else {
      text += name[i];
    }
  }
  return text;
}

std::string LabelOfDevice(dev_t device) {
  const std::string folder = "/dev/disk/by-label";
  for (const std::string& name : ListDirectory(folder)) {
    struct stat st {};
    const std::string link = folder + "/" + name;
    if (stat(link.c_str(), &st) == 0 && S_ISBLK(st.st_mode) && st.st_rdev == device) return DecodeLinkName(name);
  }
  return {};
}

}  // namespace

std::errc QueryVolume(const char* path, VolumeInfo& info) {
  info = {};
  if (path == nullptr) return std::errc::invalid_argument;
  struct statvfs space {};
  if (statvfs(path, &space) != 0) return std::errc(errno);
  info.free_bytes = uint64_t(space.f_bavail) * uint64_t(space.f_frsize);
  struct statfs kind {};
  if (statfs(path, &kind) == 0 && FoldsCase(long(kind.f_type))) {
    info.case_sensitive = false;
    info.unicode_names = true;
  }
  struct stat st {};
  if (stat(path, &st) == 0) info.label = LabelOfDevice(st.st_dev);
  return {};
}

}  // namespace ombrix::platform
