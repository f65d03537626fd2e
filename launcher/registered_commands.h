// The commands registered for web addresses and mail, and the command lines built from them.
#pragma once

#include <optional>
#include <string>

namespace ombrix::launcher {

enum class Handler { kBrowser, kMail };

// The handler's command: the key's default value under HKEY_CLASSES_ROOT, empty when the value
// is missing or too long (1024 bytes or more); the desktop's handler when the key is missing.
std::string RegisteredCommand(Handler handler);

// The registered command, one blank and the address.
std::string BrowserCommandLine(const std::string& command, const std::string& address);
// The command cut at its first "%" with the address in its place; the command alone when it
// holds no "%".
std::string MailCommandLine(const std::string& command, const std::string& address);

}  // namespace ombrix::launcher
