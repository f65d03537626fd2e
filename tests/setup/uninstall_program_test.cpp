// The programs as a person runs them: ombrix-integrate ties the staged installation tree into a
// private home, and the uninstaller started from the registered "UninstallString" takes it all
// back. Also their help texts, exit statuses and messages.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "core/platform/registry.h"
#include "tests/setup/private_home.h"

namespace {

using ombrix::platform::RegistryRoot;
using ombrix::test::Quote;
using ombrix::test::ReadTextFile;
using Result = ombrix::test::CommandResult;
using ombrix::test::WriteTextFile;
namespace fs = std::filesystem;

TEST(SetupPrograms, HelpAndBadLogs) {
  ombrix::test::PrivateHome home;
  for (const char* program : {UNINSTALL_PROGRAM, INTEGRATE_PROGRAM}) {
    const Result help = RunCommand(home, Quote(program) + " --help");
    EXPECT_EQ(help.status, 0) << program;
    EXPECT_NE(help.out.find("Usage: "), std::string::npos) << program;
  }
  EXPECT_EQ(RunCommand(home, Quote(INTEGRATE_PROGRAM)).status, 2);
  EXPECT_EQ(RunCommand(home, Quote(INTEGRATE_PROGRAM) + " --install-dir").status, 2);
  EXPECT_EQ(RunCommand(home, Quote(INTEGRATE_PROGRAM) + " --install-dir " + Quote(home.Path("none"))).status, 1);

  const Result missing =
      RunCommand(home, "OMBRIX_HEADLESS=1 " + Quote(UNINSTALL_PROGRAM) + " " + Quote(home.Path("none.Nui")));
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err.find("Zorvex Uninstall - Error: Cannot load file :\n" + home.Path("none.Nui") + "\n"), 0u)
      << missing.err;
  // Without an argument the log is "Install.Nui" in the current directory.
  const Result default_log =
      RunCommand(home, "cd " + Quote(home.Root()) + " && OMBRIX_HEADLESS=1 " + Quote(UNINSTALL_PROGRAM));
  EXPECT_EQ(default_log.status, 1);
  EXPECT_NE(default_log.err.find(home.Root() + "/Install.Nui"), std::string::npos) << default_log.err;

  // A display that cannot be reached is the toolkit failing to start.
  const Result no_display = RunCommand(
      home, "env -u OMBRIX_HEADLESS DISPLAY=:9876 " + Quote(UNINSTALL_PROGRAM) + " " + Quote(home.Path("none.Nui")));
  EXPECT_EQ(no_display.status, 1);
  EXPECT_NE(no_display.err.find("OLE initialization failed."), std::string::npos) << no_display.err;
}

TEST(SetupPrograms, UninstallFromTheRegistrationTakesBackTheIntegrationOfTheStagedTree) {
  ombrix::test::PrivateHome home;
  ombrix::platform::RegistrySetString(RegistryRoot::kCurrentUser, "Software\\Other\\", "Kept", "1");
  ombrix::platform::RegistrySetString(RegistryRoot::kLocalMachine, "SOFTWARE\\Other\\", "Kept", "1");
  const std::string lw = home.Path("home/LightWave");
  WriteTextFile(lw + "/LW.cfg", "FirstPlugin x\n");
  const auto tree = ombrix::test::TreeSnapshot(home.Path("home"));
  const std::string user = ombrix::test::RegistryFileText("HKEY_CURRENT_USER");
  const std::string machine = ombrix::test::RegistryFileText("HKEY_LOCAL_MACHINE");

  const Result integrated =
      RunCommand(home, Quote(INTEGRATE_PROGRAM) + " --install-dir " + Quote(OMBRIX_STAGE_DIR) + " --renderer-dir " +
                           Quote(lw) + " --uninstaller " + Quote(UNINSTALL_PROGRAM));
  ASSERT_EQ(integrated.status, 0) << integrated.err;
  EXPECT_EQ(integrated.err, "");
  EXPECT_NE(ReadTextFile(lw + "/LW.cfg").find("Plugin ImageFilterInterface Ombrix " OMBRIX_STAGE_DIR),
            std::string::npos);
  EXPECT_EQ(
      ombrix::platform::RegistryQueryString(RegistryRoot::kCurrentUser, "Software\\Zorvex\\Ombrix\\", "InstallDir"),
      OMBRIX_STAGE_DIR);

  // The list of installed programs runs the uninstaller with the log's path as its argument.
  const std::optional<std::string> command = ombrix::platform::RegistryQueryString(
      RegistryRoot::kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ombrix\\",
      "UninstallString");
  ASSERT_TRUE(command.has_value());
  const std::string program_dir = home.DataHome() + "/zorvex/windows/Zorvex/Ombrix";
  EXPECT_EQ(*command, program_dir + "/Uninst.Exe " + program_dir + "/Install.Nui");
  const Result uninstalled = RunCommand(home, "OMBRIX_HEADLESS=1 " + *command);
  ASSERT_EQ(uninstalled.status, 0) << uninstalled.err;

  // Nothing is left but the uninstaller and its log (which stay by design, in the folders the
  // setup made for them) and the file-type values, which are not logged.
  auto expected = tree;
  for (const char* dir : {"zorvex/", "zorvex/windows/", "zorvex/windows/Zorvex/", "zorvex/windows/Zorvex/Ombrix/"})
    expected[std::string(".local/share/") + dir] = "";
  auto after = ombrix::test::TreeSnapshot(home.Path("home"));
  for (const char* file : {"Uninst.Exe", "Install.Nui"})
    EXPECT_EQ(after.erase(".local/share/zorvex/windows/Zorvex/Ombrix/" + std::string(file)), 1u) << file;
  for (const char* dir : {".local/", ".local/share/"}) expected[dir] = "";
  EXPECT_EQ(ombrix::test::TreeDifference(expected, after), "");
  EXPECT_EQ(ombrix::test::RegistryFileText("HKEY_CURRENT_USER"), user);
  EXPECT_EQ(ombrix::test::RegistryFileText("HKEY_LOCAL_MACHINE"), machine);
  EXPECT_EQ(ombrix::platform::RegistryQueryString(RegistryRoot::kClassesRoot, ".Oms", ""), "Ombrix.Script");
}

}  // namespace
