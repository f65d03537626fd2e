// Placeholder settings: every read gives its default and writes are dropped, until the
// registry store is in place.
#include "core/settings/settings.h"

#include <cstdio>
#include <cstring>

namespace ombrix {

char* ReadSettingText(const char*, const char*, char* buffer, const char* default_text) {
  std::snprintf(buffer, kSettingBytes, "%s", default_text != nullptr ? default_text : "");
  return buffer;
}

int ReadSettingNumber(const char*, const char*, int default_number) { return default_number; }

void WriteSettingText(const char*, const char*, const char*) {}

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
