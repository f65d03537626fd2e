// The setup program's logic without windows: the copy plan's sizes, the disk search with
// scripted answers, what an expanded file logs, the search for the renderer's folder, the
// installation's folders and log, an aborted setup, and the command line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "core/platform/szdd.h"
#include "gui/scripted_dialogs.h"
#include "setup/component_copy.h"
#include "setup/instora/command_line.h"
#include "setup/renderer_folder.h"
#include "setup/setup_sequence.h"
#include "tests/setup/private_home.h"

namespace {

using namespace ombrix::setup;
using ombrix::test::ReadTextFile;
using ombrix::test::WriteTextFile;
namespace fs = std::filesystem;

TEST(CopyPlan, SizesOfTheComponents) {
  EXPECT_EQ(SpaceNeeded(kFullSelection), 6761u);
  ComponentSelection without_programs = kFullSelection;
  without_programs[static_cast<size_t>(Component::kPrograms)] = false;
  EXPECT_EQ(SpaceNeeded(without_programs), 4161u);
  EXPECT_EQ(SpaceNeeded({}), 0u);
  EXPECT_STREQ(InstallOrder()[0].caption, "P&lug-ins");
  EXPECT_STREQ(InstallOrder()[5].caption, "Pr&ograms");
}

class CopyTest : public ::testing::Test {
 protected:
  CopyTest() {
    context_.source_dir = home_.Path("medium/Disk1");
    context_.install_dir = home_.Path("install");
    context_.windows_dir = home_.Path("windows");
    context_.log = &log_;
    context_.dialogs = &dialogs_;
    fs::create_directories(context_.source_dir);
  }
  ombrix::test::PrivateHome home_;
  ombrix::gui::ScriptedDialogs dialogs_;
  UninstallLog log_;
  CopyContext context_;
};

TEST_F(CopyTest, DisksAreFoundBesideTheMediumAboveItOrWhereThePersonPoints) {
  WriteTextFile(home_.Path("medium/Disk1/Disk2"), "");
  EXPECT_TRUE(FindDisk("Disk2", context_));
  EXPECT_EQ(context_.source_dir, home_.Path("medium/Disk1"));
  WriteTextFile(home_.Path("medium/Disk3"), "");
  EXPECT_TRUE(FindDisk("Disk3", context_));
  EXPECT_EQ(context_.source_dir, home_.Path("medium"));

  // A folder of the disk's name is no marker; the person points to the marker on the second try.
  fs::create_directories(home_.Path("medium/Disk4"));
  WriteTextFile(home_.Path("elsewhere/Disk4/Disk4"), "");
  dialogs_.AnswerFile(home_.Path("elsewhere/readme.txt"));
  dialogs_.AnswerQuestion(1);
  dialogs_.AnswerFile(home_.Path("elsewhere/Disk4/Disk4"));
  EXPECT_TRUE(FindDisk("Disk4", context_));
  EXPECT_EQ(context_.source_dir, home_.Path("elsewhere/Disk4"));
  ASSERT_EQ(dialogs_.files.size(), 2u);
  EXPECT_EQ(dialogs_.files[0].title, "Enter path where to find Disk4");
  EXPECT_EQ(dialogs_.files[0].start_path, "(none)");
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, "Cannot find Disk4");
  EXPECT_EQ(dialogs_.messages[0].buttons, (std::vector<std::string>{"Ok", "", "Cancel"}));

  // Cancel gives up.
  dialogs_.AnswerFile(std::nullopt);
  dialogs_.AnswerQuestion(0);
  EXPECT_FALSE(FindDisk("Disk5", context_));
  EXPECT_EQ(dialogs_.unexpected, 0);
}

