// The launcher's exports with stand-in programs registered in a private registry: the command
// lines they start with, the desktop's handlers when a key is missing, the messages for a key
// without a command, commands that cannot start, and starting without waiting.
#include "launcher/vexnet.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <thread>

#include "core/platform/message_box.h"
#include "core/platform/registry.h"
#include "tests/support/private_folder.h"

namespace {

struct Message {
  std::string text, caption;
  int icon = -1;
};
std::vector<Message> g_messages;

}  // namespace

extern "C" __attribute__((visibility("default"))) int Ombrix_Message_Box_Handler(const char* text, const char* caption,
                                                                                 int icon, int question) {
  g_messages.push_back({text, caption, icon});
  return 1;
}

namespace {

using ombrix::platform::RegistryRoot;
using ombrix::platform::RegistrySetString;

constexpr const char* kBrowserKey = "http\\shell\\open\\command";
constexpr const char* kMailKey = "mailto\\Shell\\Open\\Command";

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class Vexnet : public ::testing::Test {
 protected:
  void SetUp() override {
    old_path_ = getenv("PATH") != nullptr ? getenv("PATH") : "";
    ASSERT_EQ(mkdir((dir_ + "/bin").c_str(), 0777), 0);
    setenv("PATH", (dir_ + "/bin:" + old_path_).c_str(), 1);
    g_messages.clear();
  }
  void TearDown() override { setenv("PATH", old_path_.c_str(), 1); }

  // A program that writes its arguments, one a line, to "<its path>.args" and ends (or first
  // waits for a line from the FIFO named by $VEXNET_GATE, when that is set).
  std::string StandIn(const std::string& name) {
    const std::string path = dir_ + "/bin/" + name;
    std::ofstream(path) << "#!/bin/sh\n"
                           "printf '%s\\n' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.args\"\n"
                           "if [ -n \"$VEXNET_GATE\" ]; then read line < \"$VEXNET_GATE\"; fi\n";
    EXPECT_EQ(chmod(path.c_str(), 0755), 0);
    return path;
  }
  // The arguments the stand-in got, once it has written them.
  static std::string ArgumentsOf(const std::string& stand_in) {
    const std::string path = stand_in + ".args";
    for (int i = 0; i < 1000 && access(path.c_str(), F_OK) != 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return ReadBytes(path);
  }

  test_support::PrivateFolder folder_{"vexnet"};
  const std::string& dir_ = folder_.path();
  std::string old_path_;
};

TEST_F(Vexnet, TheBrowserGetsTheAddressAfterTheRegisteredCommand) {
  const std::string web = StandIn("web");
  ASSERT_TRUE(RegistrySetString(RegistryRoot::kClassesRoot, kBrowserKey, "", web + " \"%1\""));
  EXPECT_EQ(ConnectToWeb("x"), 1);
  EXPECT_EQ(ArgumentsOf(web), "%1\nx\n");
  // An empty address still starts the browser (the line ends with the blank).
  std::filesystem::remove(web + ".args");
  EXPECT_EQ(ConnectToWeb(""), 1);
  EXPECT_EQ(ArgumentsOf(web), "%1\n");
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(Vexnet, TheMailAddressReplacesEverythingFromThePercentSign) {
  const std::string mail = StandIn("mail");
  ASSERT_TRUE(RegistrySetString(RegistryRoot::kClassesRoot, kMailKey, "", mail + " /m \"%1\""));
  EXPECT_EQ(SendEMail("a.b"), 1);
  EXPECT_EQ(ArgumentsOf(mail), "/m\na.b\n");
  // A command without "%" is started alone.
  std::filesystem::remove(mail + ".args");
  ASSERT_TRUE(RegistrySetString(RegistryRoot::kClassesRoot, kMailKey, "", "mail -compose"));  // found in PATH
  EXPECT_EQ(SendEMail("a.b"), 1);
  EXPECT_EQ(ArgumentsOf(mail), "-compose\n");
}

TEST_F(Vexnet, MissingKeysFallBackToTheDesktopsHandlers) {
  const std::string open = StandIn("xdg-open");
  const std::string email = StandIn("xdg-email");
  EXPECT_EQ(ConnectToWeb("https://example.org/a b"), 1);
  EXPECT_EQ(ArgumentsOf(open), "https://example.org/a\nb\n");
  EXPECT_EQ(SendEMail("someone@example.org"), 1);
  EXPECT_EQ(ArgumentsOf(email), "someone@example.org\n");
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(Vexnet, KeysWithoutACommandAreReported) {
  ASSERT_TRUE(ombrix::platform::RegistryCreateKey(RegistryRoot::kClassesRoot, kBrowserKey));
  ASSERT_TRUE(RegistrySetString(RegistryRoot::kClassesRoot, kMailKey, "", ""));
  EXPECT_EQ(ConnectToWeb("x"), 1);  // the message box's answer
  EXPECT_EQ(SendEMail("a.b"), 1);
  ASSERT_EQ(g_messages.size(), 2u);
  EXPECT_EQ(g_messages[0].text, "Cannot find Internet Browser");
  EXPECT_EQ(g_messages[1].text, "Cannot find X-mailler program");
  for (const Message& message : g_messages) {
    EXPECT_EQ(message.caption, "Vexnet - Error");
    EXPECT_EQ(message.icon, ombrix::platform::kIconError);
  }
  // A command of 1024 bytes or more counts as missing.
  g_messages.clear();
  ASSERT_TRUE(RegistrySetString(RegistryRoot::kClassesRoot, kBrowserKey, "", StandIn("web") + std::string(1024, ' ')));
  EXPECT_EQ(ConnectToWeb("x"), 1);
  EXPECT_EQ(g_messages.size(), 1u);
}

TEST_F(Vexnet, CommandsThatCannotStartGiveZero) {
  ASSERT_TRUE(RegistrySetString(RegistryRoot::kClassesRoot, kBrowserKey, "", dir_ + "/missing/web \"%1\""));
  EXPECT_EQ(ConnectToWeb("x"), 0);
  ASSERT_TRUE(RegistrySetString(RegistryRoot::kClassesRoot, kMailKey, "", "no-such-mail-program-here %1"));
  EXPECT_EQ(SendEMail("a.b"), 0);
  ASSERT_TRUE(RegistrySetString(RegistryRoot::kClassesRoot, kMailKey, "", "\"\" %1"));
  EXPECT_EQ(SendEMail("a.b"), 0);
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(Vexnet, TheCallReturnsWhileTheProgramStillRuns) {
  const std::string web = StandIn("web");
  const std::string gate = dir_ + "/gate";
  ASSERT_EQ(mkfifo(gate.c_str(), 0600), 0);
  setenv("VEXNET_GATE", gate.c_str(), 1);
  ASSERT_TRUE(RegistrySetString(RegistryRoot::kClassesRoot, kBrowserKey, "", web));
  auto call = std::async(std::launch::async, [] { return ConnectToWeb("x"); });
  const bool returned = call.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
  // The stand-in has started and waits at the gate: open it, so that it ends either way.
  EXPECT_EQ(ArgumentsOf(web), "x\n");
  // Without a reader yet, a non-blocking open fails: retry until the stand-in listens.
  int fd = -1;
  for (int i = 0; i < 1000 && fd < 0; ++i) {
    fd = open(gate.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_GE(fd, 0);
  EXPECT_EQ(write(fd, "\n", 1), 1);
  close(fd);
  unsetenv("VEXNET_GATE");
  EXPECT_TRUE(returned);
  EXPECT_EQ(call.get(), 1);
}

}  // namespace
