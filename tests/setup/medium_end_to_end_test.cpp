// The whole road of a user in a private home: the distribution medium is laid out from the
// staged tree, installed with its "install" without windows, the installed renderer renders the
// demo effect exactly as the staged tree does, and the uninstaller started from the registered
// "UninstallString" leaves the home as it was, apart from the file-type values the setup does
// not log.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
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

// The programs run as on a render-farm node, without a display.
Result RunHeadless(const ombrix::test::PrivateHome& home, const std::string& command) {
  return ombrix::test::RunCommand(home, "OMBRIX_HEADLESS=1 " + command);
}

std::string MakeMedium(const ombrix::test::PrivateHome& home, const std::string& medium, const char* extra) {
  return Quote(MAKE_MEDIUM_PROGRAM) + " --stage " + Quote(OMBRIX_STAGE_DIR) + " --install " + Quote(INSTALL_PROGRAM) +
         " --setup " + Quote(SETUP_PROGRAM) + " --uninstaller " + Quote(UNINSTALL_PROGRAM) + " --readme " +
         Quote(README_BOOK) + " " + extra + Quote(medium);
}

TEST(MediumEndToEnd, InstallRenderAndUninstallInAPrivateHome) {
  ombrix::test::PrivateHome home;
  const std::string lightwave = home.Path("home/LightWave");
  WriteTextFile(lightwave + "/Programs/LW.cfg", "Plugin ImageSaver Other x\n");
  ombrix::platform::RegistrySetString(RegistryRoot::kCurrentUser, "Software\\Other\\", "Kept", "1");
  ombrix::platform::RegistrySetString(RegistryRoot::kLocalMachine, "SOFTWARE\\Other\\", "Kept", "1");
  const auto tree = ombrix::test::TreeSnapshot(home.Path("home"));
  const std::string user = ombrix::test::RegistryFileText("HKEY_CURRENT_USER");
  const std::string machine = ombrix::test::RegistryFileText("HKEY_LOCAL_MACHINE");

  const std::string medium = home.Path("medium/ombrix-1.0e");
  const Result made = RunHeadless(home, MakeMedium(home, medium, ""));
  ASSERT_EQ(made.status, 0) << made.err;
  for (const char* file : {"install", "Back.bm_", "Readme.hlp", "Data/Setup.ex_", "Disk2", "Disk3", "Disk4", "Disk5",
                           "System/Uninst.exe", "Programs/ombrix-render", "Programs/Im_pp", "Samples/Demo.Oms"})
    EXPECT_TRUE(fs::exists(medium + "/" + file)) << file;
  EXPECT_NE(made.out.find("absent: Data/vexnet.dl_"), std::string::npos) << made.out;
  // The run-time files and the uninstaller are compressed; the copy-plan folders are not.
  EXPECT_EQ(ReadTextFile(medium + "/Data/Setup.ex_").substr(0, 4), "SZDD");
  EXPECT_EQ(ReadTextFile(medium + "/System/Uninst.exe").substr(0, 4), "SZDD");

  const std::string install_dir = home.Path("home/ombrix");
  const Result installed =
      RunHeadless(home, Quote(medium + "/install") + " --unattended --install-dir " + Quote(install_dir) +
                            " --renderer-dir " + Quote(lightwave) + " --accept-license");
  ASSERT_EQ(installed.status, 0) << installed.out << installed.err;
  EXPECT_NE(installed.err.find("Setup - Message: Setup completed."), std::string::npos) << installed.err;
  EXPECT_NE(installed.out.find("Unpacking... " + medium + "/Programs/Im_pp To " + install_dir + "/UGIO/Im_pp"),
            std::string::npos);
  EXPECT_NE(ReadTextFile(lightwave + "/Programs/LW.cfg")
                .find("Plugin ImageFilterHandler Ombrix " + install_dir + "/Programs/ombrix-filter.p Ombrix\n"),
            std::string::npos);
  // The working folders of both programs are gone.
  const std::string windows = home.DataHome() + "/zorvex/windows";
  EXPECT_FALSE(fs::exists(windows + "/SetupZorvex_Install"));
  EXPECT_FALSE(fs::exists(windows + "/Zorvex/OmInstall"));

  // The installed renderer, with the user's new settings, gives the staged tree's pixels.
  const std::string from_install = home.Path("out/installed.png"), from_stage = home.Path("out/staged.png");
  fs::create_directories(home.Path("out"));
  const Result rendered = RunHeadless(home, Quote(install_dir + "/Programs/ombrix-render") + " " +
                                                Quote(install_dir + "/Samples/Demo.Oms") + " " +
                                                Quote(install_dir + "/Images/Back.Bmp") + " " + Quote(from_install));
  ASSERT_EQ(rendered.status, 0) << rendered.err;
  EXPECT_NE(rendered.err.find("settings from " + home.Path("registry")), std::string::npos) << rendered.err;
  const std::string stage = OMBRIX_STAGE_DIR;
  const Result reference = RunHeadless(home, Quote(stage + "/Programs/ombrix-render") + " --root " + Quote(stage) +
                                                 " " + Quote(stage + "/Samples/Demo.Oms") + " " +
                                                 Quote(stage + "/Images/Back.Bmp") + " " + Quote(from_stage));
  ASSERT_EQ(reference.status, 0) << reference.err;
  EXPECT_EQ(ReadTextFile(from_install), ReadTextFile(from_stage));

  const std::optional<std::string> command = ombrix::platform::RegistryQueryString(
      RegistryRoot::kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ombrix\\",
      "UninstallString");
  ASSERT_TRUE(command.has_value());
  const Result uninstalled = RunHeadless(home, *command);
  ASSERT_EQ(uninstalled.status, 0) << uninstalled.err;

  // What stays: the uninstaller and its log in the folders made for them, and the file types.
  auto expected = tree;
  for (const char* dir : {".local/", ".local/share/", ".local/share/zorvex/", ".local/share/zorvex/windows/",
                          ".local/share/zorvex/windows/Zorvex/", ".local/share/zorvex/windows/Zorvex/Ombrix/"})
    expected[dir] = "";
  auto after = ombrix::test::TreeSnapshot(home.Path("home"));
  for (const char* file : {"Uninst.Exe", "Install.Nui"})
    EXPECT_EQ(after.erase(".local/share/zorvex/windows/Zorvex/Ombrix/" + std::string(file)), 1u) << file;
  EXPECT_EQ(ombrix::test::TreeDifference(expected, after), "");
  EXPECT_EQ(ombrix::test::RegistryFileText("HKEY_CURRENT_USER"), user);
  EXPECT_EQ(ombrix::test::RegistryFileText("HKEY_LOCAL_MACHINE"), machine);
  EXPECT_EQ(ombrix::platform::RegistryQueryString(RegistryRoot::kClassesRoot, ".Oms", ""), "Ombrix.Script");
}

