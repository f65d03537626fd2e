// Sharing and byte-range locks of the file-access library, between the opens of one process
// and between two processes (the second one a helper program holding the file).
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/fileaccess/pelcor_test_support.h"

extern char** environ;

namespace {

using pelcor_test::PelcorFolder;
using pelcor_test::ReadBytes;

constexpr uint16_t kRead = PELCOR_READ;
constexpr uint16_t kReadWrite = PELCOR_READ | PELCOR_WRITE;

// The helper holding a file open, started with pipes on its standard input and output.
class Holder {
 public:
  explicit Holder(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), PELCOR_SHARE_HELPER);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    int to_child[2], from_child[2];
    if (pipe(to_child) != 0 || pipe(from_child) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, to_child[0], 0);
    posix_spawn_file_actions_adddup2(&actions, from_child[1], 1);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = 0;
    posix_spawn_file_actions_destroy(&actions);
    close(to_child[0]);
    close(from_child[1]);
    input_ = to_child[1];
    output_ = fdopen(from_child[0], "r");
  }
  ~Holder() {
    if (input_ >= 0) close(input_);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
    if (output_ != nullptr) fclose(output_);
  }
  // The helper's report line, once it holds the file.
  std::string Report() {
    char line[64] = {};
    if (output_ == nullptr || fgets(line, sizeof line, output_) == nullptr) return "no report";
    std::string text = line;
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }

 private:
  pid_t pid_ = 0;
  int input_ = -1;
  FILE* output_ = nullptr;
};

using PelcorSharing = PelcorFolder;

TEST_F(PelcorSharing, OpensInOneProcessSeeEachOthersSharing) {
  const std::string path = MakeFile("shared", "data");
  uint16_t a = 0, b = 0, c = 0;
  ASSERT_TRUE(bWF_OpenFile(path.c_str(), kRead | PELCOR_SHARE_READ, &a));
  EXPECT_TRUE(bWF_OpenFile(path.c_str(), kRead | PELCOR_SHARE_READ, &b));
  // Writing is refused by both, and a sharing violation reads as "file not found".
  EXPECT_FALSE(bWF_OpenFile(path.c_str(), kReadWrite | PELCOR_SHARE_READ | PELCOR_SHARE_WRITE, &c));
  EXPECT_EQ(c, PELCOR_NO_HANDLE);
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_FILE_NOT_FOUND);
  // An open that refuses readers cannot come while others read.
  EXPECT_FALSE(bWF_OpenFile(path.c_str(), kRead, &c));
  ASSERT_TRUE(bWF_CloseFile(a));
  ASSERT_TRUE(bWF_CloseFile(b));
  ASSERT_TRUE(bWF_OpenFile(path.c_str(), kReadWrite, &c));
  EXPECT_FALSE(bWF_OpenFile(path.c_str(), PELCOR_READ | PELCOR_SHARE_ALL, &a));
  ASSERT_TRUE(bWF_CloseFile(c));

  // The compatibility switch makes every open share both ways.
  EXPECT_EQ(bWF_ShareCompat(1), 0);
  ASSERT_TRUE(bWF_OpenFile(path.c_str(), kReadWrite, &a));
  EXPECT_TRUE(bWF_OpenFile(path.c_str(), kReadWrite, &b));
  EXPECT_EQ(bWF_ShareCompat(0), 1);
}

TEST_F(PelcorSharing, ACreateRefusedBySharingLeavesTheFileWhole) {
  const std::string path = MakeFile("kept", "precious");
  uint16_t holder = 0, creator = 0;
  ASSERT_TRUE(bWF_OpenFile(path.c_str(), kRead | PELCOR_SHARE_READ, &holder));
  EXPECT_FALSE(bWF_CreateFile(path.c_str(), kReadWrite | PELCOR_SHARE_ALL, &creator));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ReadBytes(path), "precious");
}

