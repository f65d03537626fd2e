// The lock test of a directory: a file of a fresh name, locked over the whole 32-bit range and
// unlocked again.
#include <random>
#include <string>

#include "core/platform/file_handles.h"
#include "core/platform/file_system.h"
#include "core/platform/files.h"
#include "fileaccess/error_codes.h"
#include "fileaccess/module.h"

using namespace ombrix;
using namespace ombrix::fileaccess;

namespace {

constexpr const char* kNameTemplate = "SHXXXXXX";
constexpr int kNameAttempts = 100;

// The template with every X replaced by a random letter or digit.
std::string TemporaryName() {
  static std::mt19937 generator{std::random_device{}()};
  static constexpr char kCharacters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::uniform_int_distribution<size_t> pick(0, sizeof kCharacters - 2);
  std::string name = kNameTemplate;
  for (char& c : name)
    if (c == 'X') c = kCharacters[pick(generator)];
  return name;
}

int32_t TestLocking(const std::string& path) {
  platform::OpenedFile file;
  std::errc error = platform::OpenFileDescriptor(path.c_str(), true, false, file);
  if (error != std::errc{}) return FailWithValue(CodeOfSystemError(error), int32_t(PELCOR_SHARE_NO_FILE));
  error = platform::LockRange(file.fd, 0, 0xFFFFFFFFu, file.writable);
  const bool locked = error == std::errc{};
  if (locked) platform::UnlockRange(file.fd, 0, 0xFFFFFFFFu);
  platform::CloseFileDescriptor(file.fd);
  SetLastError(locked ? uint32_t(PELCOR_ERROR_NONE) : CodeOfSystemError(error));
  return locked ? PELCOR_SHARE_WORKS : PELCOR_SHARE_FAILS;
}

}  // namespace

extern "C" {

PELCOR_API int32_t nWF_IsShare(const char* directory) {
  return Guarded<int32_t>(PELCOR_SHARE_NO_FILE, [&]() -> int32_t {
    const std::string folder = directory != nullptr ? directory : "";
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
      // Joined as it stands: the directory ends with its separator.
      const std::string path = folder + TemporaryName();
      // Claimed in one step, so no other file of that name is ever touched.
      switch (platform::MakeNewEmptyFile(path.c_str())) {
        case platform::Claim::kExists:
          continue;
        case platform::Claim::kFailed:
          return FailWithValue(CodeOfPathError(platform::LastSystemError(), path.c_str()),
                               int32_t(PELCOR_SHARE_NO_FILE));
        case platform::Claim::kMade:
          break;
      }
      const int32_t result = TestLocking(path);
      platform::RemoveFile(path.c_str());
      return result;
    }
    return FailWithValue(PELCOR_ERROR_FILE_EXISTS, int32_t(PELCOR_SHARE_NO_NAME));
  });
}

PELCOR_API PelcorBool bWF_IsShare(const char* directory) {
  return nWF_IsShare(directory) == PELCOR_SHARE_WORKS ? 1 : 0;
}

}  // extern "C"
