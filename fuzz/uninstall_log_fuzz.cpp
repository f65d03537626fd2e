// libFuzzer target for the uninstall log reader: any bytes are refused with a reason or read
// into a log that writes back to bytes which read back to the same log.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "setup/uninstall_log.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ombrix::setup;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string reason;
  const std::optional<UninstallLog> log = ParseUninstallLog(bytes, &reason);
  if (!log) {
    if (reason.empty()) std::abort();  // every refusal says why
    return 0;
  }
  const std::string written = SerializeUninstallLog(*log);
  // An accepted log never holds more than its input: the entries are all there, nothing added.
  if (written.size() > size) std::abort();
  std::string second_reason;
  const std::optional<UninstallLog> again = ParseUninstallLog(written, &second_reason);
  if (!again || !(*again == *log)) std::abort();
  return 0;
}