TEST_F(CopyTest, RecordsExpandFolderFilesAndLogWhatTheyReplace) {
  const std::string medium = context_.source_dir;
  WriteTextFile(medium + "/Disk4", "");
  WriteTextFile(medium + "/Plugins/A.Omp", ombrix::platform::SzddCompress("module a"));
  WriteTextFile(medium + "/Plugins/B.Omp", "module b");
  fs::create_directories(medium + "/Plugins/folder");
  WriteTextFile(home_.Path("install/Plugins/B.Omp"), "old b");
  ASSERT_TRUE(CopyRecord({"Disk4", "Plugins/*.*", "Plugins", true}, context_));
  EXPECT_EQ(ReadTextFile(home_.Path("install/Plugins/A.Omp")), "module a");
  EXPECT_EQ(ReadTextFile(home_.Path("install/Plugins/B.Omp")), "module b");
  EXPECT_FALSE(fs::exists(home_.Path("install/Plugins/folder")));
  ASSERT_EQ(log_.entries.size(), 2u);
  EXPECT_EQ(log_.entries[1], (LogEntry{0, home_.Path("install/Plugins/B.Omp"), ""}));

  // A missing single file fails and is reported; without the flag nothing is logged.
  EXPECT_FALSE(CopyRecord({"Disk4", "System/Uninst.exe", "Zorvex/Ombrix/Uninst.Exe", false}, context_, true));
  EXPECT_EQ(dialogs_.messages.back().text, "Cannot find file\n\"" + medium + "/System/Uninst.exe\".");
  EXPECT_EQ(dialogs_.messages.back().caption, "Setup - Error");
  WriteTextFile(medium + "/System/Uninst.exe", "#!/bin/sh\n");
  fs::create_directories(home_.Path("windows/Zorvex/Ombrix"));
  EXPECT_TRUE(CopyRecord({"Disk4", "System/Uninst.exe", "Zorvex/Ombrix/Uninst.Exe", false}, context_, true));
  EXPECT_TRUE(fs::exists(home_.Path("windows/Zorvex/Ombrix/Uninst.Exe")));
  EXPECT_EQ(log_.entries.size(), 2u);

  // A damaged compressed file is reported and passed over; the component still counts as found.
  WriteTextFile(medium + "/Plugins/A.Omp", ombrix::platform::SzddCompress("module a").substr(0, 16));
  EXPECT_TRUE(CopyComponent(PlanOf(Component::kPlugins), context_));
  EXPECT_EQ(dialogs_.messages.back().text, "Cannot unpack file\n\t\"" + medium + "/Plugins/A.Omp\"\nTo\n\t\"" +
                                               home_.Path("install/Plugins/A.Omp") + "\".");
}

TEST(RendererFolder, SearchedDepthFirstInNameOrderOnOneFileSystem) {
  ombrix::test::PrivateHome home;
  const std::string root = home.Path("root");
  WriteTextFile(root + "/b/deep/er/Lw.Cfg", "");
  WriteTextFile(root + "/A/x/LW.CFG", "");      // "A" sorts before "b" without regard to case
  WriteTextFile(root + "/.hidden/Lw.Cfg", "");  // names beginning with "." are skipped
  fs::create_directories(root + "/0");
  fs::create_directory_symlink(root + "/b/deep/er", root + "/0/link");  // links are not followed
  std::vector<std::string> seen;
  EXPECT_EQ(FindRendererFolder({home.Path("none"), root},
                               [&](const std::string& folder) {
                                 seen.push_back(folder);
                                 return true;
                               }),
            root + "/A/x");
  EXPECT_EQ(seen, (std::vector<std::string>{root, root + "/0", root + "/A", root + "/A/x"}));
  // Stopping the search finds nothing.
  EXPECT_EQ(FindRendererFolder({root}, [](const std::string&) { return false; }), "");

  WriteTextFile(home.Path("lw/Programs/lw.cfg"), "");
  EXPECT_EQ(AcceptRendererFolder(home.Path("lw")), home.Path("lw/Programs"));
  EXPECT_EQ(AcceptRendererFolder(home.Path("lw/Programs")), home.Path("lw/Programs"));
  EXPECT_FALSE(AcceptRendererFolder(home.Path("root/0")));
  EXPECT_EQ(RendererSearchRoots(), (std::vector<std::string>{home.Path("home"), "/opt", "/usr/local"}));
}

// A view that answers as a scripted person would.
class ScriptedView : public SetupView {
 public:
  bool AcceptLicence() override { return accept; }
  std::optional<SetupChoice> ChooseOptions() override { return choice; }
  CopyObserver& BeginCopying() override { return observer; }
  IntegrationReporter& Integration() override { return reporter; }
  bool accept = true;
  std::optional<SetupChoice> choice;
  CopyObserver observer;
  IntegrationReporter reporter;
};

class SequenceTest : public ::testing::Test {
 protected:
  SequenceTest() {
    folders_.source_dir = home_.Path("medium");
    folders_.windows_dir = home_.Path("windows");
    WriteTextFile(home_.Path("medium/Back.bm_"), ombrix::platform::SzddCompress("BM picture"));
    WriteTextFile(home_.Path("medium/Readme.hlp"), "read me");
  }
  ombrix::test::PrivateHome home_;
  ombrix::gui::ScriptedDialogs dialogs_;
  SetupFolders folders_;
  ScriptedView view_;
};

