// The registry store: key and value operations on the files, concurrent writers, a writer killed
// mid-write, and damaged or oversized files.
#include "core/platform/registry.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/platform/files.h"
#include "core/platform/registry_file.h"

namespace {

using namespace ombrix::platform;

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = std::string(OMBRIX_TEST_OUTPUT_DIR) + "/registry.XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern + "/registry";  // not made yet: writes must make it
    setenv("OMBRIX_REGISTRY_DIR", dir_.c_str(), 1);
  }
  void TearDown() override { unsetenv("OMBRIX_REGISTRY_DIR"); }

  std::string FileText(RegistryRoot root = kUser) {
    return ReadWholeFile(RegistryFilePath(root).c_str()).value_or("<missing>");
  }
  void WriteFileText(const std::string& text, RegistryRoot root = kUser) {
    ASSERT_TRUE(MakeDirectories(dir_.c_str()));
    ASSERT_TRUE(ReplaceFileAtomically(RegistryFilePath(root).c_str(), text));
  }
  std::vector<std::string> DirectoryEntries() {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir_.c_str())) {
      while (const dirent* e = readdir(d))
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
      closedir(d);
    }
    return names;
  }

  std::string dir_;
};

TEST_F(Registry, LocationFollowsTheEnvironment) {
  EXPECT_EQ(RegistryDirectory(), dir_);
  EXPECT_EQ(RegistryFilePath(RegistryRoot::kLocalMachine), dir_ + "/HKEY_LOCAL_MACHINE.reg");
  unsetenv("OMBRIX_REGISTRY_DIR");
  setenv("XDG_CONFIG_HOME", "/xdg", 1);
  EXPECT_EQ(RegistryDirectory(), "/xdg/zorvex/registry");
  unsetenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  EXPECT_EQ(RegistryDirectory(), std::string(home != nullptr ? home : "") + "/.config/zorvex/registry");
  EXPECT_EQ(RegistryRootFromName("hkey_classes_root"), RegistryRoot::kClassesRoot);
  EXPECT_FALSE(RegistryRootFromName("HKEY_USERS").has_value());
}

TEST_F(Registry, SetQueryAndEnumerateIgnoringLetterCase) {
  ASSERT_TRUE(RegistrySetString(kUser, "Software\\Zorvex\\Ombrix\\Options\\", "AskDel", "1"));
  ASSERT_TRUE(RegistrySetString(kUser, "software\\ZORVEX\\ombrix", "InstallDir", "C:\\Ombrix \"x\" \xA7"));
  ASSERT_TRUE(RegistrySetString(kUser, "Software\\Zorvex\\Ombrix", "", "default"));
  ASSERT_TRUE(RegistrySetString(kUser, "Software\\Zorvex\\Ombrix", "INSTALLDIR", "/opt/ombrix"));
  EXPECT_EQ(RegistryQueryString(kUser, "SOFTWARE\\zorvex\\Ombrix", "installdir").value_or("?"), "/opt/ombrix");
  EXPECT_EQ(RegistryQueryString(kUser, "Software\\Zorvex\\Ombrix", "").value_or("?"), "default");
  EXPECT_FALSE(RegistryQueryString(kUser, "Software\\Zorvex\\Ombrix", "Missing").has_value());
  EXPECT_FALSE(RegistryQueryString(kUser, "Software\\Nobody", "InstallDir").has_value());
  EXPECT_TRUE(RegistryKeyExists(kUser, ""));
  EXPECT_TRUE(RegistryKeyExists(kUser, "software\\zorvex"));
  EXPECT_FALSE(RegistryKeyExists(kUser, "Software\\Zorvex\\Other"));

  ASSERT_TRUE(RegistryCreateKey(kUser, "Software\\Zorvex\\Ombrix\\Plug-ins"));
  ASSERT_TRUE(RegistryCreateKey(kUser, "Software\\Zorvex\\Ombrix\\plug-INS"));
  EXPECT_EQ(RegistryEnumerateSubkeys(kUser, "Software\\Zorvex\\Ombrix").value(),
            (std::vector<std::string>{"Options", "Plug-ins"}));
  EXPECT_EQ(RegistryEnumerateValues(kUser, "Software\\Zorvex\\Ombrix").value(),
            (std::vector<std::string>{"InstallDir", ""}));
  EXPECT_FALSE(RegistryEnumerateSubkeys(kUser, "Software\\Missing").has_value());
  EXPECT_TRUE(RegistryEnumerateSubkeys(kUser, "Software\\Zorvex\\Ombrix\\Plug-ins")->empty());

  // Roots are separate files.
  EXPECT_FALSE(RegistryKeyExists(RegistryRoot::kLocalMachine, "Software"));
  ASSERT_TRUE(RegistrySetString(RegistryRoot::kClassesRoot, "http\\shell\\open\\command", "", "browser %1"));
  EXPECT_EQ(RegistryQueryString(RegistryRoot::kClassesRoot, "HTTP\\Shell\\Open\\Command", "").value(), "browser %1");

  EXPECT_EQ(FileText(),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\n[HKEY_CURRENT_USER\\Software\\Zorvex]\n\n"
            "[HKEY_CURRENT_USER\\Software\\Zorvex\\Ombrix]\n\"InstallDir\"=\"/opt/ombrix\"\n@=\"default\"\n\n"
            "[HKEY_CURRENT_USER\\Software\\Zorvex\\Ombrix\\Options]\n\"AskDel\"=\"1\"\n\n"
            "[HKEY_CURRENT_USER\\Software\\Zorvex\\Ombrix\\Plug-ins]\n\n");
}

