// The removals of every entry kind, the backward replay and the uninstaller's sequence, in a
// private home with its own registry.
#include "setup/removals.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "core/platform/files.h"
#include "core/platform/registry.h"
#include "setup/replay.h"
#include "setup/terminal_display.h"
#include "setup/uninstaller.h"
#include "tests/setup/private_home.h"

namespace {

using namespace ombrix::setup;
using ombrix::platform::RegistryRoot;
using ombrix::test::ReadTextFile;
using ombrix::test::WriteTextFile;
namespace fs = std::filesystem;

class Removals : public ::testing::Test {
 protected:
  std::string File(const std::string& relative, const std::string& text = "x") {
    std::string path = home_.Path(relative);
    WriteTextFile(path, text);
    return path;
  }
  static bool Exists(const std::string& path) { return fs::exists(fs::symlink_status(path)); }

  ombrix::test::PrivateHome home_;
};

TEST_F(Removals, FilesGoWithTheirHelpIndexOnly) {
  const std::string help = File("X/Help/A.HLP"), index = File("X/Help/A.Gid"), other = File("X/Help/A.txt");
  chmod(help.c_str(), 0444);
  RemoveLoggedFile(help, true);
  EXPECT_FALSE(Exists(help));
  EXPECT_FALSE(Exists(index));
  EXPECT_TRUE(Exists(other));

  const std::string readme = File("X/Readme.txt"), readme_index = File("X/Readme.Gid");
  PerformRemoval({int32_t(EntryKind::RemoveFile), readme, ""});
  EXPECT_FALSE(Exists(readme));
  EXPECT_TRUE(Exists(readme_index));

  // The index goes even when the help file itself is already gone.
  const std::string orphan_index = File("X/Gone.Gid");
  PerformRemoval({int32_t(EntryKind::RemoveFile), home_.Path("X/Gone.hlp"), ""});
  EXPECT_FALSE(Exists(orphan_index));

  // A link is removed, never what it points to; a relative path is never acted on.
  const std::string target = File("X/target.txt");
  fs::create_symlink(target, home_.Path("X/link"));
  chmod(target.c_str(), 0444);
  RemoveLoggedFile(home_.Path("X/link"), true);
  EXPECT_FALSE(Exists(home_.Path("X/link")));
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::owner_write, fs::perms::none);
  ASSERT_EQ(chdir(home_.Path("X").c_str()), 0);
  RemoveLoggedFile("target.txt", false);
  EXPECT_TRUE(Exists(target));
}

TEST_F(Removals, DirectoriesGoOnlyWhenEmptyAndTreesLoseTheirFiles) {
  File("D/full/kept.txt");
  fs::create_directories(home_.Path("D/empty"));
  PerformRemoval({int32_t(EntryKind::RemoveDirectory), home_.Path("D/full"), ""});
  PerformRemoval({int32_t(EntryKind::RemoveDirectory), home_.Path("D/empty"), ""});
  EXPECT_TRUE(Exists(home_.Path("D/full/kept.txt")));
  EXPECT_FALSE(Exists(home_.Path("D/empty")));

  File("T/a.txt");
  File("T/.hidden");
  File("T/sub/inner.txt");
  chmod(home_.Path("T/a.txt").c_str(), 0444);
  PerformRemoval({int32_t(EntryKind::EmptyDirectory), home_.Path("T"), ""});
  EXPECT_FALSE(Exists(home_.Path("T/a.txt")));
  EXPECT_FALSE(Exists(home_.Path("T/.hidden")));
  EXPECT_TRUE(Exists(home_.Path("T/sub/inner.txt")));  // files only, no subfolders

  File("Tree/Help.hlp");
  File("Tree/Help.Gid");
  PerformRemoval({int32_t(EntryKind::RemoveDirectoryTree), home_.Path("Tree"), ""});
  EXPECT_FALSE(Exists(home_.Path("Tree")));
}

