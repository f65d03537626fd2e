// The two exports: read the registered command, build the command line, start it without
// waiting.
#include "launcher/vexnet.h"

#include <string>
#include <utility>
#include <vector>

#include "core/platform/message_box.h"
#include "core/platform/process.h"
#include "launcher/command_line.h"
#include "launcher/registered_commands.h"

namespace ombrix::launcher {
namespace {

constexpr const char* kErrorCaption = "Vexnet - Error";

// Programs started and not yet seen to end. They are never waited for; each start reaps those
// that have ended since, so a long-running caller does not collect finished children.
std::vector<platform::Process>& Started() {
  static std::vector<platform::Process> started;
  return started;
}

int32_t Start(const std::string& command_line) {
  std::vector<platform::Process>& started = Started();
  std::erase_if(started, [](platform::Process& process) { return process.Wait({}, 0); });
  std::vector<std::string> words = SplitCommandLine(command_line);
  if (words.empty()) return 0;
  platform::StartRequest request;
  request.program = std::move(words.front());
  request.arguments.assign(std::make_move_iterator(words.begin() + 1), std::make_move_iterator(words.end()));
  platform::Process process;
  if (!process.Start(request)) return 0;
  started.push_back(std::move(process));
  return 1;
}

// Starts the handler's registered command on the address, or shows the message when it has none.
int32_t Launch(Handler handler, const char* missing, const char* address) noexcept {
  try {
    const std::string command = RegisteredCommand(handler);
    if (command.empty()) return int32_t(platform::ShowMessageBox(missing, kErrorCaption, platform::kIconError));
    const std::string text = address != nullptr ? address : "";
    return Start(handler == Handler::kBrowser ? BrowserCommandLine(command, text) : MailCommandLine(command, text));
  } catch (...) {
    return 0;  // out of memory: nothing was started
  }
}

}  // namespace
}  // namespace ombrix::launcher

using namespace ombrix;
using namespace ombrix::launcher;

extern "C" {

VEXNET_API int32_t ConnectToWeb(const char* address) {
  return Launch(Handler::kBrowser, "Cannot find Internet Browser", address);
}

VEXNET_API int32_t SendEMail(const char* address) {
  return Launch(Handler::kMail, "Cannot find X-mailler program", address);
}

}  // extern "C"