TEST_F(Registry, DeletesValuesAndKeysWithTheirSubkeys) {
  ASSERT_TRUE(RegistrySetString(kUser, "A\\B\\C", "v", "1"));
  ASSERT_TRUE(RegistrySetString(kUser, "A\\B", "w", "2"));
  ASSERT_TRUE(RegistrySetString(kUser, "A\\D", "x", "3"));
  EXPECT_TRUE(RegistryDeleteValue(kUser, "a\\b", "W"));
  EXPECT_FALSE(RegistryDeleteValue(kUser, "A\\B", "w"));
  EXPECT_FALSE(RegistryDeleteValue(kUser, "A\\Missing", "w"));
  EXPECT_TRUE(RegistryKeyExists(kUser, "A\\B"));

  EXPECT_TRUE(RegistryDeleteKey(kUser, "a\\B\\"));
  EXPECT_FALSE(RegistryKeyExists(kUser, "A\\B\\C"));
  EXPECT_FALSE(RegistryKeyExists(kUser, "A\\B"));
  EXPECT_EQ(RegistryQueryString(kUser, "A\\D", "x").value_or("?"), "3");
  EXPECT_FALSE(RegistryDeleteKey(kUser, "A\\B"));
  EXPECT_FALSE(RegistryDeleteKey(kUser, ""));
  EXPECT_FALSE(RegistryDeleteKey(kUser, "\\"));
  EXPECT_TRUE(RegistryDeleteKey(kUser, "A"));
  EXPECT_EQ(FileText(), "REGEDIT4\n\n");
}

TEST_F(Registry, ReadsCreateNothingAndUnstorableTextsAreRefused) {
  EXPECT_FALSE(RegistryQueryString(kUser, "Software", "x").has_value());
  EXPECT_FALSE(RegistryKeyExists(kUser, "Software"));
  EXPECT_FALSE(RegistryEnumerateSubkeys(kUser, "Software").has_value());
  EXPECT_FALSE(FileExists(dir_.c_str()));

  EXPECT_FALSE(RegistrySetString(kUser, "Software", "x", "two\nlines"));
  EXPECT_FALSE(RegistrySetString(kUser, "Software", "x\r", "1"));
  EXPECT_FALSE(RegistryCreateKey(kUser, "Soft\nware"));
  EXPECT_FALSE(RegistryKeyExists(kUser, "Software"));

  // A value of another type is not a string.
  WriteFileText("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"n\"=dword:00000001\n");
  EXPECT_FALSE(RegistryQueryString(kUser, "Software", "n").has_value());
  EXPECT_EQ(RegistryEnumerateValues(kUser, "Software").value(), std::vector<std::string>{"n"});
  ASSERT_TRUE(RegistrySetString(kUser, "Software", "N", "text now"));
  EXPECT_EQ(RegistryQueryString(kUser, "Software", "n").value_or("?"), "text now");
}