TEST_F(Removals, KeysGoWithTheirSubkeysAndLeaveNoEmptyParents) {
  using ombrix::platform::RegistryKeyExists;
  using ombrix::platform::RegistrySetString;
  RegistrySetString(RegistryRoot::kCurrentUser, "Software\\Other\\", "kept", "1");
  RegistrySetString(RegistryRoot::kCurrentUser, "Software\\Zorvex\\Ombrix\\Options\\", "AskDel", "1");
  RegistrySetString(RegistryRoot::kCurrentUser, "Software\\Zorvex\\Ombrix\\", "InstallDir", "/opt");
  RegistrySetString(RegistryRoot::kLocalMachine, "SOFTWARE\\Uninstall\\Other\\", "DisplayName", "other");
  RegistrySetString(RegistryRoot::kLocalMachine, "SOFTWARE\\Uninstall\\Ombrix\\", "DisplayName", "ours");

  PerformRemoval({int32_t(EntryKind::RemoveUserKey), "Software\\Zorvex\\", "ombrix"});
  EXPECT_FALSE(RegistryKeyExists(RegistryRoot::kCurrentUser, "Software\\Zorvex"));  // emptied, so pruned
  EXPECT_TRUE(RegistryKeyExists(RegistryRoot::kCurrentUser, "Software\\Other"));
  PerformRemoval({int32_t(EntryKind::RemoveMachineKey), "SOFTWARE\\Uninstall\\", "Ombrix"});
  EXPECT_FALSE(RegistryKeyExists(RegistryRoot::kLocalMachine, "SOFTWARE\\Uninstall\\Ombrix"));
  EXPECT_TRUE(RegistryKeyExists(RegistryRoot::kLocalMachine, "SOFTWARE\\Uninstall\\Other"));

  // A key that is gone, and an entry without a key name, change nothing.
  const std::string before = ombrix::test::RegistryFileText("HKEY_CURRENT_USER");
  PerformRemoval({int32_t(EntryKind::RemoveUserKey), "Software\\Zorvex\\", "Ombrix"});
  PerformRemoval({int32_t(EntryKind::RemoveUserKey), "Software\\", ""});
  EXPECT_EQ(ombrix::test::RegistryFileText("HKEY_CURRENT_USER"), before);
}

TEST_F(Removals, FileLinesGoByTheirBeginningAndTheFileKeepsItsMode) {
  const std::string config = File("lw/LW.cfg",
                                  "First line\n"
                                  "Plugin X a b\n"
                                  "Plugin X\n"
                                  "Plugin X a b c\n" +
                                      std::string(600, 'L') + "\n" + "Plugin X a b" + std::string(600, 'c') +
                                      "\n"
                                      "Last line without a line feed: Plugin X a b");
  chmod(config.c_str(), 0444);
  PerformRemoval({int32_t(EntryKind::RemoveFileLine), config, "Plugin X a b\n"});
  EXPECT_EQ(ReadTextFile(config),
            "First line\n"
            "Plugin X\n"
            "Plugin X a b c\n" +
                std::string(600, 'L') + "\n" + "Plugin X a b" + std::string(600, 'c') +
                "\n"
                "Last line without a line feed: Plugin X a b");
  PerformRemoval({int32_t(EntryKind::RemoveFileLine), config, "Plugin X a b"});
  // Long lines are judged whole: the 612-byte line goes entirely, the 600-byte one stays.
  EXPECT_EQ(ReadTextFile(config),
            "First line\nPlugin X\n" + std::string(600, 'L') + "\nLast line without a line feed: Plugin X a b");
  EXPECT_EQ(fs::status(config).permissions() & fs::perms::all, fs::perms(0444));
  EXPECT_FALSE(Exists(config + "__"));

  // An empty line text would match every line: such an entry is passed over.
  PerformRemoval({int32_t(EntryKind::RemoveFileLine), config, ""});
  EXPECT_EQ(ReadTextFile(config).substr(0, 11), "First line\n");
  // A file that is not there is not made.
  PerformRemoval({int32_t(EntryKind::RemoveFileLine), home_.Path("lw/none.cfg"), "x"});
  EXPECT_FALSE(Exists(home_.Path("lw/none.cfg")));
}

