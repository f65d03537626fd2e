// Feeds arbitrary bytes to the registry file parser. Writing is a fixed point of reading: the tree
// read back from the written text equals the tree first read, writing it again gives the same
// text, and every line the parser kept without understanding it comes back as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/platform/registry_file.h"

namespace {

using namespace ombrix::platform;

// Each line of kept text must stand as a whole line in the written text.
void ExpectLinesWritten(std::string_view kept, const std::string& written) {
  size_t start = 0;
  while (start < kept.size()) {
    const size_t end = kept.find('\n', start);
    const std::string line = "\n" + std::string(kept.substr(start, end - start + 1));
    if (written.find(line) == std::string::npos) std::abort();
    start = end + 1;
  }
}

void ExpectKeptLinesWritten(const RegistryKeyNode& key, const std::string& written) {
  ExpectLinesWritten(key.kept_lines, written);
  for (const RegistryKeyNode& child : key.subkeys) ExpectKeptLinesWritten(child, written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
  const RegistryDocument first = ParseRegistryText(kRoot, std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string once = FormatRegistryText(kRoot, first);
  const RegistryDocument second = ParseRegistryText(kRoot, once);
  if (!(second.root == first.root) || second.preamble != first.preamble) std::abort();
  if (FormatRegistryText(kRoot, second) != once) std::abort();
  ExpectLinesWritten(first.preamble, once);
  ExpectKeptLinesWritten(first.root, once);
  return 0;
}
