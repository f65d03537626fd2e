// Child processes: arguments as given, working folder, exit status, pumping while waiting,
// timeouts, and no leaked descriptors.
#include "core/platform/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>

#include "tests/import/import_test_support.h"

namespace {

using ombrix::platform::Process;
using ombrix::platform::StartRequest;

StartRequest Shell(const std::string& script, std::vector<std::string> extra = {}) {
  StartRequest request;
  request.program = "/bin/sh";
  request.arguments = {"-c", script, "sh"};
  request.arguments.insert(request.arguments.end(), extra.begin(), extra.end());
  return request;
}

TEST(Process, ExitStatusOrSignalIsReported) {
  Process exits;
  ASSERT_TRUE(exits.Start(Shell("exit 3")));
  ASSERT_TRUE(exits.Wait());
  EXPECT_TRUE(exits.ExitedNormally());
  EXPECT_EQ(exits.ExitCode(), 3);
  EXPECT_TRUE(exits.Wait());  // waiting again on an ended process is fine

  Process killed;
  ASSERT_TRUE(killed.Start(Shell("kill -TERM $$")));
  ASSERT_TRUE(killed.Wait());
  EXPECT_FALSE(killed.ExitedNormally());
  EXPECT_EQ(killed.TerminatingSignal(), SIGTERM);
}

TEST(Process, ArgumentsArriveAsGivenInTheGivenFolder) {
  const std::string dir = import_test::MakeTempDir("process");
  const std::string out = dir + "/args";
  Process process;
  StartRequest request;
  request.program = "/bin/sh";
  request.arguments = {"-c",
                       "pwd > \"$0\"; printf '%s\\n' \"$@\" >> \"$0\"",
                       out,
                       "[Load]",
                       "[/a dir/with spaces.png]",
                       "[]",
                       "quote\"d $HOME *"};
  request.working_directory = dir;
  ASSERT_TRUE(process.Start(request));
  ASSERT_TRUE(process.Wait());
  EXPECT_EQ(import_test::ReadBytes(out), dir + "\n[Load]\n[/a dir/with spaces.png]\n[]\nquote\"d $HOME *\n");
}

TEST(Process, WaitPumpsUntilTheEndAndCanTimeOut) {
  int pumped = 0;
  Process slow;
  ASSERT_TRUE(slow.Start(Shell("sleep 0.2")));
  ASSERT_TRUE(slow.Wait([&] { ++pumped; }));
  EXPECT_GT(pumped, 5);

  Process endless;
  ASSERT_TRUE(endless.Start(Shell("exec sleep 30")));
  EXPECT_FALSE(endless.Wait({}, 50));
  endless.Terminate(100);
  EXPECT_TRUE(endless.Wait({}, 0));
  EXPECT_FALSE(endless.ExitedNormally());
}

TEST(Process, MissingProgramsAndFoldersDoNotStart) {
  Process process;
  StartRequest missing;
  missing.program = "/nonexistent/program";
  EXPECT_FALSE(process.Start(missing));
  EXPECT_FALSE(process.Wait());
  StartRequest bad_folder = Shell("exit 0");
  bad_folder.working_directory = "/nonexistent/folder";
  EXPECT_FALSE(process.Start(bad_folder));
  EXPECT_FALSE(process.Start(StartRequest{}));
  // A program name without a folder is looked up in PATH.
  StartRequest by_name;
  by_name.program = "true";
  ASSERT_TRUE(process.Start(by_name));
  EXPECT_TRUE(process.Wait());
  EXPECT_EQ(process.ExitCode(), 0);
}

TEST(Process, OnlyTheStandardDescriptorsAreInherited) {
  const std::string dir = import_test::MakeTempDir("process-fd");
  const int leaked = open((dir + "/held").c_str(), O_CREAT | O_WRONLY, 0600);  // no close-on-exec
  ASSERT_GE(leaked, 3);
  Process process;
  ASSERT_TRUE(process.Start(Shell("test -e /proc/$$/fd/" + std::to_string(leaked) + " && exit 1; exit 0")));
  ASSERT_TRUE(process.Wait());
  EXPECT_EQ(process.ExitCode(), 0);
  close(leaked);
}

}  // namespace
