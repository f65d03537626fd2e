// The settings operations on the product key, over the registry's current-user root.
#include "core/settings/settings.h"

#include <cstdio>
#include <cstring>
#include <optional>

#include "core/platform/registry.h"
#include "core/text/numbers.h"

namespace ombrix {
namespace {

using platform::RegistryRoot;

// A key path is "%s\%s\" (product key, section) or "%s\" and at most 511 characters; a longer
// one (only a very long section name makes one) names no key: reads give the default and writes
// store nothing.
constexpr size_t kMaxKeyPath = 511;

std::optional<std::string> SettingKeyPath(const char* section) {
  std::string path = kProductKey;
  path += '\\';
  if (section != nullptr) {
    path += section;
    path += '\\';
  }
  if (path.size() > kMaxKeyPath) return std::nullopt;
  return path;
}

char* CopyDefault(char* buffer, const char* default_text) {
  std::snprintf(buffer, kSettingBytes, "%s", default_text != nullptr ? default_text : "");
  return buffer;
}

}  // namespace

char* ReadSettingText(const char* section, const char* name, char* buffer, const char* default_text) {
  if (buffer == nullptr) return nullptr;
  const std::optional<std::string> path = SettingKeyPath(section);
  if (!path) return CopyDefault(buffer, default_text);
  const std::optional<std::string> value =
      platform::RegistryQueryString(RegistryRoot::kCurrentUser, *path, name != nullptr ? name : "");
  // The value must fit the buffer with its terminating zero: 1024 bytes or more count as missing.
  if (!value || value->size() >= kSettingBytes) return CopyDefault(buffer, default_text);
  std::memcpy(buffer, value->c_str(), value->size() + 1);
  return buffer;
}

int ReadSettingNumber(const char* section, const char* name, int default_number) {
  char buffer[kSettingBytes];
  return text::LeadingInt(ReadSettingText(section, name, buffer, ""), default_number);
}

void WriteSettingText(const char* section, const char* name, const char* text) {
  const std::optional<std::string> path = SettingKeyPath(section);
  if (!path || text == nullptr) return;
  platform::RegistrySetString(RegistryRoot::kCurrentUser, *path, name != nullptr ? name : "", text);
}

void WriteSettingNumber(const char* section, const char* name, int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", number);
  WriteSettingText(section, name, text);
}

std::string ReadSetting(const char* section, const char* name, const char* default_text) {
  char buffer[kSettingBytes];
  return ReadSettingText(section, name, buffer, default_text);
}

}  // namespace ombrix
