// The four settings operations on the product key "Software\Zorvex\Ombrix" of the current user.
// A null section means the product key itself; otherwise the section is a subkey of it.
#pragma once

#include <cstddef>
#include <string>

namespace ombrix {

inline constexpr const char* kProductKey = "Software\\Zorvex\\Ombrix";
inline constexpr size_t kSettingBytes = 1024;  // a text value read holds at most 1023 bytes

// Fills buffer (kSettingBytes bytes) with the value, or with default_text when the key or value
// is missing or too long. Returns buffer. Never fails.
char* ReadSettingText(const char* section, const char* name, char* buffer, const char* default_text);
// The value's leading signed decimal number, or default_number when there is none.
int ReadSettingNumber(const char* section, const char* name, int default_number);
// Creates missing keys along the path and stores the text. Failures are silent.
void WriteSettingText(const char* section, const char* name, const char* text);
void WriteSettingNumber(const char* section, const char* name, int number);

// Convenience for C++ callers: ReadSettingText into a string.
std::string ReadSetting(const char* section, const char* name, const char* default_text = "");

}  // namespace ombrix
