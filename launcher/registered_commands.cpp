// Registered commands from the registry's HKEY_CLASSES_ROOT, with the desktop's defaults.
#include "launcher/registered_commands.h"

#include "core/platform/registry.h"

namespace ombrix::launcher {
namespace {

constexpr size_t kCommandBytes = 1024;  // a command read holds at most 1023 bytes

struct Registration {
  const char* key;
  // The desktop's registered handlers are the registration on this platform; the package never
  // writes these keys, so a missing key means "whatever the desktop opens".
  const char* desktop_command;
};

Registration RegistrationOf(Handler handler) {
  return handler == Handler::kBrowser ? Registration{"http\\shell\\open\\command\\", "xdg-open"}
                                      : Registration{"mailto\\Shell\\Open\\Command\\", "xdg-email %1"};
}

}  // namespace

std::string RegisteredCommand(Handler handler) {
  using platform::RegistryRoot;
  const Registration registration = RegistrationOf(handler);
  if (!platform::RegistryKeyExists(RegistryRoot::kClassesRoot, registration.key)) return registration.desktop_command;
  const std::optional<std::string> command =
      platform::RegistryQueryString(RegistryRoot::kClassesRoot, registration.key, "");
  if (!command || command->size() >= kCommandBytes) return {};
  return *command;
}

std::string BrowserCommandLine(const std::string& command, const std::string& address) {
  return command + " " + address;
}

std::string MailCommandLine(const std::string& command, const std::string& address) {
  const size_t percent = command.find('%');
  return percent == std::string::npos ? command : command.substr(0, percent) + address;
}

}  // namespace ombrix::launcher