TEST_F(SequenceTest, AnAbortedSetupStillWritesItsLogAndKeepsAnEarlierOne) {
  view_.accept = false;
  EXPECT_EQ(RunSetup(folders_, view_, dialogs_), SetupResult::kAborted);
  ASSERT_FALSE(dialogs_.messages.empty());
  EXPECT_EQ(dialogs_.messages.back().text, "Setup aborted.");
  EXPECT_EQ(dialogs_.messages.back().buttons, (std::vector<std::string>{"", "OK", ""}));
  std::optional<UninstallLog> log = ReadUninstallLog(folders_.LogPath(), nullptr);
  ASSERT_TRUE(log.has_value());
  EXPECT_EQ(log->name, "Zorvex - Ombrix v1.0e");
  EXPECT_TRUE(log->entries.empty());
  EXPECT_FALSE(fs::exists(folders_.TemporaryDirectory()));

  UninstallLog earlier;
  earlier.name = "Zorvex - Ombrix v1.0e";
  earlier.Add(EntryKind::RemoveDirectory, home_.Path("old"));
  ASSERT_TRUE(WriteUninstallLog(folders_.LogPath(), earlier));
  EXPECT_EQ(RunSetup(folders_, view_, dialogs_), SetupResult::kAborted);
  EXPECT_EQ(ReadUninstallLog(folders_.LogPath(), nullptr), earlier);
}

TEST_F(SequenceTest, TheInstallationLogsItsFoldersFirstAndReportsAMissingDisk) {
  SetupChoice choice;
  choice.install_dir = home_.Path("home/apps/ombrix/");
  choice.renderer_dir = kNoRendererDirectory;
  choice.components = {};
  choice.components[static_cast<size_t>(Component::kExamples)] = true;
  WriteTextFile(home_.Path("medium/Disk4"), "");
  WriteTextFile(home_.Path("medium/Samples/Demo.Oms"), "[Header]\n");
  view_.choice = choice;
  dialogs_.AnswerFile(std::nullopt);  // the uninstaller's disk is not to be found
  dialogs_.AnswerQuestion(0);
  EXPECT_EQ(RunSetup(folders_, view_, dialogs_), SetupResult::kPartial);
  EXPECT_EQ(dialogs_.messages.back().text, "Not all components were installed\ncorrectly.");

  const std::optional<UninstallLog> log = ReadUninstallLog(folders_.LogPath(), nullptr);
  ASSERT_TRUE(log.has_value());
  const std::string install = home_.Path("home/apps/ombrix");
  // The missing parent first, then the installation and its folders in order.
  const std::vector<LogEntry> first = {
      {1, home_.Path("home/apps"), ""}, {1, install, ""},
      {6, install + "/Programs", ""},   {6, install + "/Programs/Temp", ""},
      {1, install + "/Plugins", ""},    {1, install + "/Brushes", ""},
      {6, install + "/Help", ""},       {1, install + "/Images", ""},
      {1, install + "/Samples", ""},    {6, install + "/UGIO", ""},
      {0, install + "/Readme.Hlp", ""}, {0, install + "/Samples/Demo.Oms", ""},
  };
  ASSERT_GE(log->entries.size(), first.size());
  EXPECT_EQ(std::vector<LogEntry>(log->entries.begin(), log->entries.begin() + long(first.size())), first);
  EXPECT_EQ(ReadTextFile(install + "/Readme.Hlp"), "read me");
  // The backdrop became the test picture, since the pictures were not installed.
  EXPECT_EQ(ReadTextFile(install + "/Images/Back.Bmp"), "BM picture");
  EXPECT_EQ(log->entries.back(), (LogEntry{0, install + "/Images/Back.Bmp", ""}));
}

TEST(SetupCommand, LinesOfTheSetupProgram) {
  using Action = SetupCommandLine::Action;
  EXPECT_EQ(ParseSetupCommandLine({"/media/m"}, "/w").action, Action::kWindows);
  const SetupCommandLine line = ParseSetupCommandLine(
      {"m", "--unattended", "--install-dir", "ombrix", "--renderer-dir", "/lw", "--accept-license"}, "/w");
  EXPECT_EQ(line.action, Action::kUnattended);
  EXPECT_EQ(line.source_dir, "/w/m");
  EXPECT_EQ(line.install_dir, "/w/ombrix");
  EXPECT_EQ(line.renderer_dir, "/lw");
  EXPECT_EQ(ParseSetupCommandLine({"--help"}, "/w").action, Action::kHelp);
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {},
           {"m", "--unattended", "--install-dir", "/x"},
           {"m", "--unattended", "--accept-license"},
           {"m", "n"},
           {"m", "--install-dir"},
           {"m", "--accept-license"},
       }) {
    const SetupCommandLine parsed = ParseSetupCommandLine(bad, "/w");
    EXPECT_EQ(parsed.action, Action::kUsageError) << bad.size();
    EXPECT_FALSE(parsed.error.empty());
  }
}

}  // namespace
