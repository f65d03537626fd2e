// libFuzzer target for the SZDD expander: any bytes are refused with a reason or expand to
// exactly the stated length, and whatever expands compresses back to bytes that expand to the
// same data.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/platform/szdd.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ombrix::platform;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string reason;
  const std::optional<std::string> expanded = SzddExpand(bytes, &reason);
  if (!expanded) {
    if (reason.empty()) std::abort();  // every refusal says why
    return 0;
  }
  uint32_t length = 0;
  for (int i = 0; i < 4; ++i) length |= uint32_t(data[10 + i]) << (8 * i);
  if (expanded->size() != length) std::abort();
  const std::optional<std::string> again = SzddExpand(SzddCompress(*expanded), &reason);
  if (!again || *again != *expanded) std::abort();
  return 0;
}