TEST_F(PelcorSharing, ASecondProcessIsRefusedWhatTheFirstDoesNotShare) {
  const std::string path = MakeFile("contended", "data");
  {
    Holder reader({path, std::to_string(kRead | PELCOR_SHARE_READ)});
    ASSERT_EQ(reader.Report(), "1 0");
    uint16_t handle = 0;
    EXPECT_FALSE(bWF_OpenFile(path.c_str(), kReadWrite | PELCOR_SHARE_ALL, &handle));
    EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(bWF_OpenFile(path.c_str(), kRead | PELCOR_SHARE_READ, &handle));
    ASSERT_TRUE(bWF_CloseFile(handle));
  }
  // Once the helper has ended, its sharing is gone.
  uint16_t writer = 0;
  ASSERT_TRUE(bWF_OpenFile(path.c_str(), kReadWrite, &writer));
  Holder refused({path, std::to_string(kRead | PELCOR_SHARE_ALL)});
  EXPECT_EQ(refused.Report(), "0 2");
}

TEST_F(PelcorSharing, RangeLocksHoldAcrossProcesses) {
  const std::string path = MakeFile("locked", std::string(200, 'x'));
  Holder locker({path, std::to_string(kReadWrite | PELCOR_SHARE_ALL), "0", "100"});
  ASSERT_EQ(locker.Report(), "1 0 1 0");
  const uint16_t handle = Open(path, kReadWrite | PELCOR_SHARE_ALL | PELCOR_EXISTING);
  EXPECT_FALSE(bWF_LockFile(handle, 50, 10));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_LOCK_VIOLATION);
  EXPECT_TRUE(bWF_LockFile(handle, 100, 10));
}

TEST_F(PelcorSharing, LocksDoNotStackAndUnlockTakesTheExactRange) {
  const std::string path = MakeFile("locked", "data");
  const uint16_t a = Open(path, kReadWrite | PELCOR_SHARE_ALL | PELCOR_EXISTING);
  const uint16_t b = Open(path, kReadWrite | PELCOR_SHARE_ALL | PELCOR_EXISTING);
  ASSERT_TRUE(bWF_LockFile(a, 0, 10));
  EXPECT_FALSE(bWF_LockFile(a, 5, 10));  // its own lock is in the way too
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_LOCK_VIOLATION);
  EXPECT_FALSE(bWF_LockFile(b, 9, 1));
  EXPECT_TRUE(bWF_LockFile(b, 10, 10));
  EXPECT_TRUE(bWF_LockFile(a, 0xFFFFFF00u, 0xFFFFFFFFu));  // a range beyond 4 GiB is fine
  EXPECT_FALSE(bWF_UnlockFile(a, 0, 5));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_NOT_LOCKED);
  EXPECT_FALSE(bWF_UnlockFile(b, 0, 10));  // not b's lock
  EXPECT_TRUE(bWF_UnlockFile(a, 0, 10));
  EXPECT_FALSE(bWF_UnlockFile(a, 0, 10));
  EXPECT_TRUE(bWF_LockFile(b, 0, 10));
  // Closing a handle drops its locks.
  ASSERT_TRUE(bWF_CloseFile(b));
  EXPECT_TRUE(bWF_LockFile(a, 0, 20));
}

TEST_F(PelcorSharing, TheLockTestWorksInAFolderAndLeavesNothing) {
  EXPECT_EQ(nWF_IsShare((dir_ + "/").c_str()), PELCOR_SHARE_WORKS);
  EXPECT_EQ(lWF_GetLastError(), 0);
  EXPECT_TRUE(bWF_IsShare((dir_ + "/").c_str()));
  PelcorFind find{};
  EXPECT_FALSE(bWF_FindFirst((dir_ + "/SH*").c_str(), &find, 6));
  EXPECT_EQ(nWF_IsShare((dir_ + "/missing/").c_str()), PELCOR_SHARE_NO_FILE);
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(bWF_IsShare((dir_ + "/missing/").c_str()));
}

}  // namespace