TEST_F(Registry, AWriterKeepsADamagedFileWholeAndReportsItOnce) {
  const std::string damaged =
      "REGEDIT4\n\n[HKEY_CURRENT_USER\\Keep]\n\"a\"=\"1\"\n\"bad\"=\"unclosed\n"
      "[HKEY_CURRENT_USER\\Broken\n\"b\"=\"2\"\n" +
      std::string("\x7f\0\xff", 3) +
      "\n"
      "[HKEY_CURRENT_USER\\Later]\n\"c\"=\"3\"\n";
  WriteFileText(damaged);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(RegistryQueryString(kUser, "Keep", "a").value_or("?"), "1");
  EXPECT_EQ(RegistryQueryString(kUser, "Later", "c").value_or("?"), "3");
  ASSERT_TRUE(RegistrySetString(kUser, "Keep", "new", "4"));
  const std::string report = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("damaged from line 5"), std::string::npos) << report;
  EXPECT_EQ(report.find("damaged", report.find("damaged") + 1), std::string::npos) << "reported twice: " << report;

  // Every line the damaged file held is still there, and the good keys and the new value read.
  const std::string written = FileText();
  for (const std::string line : {"\"bad\"=\"unclosed\n", "[HKEY_CURRENT_USER\\Broken\n", "\"b\"=\"2\"\n",
                                 "\"a\"=\"1\"\n", "[HKEY_CURRENT_USER\\Later]\n\"c\"=\"3\"\n"})
    EXPECT_NE(written.find(line), std::string::npos) << line;
  EXPECT_NE(written.find(std::string("\x7f\0\xff\n", 4)), std::string::npos);
  EXPECT_EQ(RegistryQueryString(kUser, "Keep", "new").value_or("?"), "4");
  EXPECT_EQ(RegistryQueryString(kUser, "Later", "c").value_or("?"), "3");
}

TEST_F(Registry, AFileThatCannotBeReadWholeIsNeverWritten) {
  // Longer than the limit: the start is read, writes fail and leave it alone.
  std::string big = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Start]\n\"s\"=\"1\"\n\n";
  const std::string filler = "[HKEY_CURRENT_USER\\Filler]\n\"f\"=\"" + std::string(1000, 'f') + "\"\n";
  while (big.size() <= kMaxRegistryFileBytes) big += filler;
  big += "[HKEY_CURRENT_USER\\End]\n";
  WriteFileText(big);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(RegistryQueryString(kUser, "Start", "s").value_or("?"), "1");
  EXPECT_FALSE(RegistryKeyExists(kUser, "End"));
  EXPECT_FALSE(RegistrySetString(kUser, "Start", "s", "2"));
  const std::string report = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(report.find("longer than"), std::string::npos) << report;
  EXPECT_EQ(FileText().size(), big.size());

  // A file that cannot be read (here a directory in its place, which even root cannot read as
  // a file) is not treated as empty: writes fail.
  const std::string path = RegistryFilePath(RegistryRoot::kLocalMachine);
  ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(RegistryKeyExists(RegistryRoot::kLocalMachine, "Software"));
  EXPECT_FALSE(RegistrySetString(RegistryRoot::kLocalMachine, "Software", "x", "1"));
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot read"), std::string::npos);
  EXPECT_TRUE(DirectoryExists(path.c_str()));
}

// Runs `body` in a child process; returns its pid.
template <typename Body>
pid_t Fork(Body body) {
  const pid_t pid = fork();
  if (pid == 0) {
    body();
    _exit(0);
  }
  return pid;
}