TEST_F(Removals, AWriterStoppedBeforeTheRenameLeavesTheFileWhole) {
  const std::string config = File("lw/LW.cfg", "keep\nPlugin X\nkeep too\n");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The new text is written and flushed; the process dies before it replaces the file.
    ombrix::platform::SetBeforeReplaceHook([](const char*, const char*) { _exit(0); });
    RemoveLinesBeginningWith(config, "Plugin X");
    _exit(1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the writer did not reach the replacement";
  EXPECT_EQ(ReadTextFile(config), "keep\nPlugin X\nkeep too\n");
  EXPECT_EQ(ReadTextFile(config + "__"), "keep\nkeep too\n");
  // The next run replaces the left-over copy and finishes the job.
  RemoveLinesBeginningWith(config, "Plugin X");
  EXPECT_EQ(ReadTextFile(config), "keep\nkeep too\n");
  EXPECT_FALSE(Exists(config + "__"));
}

// What the display saw, step by step.
class RecordingDisplay : public UninstallerDisplay {
 public:
  void ShowError(const std::string& caption, const std::string& text, const std::string& detail) override {
    errors.push_back(caption + "|" + text + "|" + detail);
  }
  void Begin(const std::string& caption, int count) override { begun.push_back(caption + "|" + std::to_string(count)); }
  void BeforeRemoval(int position, const char* action, std::string_view object) override {
    steps.push_back(std::to_string(position) + " " + (action != nullptr ? action : "-") + " " + std::string(object));
  }
  std::vector<std::string> errors, begun, steps;
};

TEST_F(Removals, ReplayRunsBackwardsWithTheLabelsOfEachKind) {
  const std::string dir = home_.Path("Inst");
  UninstallLog log;
  log.name = "Test product";
  log.Add(EntryKind::RemoveDirectory, dir);
  log.Add(EntryKind::RemoveDirectory, dir + "/Sub");
  log.Add(EntryKind::RemoveFile, File("Inst/Sub/f.txt"));
  log.Add(EntryKind::RemoveDirectory, dir + "/Busy");
  File("Inst/Busy/stays.txt");
  log.Add(EntryKind::RemoveMachineKey, "SOFTWARE\\", "Nothing");
  log.entries.push_back({99, dir, ""});
  log.Add(EntryKind::RemoveUserKey, "Software\\", "Gone");
  log.Add(EntryKind::RemoveFileLine, home_.Path("none.cfg"), "x\n");
  ASSERT_TRUE(WriteUninstallLog(home_.Path("Install.Nui"), log));

  RecordingDisplay display;
  EXPECT_EQ(RunUninstaller(home_.Path("Install.Nui"), display), kUninstallDone);
  EXPECT_TRUE(display.errors.empty());
  EXPECT_EQ(display.begun, std::vector<std::string>{"Removing \"Test product\"...|8"});
  const std::vector<std::string> expected = {
      "1 Removing File Line " + home_.Path("none.cfg"),
      "2 Removing Registery Key Gone",
      "3 - ",  // an unknown kind is skipped and leaves the labels
      "4 - ",  // so do the machine key and the directory kinds 4 to 6
      "5 Removing Directory " + dir + "/Busy",
      "6 Removing File " + dir + "/Sub/f.txt",
      "7 Removing Directory " + dir + "/Sub",
      "8 Removing Directory " + dir,
  };
  EXPECT_EQ(display.steps, expected);
  // The busy directory stayed and the replay went on to the end.
  EXPECT_TRUE(Exists(dir + "/Busy/stays.txt"));
  EXPECT_FALSE(Exists(dir + "/Sub"));
}

TEST_F(Removals, UninstallerRefusesABadLogAndTouchesNothingForAnEmptyOne) {
  RecordingDisplay display;
  WriteTextFile(home_.Path("bad.Nui"), "no");
  EXPECT_EQ(RunUninstaller(home_.Path("bad.Nui"), display), kUninstallLogRejected);
  ASSERT_EQ(display.errors.size(), 1u);
  EXPECT_EQ(display.errors[0], "Zorvex Uninstall - Error|Cannot load file :\n" + home_.Path("bad.Nui") +
                                   "|the file is too short to hold a header");
  EXPECT_TRUE(display.begun.empty());

  UninstallLog empty;
  empty.name = "Nothing";
  ASSERT_TRUE(WriteUninstallLog(home_.Path("Install.Nui"), empty));
  const auto before = ombrix::test::TreeSnapshot(home_.Root());
  ASSERT_EQ(chdir(home_.Root().c_str()), 0);
  RecordingDisplay second;
  EXPECT_EQ(RunUninstaller(LogPathFromArguments({}), second), kUninstallDone);
  EXPECT_EQ(second.begun, std::vector<std::string>{"Removing \"Nothing\"...|0"});
  EXPECT_TRUE(second.steps.empty());
  EXPECT_EQ(ombrix::test::TreeSnapshot(home_.Root()), before);

  // The argument text is the log path, blanks and all.
  EXPECT_EQ(LogPathFromArguments({"/a", "b/Install.Nui"}), "/a b/Install.Nui");
}

TEST(RemovalLine, FitsTheTerminalAndKeepsToOneLine) {
  EXPECT_EQ(FormatRemovalLine(1, 4, "Removing File", "/x\ny", 80), "[#####...............]  25% Removing File /x y");
  EXPECT_EQ(FormatRemovalLine(0, 0, "", "", 80), "[####################] 100%");
  // A long path keeps its end; characters are counted, not bytes.
  EXPECT_EQ(FormatRemovalLine(2, 2, "Removing File", "/home/user/.local/share/mime/version", 58),
            "[####################] 100% Removing File ...mime/version");
  EXPECT_EQ(FormatRemovalLine(1, 2, "A", "/\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9/x", 38),
            "[##########..........]  50% A ...\xC3\xA9\xC3\xA9/x");
  EXPECT_EQ(FormatRemovalLine(1, 2, std::string(100, 'a'), "/x", 40).size(), 39u);
}

}  // namespace
