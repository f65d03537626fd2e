// Named files of the file-access library: times of files, attributes, deleting, renaming and
// copying, directories and drives.
#include <sys/stat.h>

#include <cstring>

#include "tests/fileaccess/pelcor_test_support.h"

namespace {

using pelcor_test::PelcorFolder;
using pelcor_test::ReadBytes;
using pelcor_test::TakesExtendedAttributes;

constexpr uint16_t kReadWrite = PELCOR_READ | PELCOR_WRITE;

time_t ModificationTime(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(stat(path.c_str(), &st), 0);
  return st.st_mtime;
}

bool SameTime(const PelcorTime& a, const PelcorTime& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

using PelcorTimes = PelcorFolder;

TEST_F(PelcorTimes, SetTimePacksToEvenSecondsInLocalTime) {
  const std::string path = Path("f");
  const uint16_t handle = Open(path, kReadWrite);
  const PelcorTime wanted{2001, 2, 3, 4, 5, 7};
  ASSERT_TRUE(bWF_SetTime(handle, &wanted));
  PelcorTime got{};
  ASSERT_TRUE(bWF_GetTime(handle, &got));
  EXPECT_TRUE(SameTime(got, PelcorTime{2001, 2, 3, 4, 5, 6}));
  EXPECT_EQ(ModificationTime(path), 981173106);  // 2001-02-03 04:05:06 UTC
  ASSERT_TRUE(bWF_FFGetTime(path.c_str(), &got));
  EXPECT_TRUE(SameTime(got, PelcorTime{2001, 2, 3, 4, 5, 6}));

  // Two hours east of UTC, the same record is an instant two hours earlier.
  setenv("TZ", "UTC-2", 1);
  tzset();
  ASSERT_TRUE(bWF_SetTime(handle, &wanted));
  EXPECT_EQ(ModificationTime(path), 981173106 - 7200);
  ASSERT_TRUE(bWF_GetTime(handle, &got));
  EXPECT_EQ(got.hour, 4);
}

TEST_F(PelcorTimes, MinusOneKeepsTheDateOrTheTimeOfDay) {
  const uint16_t handle = Open(Path("f"), kReadWrite);
  const PelcorTime start{2001, 2, 3, 4, 5, 6};
  ASSERT_TRUE(bWF_SetTime(handle, &start));
  const time_t before = ModificationTime(Path("f"));
  const PelcorTime nothing{-1, 9, 9, -1, 9, 9};
  EXPECT_TRUE(bWF_SetTime(handle, &nothing));
  EXPECT_EQ(lWF_GetLastError(), 0);
  EXPECT_EQ(ModificationTime(Path("f")), before);

  PelcorTime got{};
  const PelcorTime new_time{-1, 0, 0, 10, 20, 31};
  ASSERT_TRUE(bWF_SetTime(handle, &new_time));
  ASSERT_TRUE(bWF_GetTime(handle, &got));
  EXPECT_TRUE(SameTime(got, PelcorTime{2001, 2, 3, 10, 20, 30}));
  const PelcorTime new_date{2010, 6, 7, -1, 0, 0};
  ASSERT_TRUE(bWF_SetTime(handle, &new_date));
  ASSERT_TRUE(bWF_GetTime(handle, &got));
  EXPECT_TRUE(SameTime(got, PelcorTime{2010, 6, 7, 10, 20, 30}));
}

TEST_F(PelcorTimes, RecordsThatPackToAnotherDateAreRefused) {
  const uint16_t handle = Open(Path("f"), kReadWrite | PELCOR_SHARE_ALL);
  const PelcorTime start{2001, 2, 3, 4, 5, 6};
  ASSERT_TRUE(bWF_SetTime(handle, &start));
  const time_t before = ModificationTime(Path("f"));
  for (const PelcorTime& bad :
       {PelcorTime{2001, 1, 33, 0, 0, 0}, PelcorTime{2108, 1, 1, 0, 0, 0}, PelcorTime{1979, 12, 31, 0, 0, 0},
        PelcorTime{2001, 13, 1, 0, 0, 0}, PelcorTime{2001, 4, 31, 0, 0, 0}, PelcorTime{2001, 2, 29, 0, 0, 0},
        PelcorTime{2001, 1, 1, 24, 0, 0}, PelcorTime{2001, 1, 1, 0, 60, 0}}) {
    EXPECT_FALSE(bWF_SetTime(handle, &bad)) << bad.year << "-" << bad.month << "-" << bad.day << " " << bad.hour;
    EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_INVALID_PARAMETER);
  }
  const PelcorTime leap{2000, 2, 29, 23, 59, 59};
  EXPECT_TRUE(bWF_SetTime(handle, &leap));
  EXPECT_NE(ModificationTime(Path("f")), before);
  // Writing a time takes write access.
  uint16_t reader = 0;
  ASSERT_TRUE(bWF_OpenFile(Path("f").c_str(), PELCOR_READ | PELCOR_SHARE_ALL, &reader));
  EXPECT_FALSE(bWF_SetTime(reader, &start));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_ACCESS_DENIED);
}

