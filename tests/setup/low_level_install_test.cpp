// The low-level installer on a small medium of shell scripts in a private home: what it
// expands where, what it keeps, when it registers controls, and the working folder's life.
#include "setup/low_level_install.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/platform/szdd.h"
#include "tests/setup/private_home.h"

namespace {

using namespace ombrix::setup;
using ombrix::test::ReadTextFile;
using ombrix::test::WriteTextFile;
namespace fs = std::filesystem;

class NoWait : public WaitIndicator {
 public:
  void Show() override { ++shown; }
  void Hide() override { ++hidden; }
  int shown = 0, hidden = 0;
};

class LowLevelInstallTest : public ::testing::Test {
 protected:
  LowLevelInstallTest() {
    install_.source_dir = home_.Path("medium");
    install_.windows_dir = home_.Path("windows");
    install_.setup_arguments = {"--unattended"};
    // The setup program records its arguments and what lies beside it, and ends with 3.
    AddCompressed("Data/Setup.ex_",
                  "#!/bin/sh\n{ echo \"$@\"; ls \"$(dirname \"$0\")\"; } >\"$HOME/setup.txt\"\nexit 3\n", 0755);
    AddCompressed("Data/vexnet.dl_", "launcher", 0644);
  }
  void AddCompressed(const std::string& relative, const std::string& data, unsigned mode) {
    const std::string path = install_.source_dir + "/" + relative;
    WriteTextFile(path, ombrix::platform::SzddCompress(data));
    chmod(path.c_str(), mode);
  }
  std::string Windows(const std::string& relative) const { return install_.windows_dir + "/" + relative; }

  ombrix::test::PrivateHome home_;
  LowLevelInstall install_;
  NoWait wait_;
};

TEST_F(LowLevelInstallTest, ExpandsTheRunTimeFilesRunsTheSetupAndRemovesItsFolder) {
  const LowLevelResult result = RunLowLevelInstall(install_, wait_);
  EXPECT_TRUE(result.setup_started);
  EXPECT_EQ(result.setup_status, 3);
  EXPECT_EQ(wait_.shown, 1);
  EXPECT_EQ(wait_.hidden, 1);
  EXPECT_EQ(ReadTextFile(Windows("System/vexnet.dll")), "launcher");
  // The rows whose files this platform has no use for are absent, silently.
  EXPECT_FALSE(fs::exists(Windows("System/Mfc40.dll")));
  EXPECT_EQ(ReadTextFile(home_.Path("home/setup.txt")), install_.source_dir + " --unattended\nSetup.Exe\n");
  EXPECT_FALSE(fs::exists(install_.WorkingDirectory()));
  EXPECT_TRUE(result.registered.empty());
}

TEST_F(LowLevelInstallTest, ASecondRunKeepsTheSystemFilesAndStillRunsTheSetup) {
  ASSERT_EQ(RunLowLevelInstall(install_, wait_).setup_status, 3);
  WriteTextFile(Windows("System/vexnet.dll"), "a newer launcher of the user's");
  fs::remove(home_.Path("home/setup.txt"));
  EXPECT_EQ(RunLowLevelInstall(install_, wait_).setup_status, 3);
  EXPECT_EQ(ReadTextFile(Windows("System/vexnet.dll")), "a newer launcher of the user's");
  EXPECT_TRUE(fs::exists(home_.Path("home/setup.txt")));
  EXPECT_FALSE(fs::exists(install_.WorkingDirectory()));
}

TEST_F(LowLevelInstallTest, ControlsAreRegisteredOnlyWithTheRegistrationToolOnTheMedium) {
  AddCompressed("Data/Anibtn32.oc_", "button control", 0644);
  LowLevelResult result = RunLowLevelInstall(install_, wait_);
  EXPECT_TRUE(fs::exists(Windows("System/Anibtn32.ocx")));
  EXPECT_TRUE(result.registered.empty());

  AddCompressed("Data/Regsvr32.ex_", "#!/bin/sh\necho \"$@\" >>\"$HOME/registered.txt\"\n", 0755);
  result = RunLowLevelInstall(install_, wait_);
  // The button control is found under the other spelling; the masked edit control is absent.
  ASSERT_EQ(result.registered.size(), 1u);
  EXPECT_EQ(result.registered[0], Windows("System/Anibtn32.ocx"));
  EXPECT_EQ(ReadTextFile(home_.Path("home/registered.txt")), "/s " + Windows("System/Anibtn32.ocx") + "\n");
}

TEST_F(LowLevelInstallTest, ALeftoverWorkingFolderIsEmptiedAndReused) {
  WriteTextFile(install_.WorkingDirectory() + "/Setup.Exe", "an old setup of an interrupted run");
  WriteTextFile(install_.WorkingDirectory() + "/stale.tmp", "x");
  EXPECT_EQ(RunLowLevelInstall(install_, wait_).setup_status, 3);
  // The old program was deleted first, so the new one ran and saw nothing else beside it.
  EXPECT_EQ(ReadTextFile(home_.Path("home/setup.txt")), install_.source_dir + " --unattended\nSetup.Exe\n");
  EXPECT_FALSE(fs::exists(install_.WorkingDirectory()));
}

TEST_F(LowLevelInstallTest, AMissingSetupProgramIsStartedInVain) {
  fs::remove(install_.source_dir + "/Data/Setup.ex_");
  const LowLevelResult result = RunLowLevelInstall(install_, wait_);
  EXPECT_FALSE(result.setup_started);
  EXPECT_FALSE(fs::exists(install_.WorkingDirectory()));
}

TEST(LowLevelPaths, ARootSourceFolderJoinsWithoutADoubledSeparator) {
  LowLevelInstall install;
  install.source_dir = "/";
  install.windows_dir = "/w/";
  EXPECT_EQ(install.SourcePath("Data/Setup.ex_"), "/Data/Setup.ex_");
  EXPECT_EQ(install.TargetPath("System/vexnet.dll"), "/w/System/vexnet.dll");
  install.source_dir = "/media/cdrom";
  EXPECT_EQ(install.SourcePath("Data/Setup.ex_"), "/media/cdrom/Data/Setup.ex_");
  EXPECT_EQ(UnpackErrorText("a", "b"), "Cannot unpack file\n\t\"a\"\nTo\n\t\"b\".");
}

}  // namespace
