// The file system (volume) that holds a path: free space, how it treats letter case in names,
// and its label.
#pragma once

#include <cstdint>
#include <string>
#include <system_error>

namespace ombrix::platform {

struct VolumeInfo {
  uint64_t free_bytes = 0;      // what a user without special rights may still write
  bool case_sensitive = true;   // "a" and "A" name different files
  bool case_preserving = true;  // a name keeps the letter case it was made with
  bool unicode_names = false;   // names are stored as Unicode text rather than as bytes
  std::string label;            // empty when the volume has none or it cannot be told
};

std::errc QueryVolume(const char* path, VolumeInfo& info);

}  // namespace ombrix::platform