bool ExitedCleanly(pid_t pid) {
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(Registry, ConcurrentWritersAllKeepTheirValues) {
  constexpr int kWriters = 6;
  constexpr int kValuesEach = 15;
  ASSERT_TRUE(RegistrySetString(kUser, "Software\\Zorvex\\Ombrix", "Before", "kept"));
  int start[2];
  ASSERT_EQ(pipe(start), 0);
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    children.push_back(Fork([&, w] {
      close(start[1]);
      char c;
      if (read(start[0], &c, 1) != 0) _exit(2);  // released when the parent closes its end
      for (int j = 0; j < kValuesEach; ++j) {
        const std::string name = "W" + std::to_string(w) + "_" + std::to_string(j);
        if (!RegistrySetString(kUser, "Software\\Zorvex\\Ombrix\\Options", name, std::to_string(w * 100 + j))) _exit(1);
      }
    }));
  }
  // A reader in parallel: every file it sees parses cleanly and never holds fewer values.
  children.push_back(Fork([&] {
    close(start[1]);
    char c;
    if (read(start[0], &c, 1) != 0) _exit(2);
    size_t seen = 0;
    for (int i = 0; i < 300 && seen < size_t(kWriters * kValuesEach); ++i) {
      const std::string text = ReadWholeFile(RegistryFilePath(kUser).c_str()).value_or("");
      const RegistryDocument doc = ParseRegistryText("HKEY_CURRENT_USER", text);
      if (doc.first_damaged_line != 0) _exit(3);
      const RegistryKeyNode* options = doc.Find({"Software", "Zorvex", "Ombrix", "Options"});
      const size_t count = options != nullptr ? options->values.size() : 0;
      if (count < seen) _exit(4);
      seen = count;
    }
  }));
  close(start[0]);
  close(start[1]);
  for (pid_t pid : children) EXPECT_TRUE(ExitedCleanly(pid));

  const auto names = RegistryEnumerateValues(kUser, "Software\\Zorvex\\Ombrix\\Options");
  ASSERT_TRUE(names.has_value());
  EXPECT_EQ(names->size(), size_t(kWriters * kValuesEach));
  for (int w = 0; w < kWriters; ++w)
    for (int j = 0; j < kValuesEach; ++j)
      EXPECT_EQ(RegistryQueryString(kUser, "Software\\Zorvex\\Ombrix\\Options",
                                    "w" + std::to_string(w) + "_" + std::to_string(j))
                    .value_or("?"),
                std::to_string(w * 100 + j));
  EXPECT_EQ(RegistryQueryString(kUser, "Software\\Zorvex\\Ombrix", "Before").value_or("?"), "kept");
}

int g_hook_pipe = -1;

// Tells the parent that the temporary file is complete, then waits to be killed.
void SignalAndWait(const char* temporary_path, const char*) {
  const std::string message = std::string(temporary_path) + "\n";
  if (write(g_hook_pipe, message.data(), message.size()) < 0) _exit(5);
  for (;;) pause();
}

TEST_F(Registry, AWriterKilledBeforeTheRenameLeavesTheOldFileWhole) {
  ASSERT_TRUE(RegistrySetString(kUser, "Software\\Zorvex\\Ombrix", "InstallDir", "/opt/ombrix"));
  ASSERT_TRUE(RegistrySetString(kUser, "Software\\Zorvex\\Ombrix\\Options", "AskDel", "1"));
  const std::string before = FileText();

  int report[2];
  ASSERT_EQ(pipe(report), 0);
  const pid_t writer = Fork([&] {
    close(report[0]);
    g_hook_pipe = report[1];
    SetBeforeReplaceHook(SignalAndWait);
    RegistrySetString(kUser, "Software\\Zorvex\\Ombrix", "InstallDir", "/half/written");
  });
  close(report[1]);
  std::string temporary;
  char c;
  while (read(report[0], &c, 1) == 1 && c != '\n') temporary += c;
  close(report[0]);
  ASSERT_FALSE(temporary.empty());
  EXPECT_NE(ReadWholeFile(temporary.c_str()).value_or("").find("/half/written"), std::string::npos);
  ASSERT_EQ(kill(writer, SIGKILL), 0);
  int status = 0;
  ASSERT_EQ(waitpid(writer, &status, 0), writer);
  EXPECT_TRUE(WIFSIGNALED(status));

  EXPECT_EQ(FileText(), before);
  EXPECT_EQ(RegistryQueryString(kUser, "Software\\Zorvex\\Ombrix", "InstallDir").value_or("?"), "/opt/ombrix");
  // The lock died with the writer; the next write goes through and clears the stale temporary.
  ASSERT_TRUE(RegistrySetString(kUser, "Software\\Zorvex\\Ombrix", "InstallDir", "/new"));
  EXPECT_FALSE(FileExists(temporary.c_str()));
  EXPECT_EQ(DirectoryEntries().size(), 2u);  // the file and its lock file
  EXPECT_EQ(RegistryQueryString(kUser, "Software\\Zorvex\\Ombrix\\Options", "AskDel").value_or("?"), "1");
}

}  // namespace