using PelcorAttributes = PelcorFolder;

TEST_F(PelcorAttributes, BitsComeFromPermissionsNamesAndTheTag) {
  const std::string file = MakeFile("plain");
  const std::string hidden = MakeFile(".hidden");
  const std::string folder = MakeDir("folder");
  uint16_t bits = 0xFFFF;
  ASSERT_TRUE(bWF_GetAttrib(file.c_str(), &bits));
  EXPECT_EQ(bits, 0);
  ASSERT_TRUE(bWF_GetAttrib(hidden.c_str(), &bits));
  EXPECT_EQ(bits, PELCOR_ATTR_HIDDEN);
  ASSERT_TRUE(bWF_GetAttrib(folder.c_str(), &bits));
  EXPECT_EQ(bits, PELCOR_ATTR_DIRECTORY);
  EXPECT_FALSE(bWF_GetAttrib(Path("missing").c_str(), &bits));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_FILE_NOT_FOUND);

  // Only read-only, hidden, system and archive are kept; hidden follows the name.
  ASSERT_TRUE(bWF_SetAttrib(file.c_str(), 0xFF));
  ASSERT_TRUE(bWF_GetAttrib(file.c_str(), &bits));
  const uint16_t tagged = TakesExtendedAttributes(dir_) ? PELCOR_ATTR_SYSTEM | PELCOR_ATTR_ARCHIVE : 0;
  EXPECT_EQ(bits, PELCOR_ATTR_READONLY | tagged);
  ASSERT_TRUE(bWF_SetAttrib(file.c_str(), 0));
  ASSERT_TRUE(bWF_GetAttrib(file.c_str(), &bits));
  EXPECT_EQ(bits, 0);
  struct stat st {};
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  EXPECT_NE(st.st_mode & S_IWUSR, 0u);

  // A directory keeps its permissions.
  ASSERT_TRUE(bWF_SetAttrib(folder.c_str(), PELCOR_ATTR_READONLY));
  ASSERT_TRUE(bWF_GetAttrib(folder.c_str(), &bits));
  EXPECT_EQ(bits, PELCOR_ATTR_DIRECTORY);
}

TEST_F(PelcorAttributes, ReadOnlyFilesCannotBeWrittenDeletedOrReplaced) {
  const std::string path = MakeFile("guarded", "keep");
  ASSERT_TRUE(bWF_SetAttrib(path.c_str(), PELCOR_ATTR_READONLY));
  uint16_t handle = 0;
  EXPECT_FALSE(bWF_OpenFile(path.c_str(), kReadWrite, &handle));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_ACCESS_DENIED);
  EXPECT_FALSE(bWF_CreateFile(path.c_str(), PELCOR_READ, &handle));
  EXPECT_FALSE(bWF_DeleteFile(path.c_str()));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_ACCESS_DENIED);
  EXPECT_FALSE(bWF_CopyFile(MakeFile("other", "new").c_str(), path.c_str()));
  EXPECT_EQ(ReadBytes(path), "keep");
  ASSERT_TRUE(bWF_OpenFile(path.c_str(), PELCOR_READ, &handle));
  ASSERT_TRUE(bWF_CloseFile(handle));

  // A copy of a read-only file has the archive attribute only: it can be written.
  ASSERT_TRUE(bWF_CopyFile(path.c_str(), Path("copy").c_str()));
  EXPECT_EQ(ReadBytes(Path("copy")), "keep");
  uint16_t bits = 0;
  ASSERT_TRUE(bWF_GetAttrib(Path("copy").c_str(), &bits));
  EXPECT_EQ(bits, TakesExtendedAttributes(dir_) ? PELCOR_ATTR_ARCHIVE : 0);
  EXPECT_TRUE(bWF_DeleteFile(Path("copy").c_str()));
}

