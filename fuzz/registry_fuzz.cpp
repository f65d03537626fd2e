// Feeds arbitrary bytes to the registry file parser. Writing the tree back and reading it again
// must give the same text and lose no key or value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/platform/registry_file.h"

namespace {

using namespace ombrix::platform;

size_t CountKeys(const RegistryKeyNode& key, size_t& values) {
  values += key.values.size();
  size_t keys = 1;
  for (const RegistryKeyNode& child : key.subkeys) keys += CountKeys(child, values);
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
  const RegistryDocument first = ParseRegistryText(kRoot, std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string once = FormatRegistryText(kRoot, first);
  const RegistryDocument second = ParseRegistryText(kRoot, once);
  if (FormatRegistryText(kRoot, second) != once) std::abort();
  size_t first_values = 0, second_values = 0;
  if (CountKeys(first.root, first_values) != CountKeys(second.root, second_values)) std::abort();
  if (first_values != second_values) std::abort();
  if (first.preamble != second.preamble) std::abort();
  return 0;
}
