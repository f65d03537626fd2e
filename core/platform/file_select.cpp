// Open and save windows through the handler the process's executable exports.
#include "core/platform/file_select.h"

#include <dlfcn.h>

#include <vector>

namespace ombrix::platform {

FileSelectResult SelectFile(const OmbrixFileSelectRequest& request) {
  FileSelectResult result;
  // Looked up on every call, like the message-box handler: the executable may install it after
  // a module was loaded.
  auto handler = reinterpret_cast<OmbrixFileSelectHandler>(dlsym(RTLD_DEFAULT, kFileSelectHandlerName));
  if (handler == nullptr) return result;
  std::vector<char> chosen(4096, '\0');
  int32_t error = 0;
  if (handler(&request, chosen.data(), int32_t(chosen.size()), &error) != 0) {
    chosen.back() = '\0';
    result.outcome = FileSelectOutcome::kChosen;
    result.path = chosen.data();
    return result;
  }
  if (error != 0) {
    result.outcome = FileSelectOutcome::kFailed;
    result.error = error;
  }
  return result;
}

}  // namespace ombrix::platform