TEST_F(PelcorAttributes, RenameNeverReplacesAndCopyDoes) {
  const std::string a = MakeFile("a", "first");
  const std::string b = MakeFile("b", "second");
  EXPECT_FALSE(bWF_RenameFile(a.c_str(), b.c_str()));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ReadBytes(a), "first");
  EXPECT_EQ(ReadBytes(b), "second");
  EXPECT_FALSE(bWF_RenameFile(Path("missing").c_str(), Path("c").c_str()));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(bWF_RenameFile(a.c_str(), Path("no/c").c_str()));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_PATH_NOT_FOUND);
  ASSERT_TRUE(bWF_RenameFile(a.c_str(), Path("c").c_str()));
  EXPECT_EQ(ReadBytes(Path("c")), "first");

  ASSERT_TRUE(bWF_CopyFile(Path("c").c_str(), b.c_str()));
  EXPECT_EQ(ReadBytes(b), "first");
  EXPECT_FALSE(bWF_CopyFile(Path("missing").c_str(), b.c_str()));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(bWF_DeleteFile(b.c_str()));
  EXPECT_FALSE(bWF_DeleteFile(b.c_str()));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(bWF_DeleteFile(Path("no/such").c_str()));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_PATH_NOT_FOUND);
}

using PelcorDrives = PelcorFolder;

TEST_F(PelcorDrives, DriveCIsTheRootAndTheOthersAreNotReady) {
  EXPECT_EQ(lWF_DiskFree('#'), -1);
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_INVALID_DRIVE);
  EXPECT_EQ(lWF_DiskFree('D'), -1);
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_NOT_READY);
  EXPECT_GE(lWF_DiskFree('c'), 0);
  EXPECT_EQ(lWF_GetLastError(), 0);

  EXPECT_EQ(cWF_GetDrive(), 'C');
  EXPECT_TRUE(bWF_SetDrive('c'));
  EXPECT_FALSE(bWF_SetDrive('A'));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_NOT_READY);
  EXPECT_TRUE(bWF_IsDriveReady('C'));
  EXPECT_FALSE(bWF_IsDriveReady('z'));
  EXPECT_EQ(cWF_GetDrive(), 'C');

  uint16_t flags = 0xFFFF;
  EXPECT_EQ(wWF_DriveType('C', &flags), PELCOR_DRIVE_FIXED);
  EXPECT_NE(flags & PELCOR_CASE_PRESERVED, 0);
  EXPECT_EQ(flags & ~(PELCOR_CASE_PRESERVED | PELCOR_CASE_SENSITIVE | PELCOR_UNICODE_NAMES), 0);
  EXPECT_EQ(wWF_DriveType('Q', &flags), PELCOR_DRIVE_NO_ROOT);
  EXPECT_EQ(flags, 0);
  EXPECT_EQ(wWF_DriveType('C', nullptr), PELCOR_DRIVE_FIXED);
}

TEST_F(PelcorDrives, CurrentDirectoryAndDirectories) {
  ASSERT_TRUE(bWF_SetCurDir(dir_.c_str()));
  char buffer[4096];
  ASSERT_TRUE(bWF_GetCurDir(0, buffer, sizeof buffer));
  char real[4096];
  ASSERT_NE(realpath(dir_.c_str(), real), nullptr);
  EXPECT_STREQ(buffer, real);
  ASSERT_TRUE(bWF_GetCurDir('c', buffer, sizeof buffer));
  EXPECT_FALSE(bWF_GetCurDir('C', buffer, 4));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_INSUFFICIENT_BUFFER);
  EXPECT_STREQ(buffer, "");
  EXPECT_FALSE(bWF_GetCurDir('D', buffer, sizeof buffer));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_NOT_READY);
  EXPECT_FALSE(bWF_SetCurDir(Path("missing").c_str()));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_FILE_NOT_FOUND);

  // A relative path is made against the current directory.
  ASSERT_TRUE(bWF_CreateDir("made"));
  struct stat st {};
  ASSERT_EQ(stat(Path("made").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_FALSE(bWF_CreateDir(Path("made").c_str()));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(bWF_CreateDir(Path("no/made").c_str()));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_PATH_NOT_FOUND);
  MakeFile("made/inside");
  EXPECT_FALSE(bWF_RemoveDir(Path("made").c_str()));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_DIR_NOT_EMPTY);
  ASSERT_TRUE(bWF_DeleteFile(Path("made/inside").c_str()));
  EXPECT_TRUE(bWF_RemoveDir("made"));
  EXPECT_FALSE(bWF_RemoveDir(Path("made").c_str()));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_FILE_NOT_FOUND);
}

}  // namespace
