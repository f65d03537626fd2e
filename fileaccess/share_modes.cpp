// The mode word and the sharing markers.
#include "fileaccess/share_modes.h"

namespace ombrix::fileaccess {
namespace {

// Far above the 32-bit offsets and lengths callers lock, and inside the range of a file offset.
constexpr uint64_t kMarkerBase = 0x7FFF'FFFF'0000'0000ull;
enum Marker : uint64_t { kHasRead = 0, kHasWrite = 1, kDeniesRead = 2, kDeniesWrite = 3 };

}  // namespace

OpenMode DecodeOpenMode(uint16_t mode, bool share_compat) {
  OpenMode decoded;
  decoded.read = (mode & 0x0001) != 0;
  decoded.write = (mode & 0x0002) != 0;
  const bool share_all = (mode & 0x0020) != 0 || share_compat;
  decoded.others_read = share_all || (mode & 0x0004) != 0;
  decoded.others_write = share_all || (mode & 0x0008) != 0;
  decoded.existing = (mode & 0x8000) != 0;
  return decoded;
}

Sharing ClaimSharing(const platform::OpenedFile& file, const OpenMode& mode, std::errc& error) {
  error = {};
  if (!file.readable) return Sharing::kGranted;
  const bool held[4] = {mode.read, mode.write, !mode.others_read, !mode.others_write};
  // The marker of another open that rules each of ours out.
  const Marker opposite[4] = {kDeniesRead, kDeniesWrite, kHasRead, kHasWrite};
  auto release = [&] {
    for (uint64_t m = 0; m < 4; ++m)
      if (held[m]) platform::UnlockRange(file.fd, kMarkerBase + m, 1);
  };
  for (uint64_t m = 0; m < 4; ++m) {
    if (!held[m]) continue;
    error = platform::LockRange(file.fd, kMarkerBase + m, 1, false);
    if (error != std::errc{}) {
      release();
      return Sharing::kFailed;
    }
  }
  for (int m = 0; m < 4; ++m) {
    if (!held[m]) continue;
    bool taken = false;
    error = platform::RangeHeldElsewhere(file.fd, kMarkerBase + opposite[m], 1, true, taken);
    if (error != std::errc{} || taken) {
      release();
      return error != std::errc{} ? Sharing::kFailed : Sharing::kViolation;
    }
  }
  return Sharing::kGranted;
}

}  // namespace ombrix::fileaccess