TEST(MediumEndToEnd, ASplitMediumNeedsItsDisksPointedOutWithoutWindows) {
  ombrix::test::PrivateHome home;
  const std::string medium = home.Path("medium");
  const Result made = RunHeadless(home, MakeMedium(home, medium, "--split "));
  ASSERT_EQ(made.status, 0) << made.err;
  for (const char* file : {"Disk1/install", "Disk1/Data/Setup.ex_", "Disk2/Disk2", "Disk3/Disk3", "Disk4/Disk4",
                           "Disk4/Plugins/ZvPal.Omp", "Disk5/Disk5", "Disk5/System/Uninst.exe"})
    EXPECT_TRUE(fs::exists(medium + "/" + file)) << file;
  // Nobody can point out the other disks: every component fails, and so does the run.
  const Result installed = RunHeadless(home, Quote(medium + "/Disk1/install") + " --unattended --install-dir " +
                                                 Quote(home.Path("home/ombrix")) + " --accept-license");
  EXPECT_EQ(installed.status, 1) << installed.err;
  EXPECT_NE(installed.err.find("Setup - Message: Cannot find Disk4"), std::string::npos) << installed.err;
  EXPECT_NE(installed.err.find("Setup - Message: Not all components were installed\ncorrectly."), std::string::npos);
}

TEST(MediumEndToEnd, CommandLinesOfTheInstallers) {
  ombrix::test::PrivateHome home;
  for (const char* program : {INSTALL_PROGRAM, SETUP_PROGRAM, MAKE_MEDIUM_PROGRAM}) {
    const Result help = RunHeadless(home, Quote(program) + " --help");
    EXPECT_EQ(help.status, 0) << program;
    EXPECT_EQ(help.out.find("Usage: "), 0u) << program;
  }
  const std::string setup = Quote(SETUP_PROGRAM);
  EXPECT_EQ(RunHeadless(home, setup).status, 2);
  EXPECT_EQ(RunHeadless(home, setup + " /m --unattended --install-dir /x").status, 2);  // licence not accepted
  EXPECT_EQ(RunHeadless(home, setup + " /m --install-dir /x --accept-license").status, 2);
  EXPECT_EQ(RunHeadless(home, setup + " /m --unattended --bogus").status, 2);
  const Result no_display = RunHeadless(home, setup + " /m");
  EXPECT_EQ(no_display.status, 2);
  EXPECT_NE(no_display.err.find("--unattended"), std::string::npos);
  // A renderer folder without the configuration file aborts before anything is installed.
  fs::create_directories(home.Path("empty"));
  const Result bad_renderer = RunCommand(
      home, setup + " " + Quote(home.Path("empty")) + " --unattended --install-dir " + Quote(home.Path("home/ombrix")) +
                " --renderer-dir " + Quote(home.Path("empty")) + " --accept-license");
  EXPECT_EQ(bad_renderer.status, 2);
  EXPECT_NE(bad_renderer.err.find("Setup - Warning: Cannot find LighWave 3D configuration file in this directory"),
            std::string::npos)
      << bad_renderer.err;
  EXPECT_FALSE(fs::exists(home.Path("home/ombrix")));
  // The log is written all the same.
  EXPECT_TRUE(fs::exists(home.DataHome() + "/zorvex/windows/Zorvex/Ombrix/Install.Nui"));
}

}  // namespace
