// The handle table and open files of the file-access library: start and end of the module,
// handle numbers and misuse, open modes, reads, writes, seeks, sizes and the last error.
#include <fcntl.h>

#include <vector>

#include "tests/fileaccess/pelcor_test_support.h"

namespace {

using pelcor_test::PelcorFolder;
using pelcor_test::ReadBytes;

constexpr uint16_t kReadWrite = PELCOR_READ | PELCOR_WRITE;

using PelcorModule = PelcorFolder;

TEST_F(PelcorModule, TwoStartsAndOneEndKeepTheTable) {
  ASSERT_EQ(WF_FinModule(), 0);  // the fixture's start undone: the count is 0 again
  EXPECT_EQ(WF_FinModule(), 0);  // and never goes below
  ASSERT_TRUE(bWF_InitModule(4));
  ASSERT_TRUE(bWF_InitModule(4));
  const uint16_t kept = Open(Path("kept"), kReadWrite);
  EXPECT_EQ(WF_FinModule(), 1);
  EXPECT_NE(hWF_GetH32(kept), PELCOR_INVALID_PLATFORM_HANDLE);
  EXPECT_TRUE(bWF_WriteFile(kept, "x", 1));

  // The second end frees the table and closes what was still open.
  const int fd = hWF_GetH32(kept);
  EXPECT_EQ(WF_FinModule(), 0);
  EXPECT_EQ(fcntl(fd, F_GETFD), -1);
  EXPECT_EQ(hWF_GetH32(kept), PELCOR_INVALID_PLATFORM_HANDLE);
  uint16_t handle = 0;
  EXPECT_FALSE(bWF_OpenFile(Path("kept").c_str(), PELCOR_READ, &handle));
  EXPECT_EQ(handle, PELCOR_NO_HANDLE);
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_TOO_MANY_OPEN_FILES);
}

TEST_F(PelcorModule, CountsBeyondSixteenBitHandlesAreRefused) {
  ASSERT_EQ(WF_FinModule(), 0);
  EXPECT_FALSE(bWF_InitModule(-1));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(bWF_InitModule(65534));
  ASSERT_TRUE(bWF_InitModule(65533));
  EXPECT_EQ(lWF_GetLastError(), 0);
}

TEST_F(PelcorModule, HandlesComeFromTheFreeListAndRunOut) {
  ASSERT_EQ(WF_FinModule(), 0);
  ASSERT_TRUE(bWF_InitModule(2));
  const uint16_t first = Open(Path("a"), kReadWrite);
  const uint16_t second = Open(Path("b"), kReadWrite);
  EXPECT_EQ(first, 2);
  EXPECT_EQ(second, 3);
  uint16_t third = 0;
  EXPECT_FALSE(bWF_OpenFile(Path("a").c_str(), PELCOR_READ | PELCOR_SHARE_ALL, &third));
  EXPECT_EQ(third, PELCOR_NO_HANDLE);
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_TOO_MANY_OPEN_FILES);

  // Closed slots go to the end of the free list: the first closed is the first given again.
  EXPECT_TRUE(bWF_CloseFile(second));
  EXPECT_TRUE(bWF_CloseFile(first));
  EXPECT_EQ(Open(Path("c"), kReadWrite), second);
  EXPECT_EQ(Open(Path("d"), kReadWrite), first);
}

TEST_F(PelcorModule, MisusedHandlesFailWithInvalidHandle) {
  const uint16_t handle = Open(Path("f"), kReadWrite);
  ASSERT_TRUE(bWF_CloseFile(handle));
  char buffer[4];
  uint32_t done = 7;
  PelcorTime time{};
  for (const uint16_t bad : {handle, uint16_t(0), uint16_t(1), uint16_t(10), uint16_t(PELCOR_NO_HANDLE)}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(bWF_CloseFile(bad));
    EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_INVALID_HANDLE);
    EXPECT_EQ(hWF_GetH32(bad), PELCOR_INVALID_PLATFORM_HANDLE);
    EXPECT_FALSE(bWF_ReadFile(bad, buffer, sizeof buffer, &done));
    EXPECT_EQ(done, 0u);
    EXPECT_FALSE(bWF_WriteFile(bad, buffer, sizeof buffer));
    EXPECT_FALSE(bWF_SeekFile(bad, 0, 0, nullptr));
    EXPECT_FALSE(bWF_SetSize(bad, 0));
    EXPECT_FALSE(bWF_CommitFile(bad));
    EXPECT_FALSE(bWF_LockFile(bad, 0, 1));
    EXPECT_FALSE(bWF_UnlockFile(bad, 0, 1));
    EXPECT_FALSE(bWF_GetTime(bad, &time));
    EXPECT_FALSE(bWF_SetTime(bad, &time));
    EXPECT_EQ(dwWF_FicSize(bad), 0xFFFFFFFFu);
    EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_INVALID_HANDLE);
    EXPECT_TRUE(bWF_FlushFile(bad));  // does nothing, whatever the handle
    EXPECT_EQ(lWF_GetLastError(), 0);
  }
}

using PelcorOpen = PelcorFolder;

TEST_F(PelcorOpen, CreateTruncatesAndOpenNeedsAnExistingFile) {
  const std::string path = MakeFile("data", "old contents");
  uint16_t handle = 0;
  ASSERT_TRUE(bWF_OpenFile(path.c_str(), PELCOR_READ, &handle));
  EXPECT_EQ(dwWF_FicSize(handle), 12u);
  ASSERT_TRUE(bWF_CloseFile(handle));
  handle = Open(path, PELCOR_WRITE);
  EXPECT_EQ(dwWF_FicSize(handle), 0u);
  EXPECT_TRUE(bWF_CloseFile(handle));

  EXPECT_FALSE(bWF_OpenFile(Path("missing").c_str(), PELCOR_READ, &handle));
  EXPECT_EQ(handle, PELCOR_NO_HANDLE);
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(bWF_CreateFile(Path("no/such/folder").c_str(), kReadWrite, &handle));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(bWF_OpenFile(dir_.c_str(), PELCOR_READ, &handle));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_ACCESS_DENIED);
  EXPECT_FALSE(bWF_OpenFile(nullptr, PELCOR_READ, &handle));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_INVALID_PARAMETER);
}

TEST_F(PelcorOpen, FilesAreNotInheritedByChildren) {
  const uint16_t handle = Open(Path("f"), kReadWrite);
  EXPECT_NE(fcntl(hWF_GetH32(handle), F_GETFD) & FD_CLOEXEC, 0);
  EXPECT_EQ(lWF_GetLastError(), 0);
}

TEST_F(PelcorOpen, ReadsAndWritesFollowTheAccessAsked) {
  const std::string path = Path("f");
  const uint16_t writer = Open(path, PELCOR_WRITE | PELCOR_SHARE_ALL);
  char byte = 0;
  EXPECT_FALSE(bWF_ReadFile(writer, &byte, 1, nullptr));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_ACCESS_DENIED);

  // More than two pieces of 4096 bytes, the last one short.
  std::string data(10000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = char(i * 7);
  ASSERT_TRUE(bWF_WriteFile(writer, data.data(), uint32_t(data.size())));
  EXPECT_TRUE(bWF_WriteFile(writer, "", 0));
  EXPECT_FALSE(bWF_WriteFile(writer, nullptr, 0));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_INVALID_PARAMETER);
  EXPECT_TRUE(bWF_CommitFile(writer));
  EXPECT_EQ(ReadBytes(path), data);

  uint16_t reader = 0;
  ASSERT_TRUE(bWF_OpenFile(path.c_str(), PELCOR_READ | PELCOR_SHARE_ALL, &reader));
  EXPECT_FALSE(bWF_WriteFile(reader, "x", 1));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_ACCESS_DENIED);
  std::vector<char> buffer(data.size() + 100);
  // Without a count, a short read is a failure; with one, it is the count.
  EXPECT_FALSE(bWF_ReadFile(reader, buffer.data(), uint32_t(buffer.size()), nullptr));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_HANDLE_EOF);
  ASSERT_TRUE(bWF_SeekFile(reader, 0, 0, nullptr));
  uint32_t done = 0;
  ASSERT_TRUE(bWF_ReadFile(reader, buffer.data(), uint32_t(buffer.size()), &done));
  EXPECT_EQ(done, data.size());
  EXPECT_EQ(std::string(buffer.data(), done), data);
  ASSERT_TRUE(bWF_SeekFile(reader, 5, 0, nullptr));
  ASSERT_TRUE(bWF_ReadFile(reader, buffer.data(), 3, nullptr));
  EXPECT_EQ(std::string(buffer.data(), 3), data.substr(5, 3));
}

TEST_F(PelcorOpen, SeeksSizesAndEndsOfFile) {
  const std::string path = Path("f");
  const uint16_t handle = Open(path, kReadWrite);
  ASSERT_TRUE(bWF_WriteFile(handle, "0123456789", 10));
  uint32_t position = 0;
  EXPECT_TRUE(bWF_SeekFile(handle, -4, 1, &position));
  EXPECT_EQ(position, 6u);
  EXPECT_TRUE(bWF_SeekFile(handle, -1, 2, &position));
  EXPECT_EQ(position, 9u);
  EXPECT_TRUE(bWF_SeekFile(handle, 3, 7, &position));  // any other origin counts from the start
  EXPECT_EQ(position, 3u);
  EXPECT_FALSE(bWF_SeekFile(handle, -20, 1, &position));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_NEGATIVE_SEEK);
  EXPECT_TRUE(bWF_SeekFile(handle, 0, 1, &position));
  EXPECT_EQ(position, 3u);  // a refused seek does not move

  EXPECT_TRUE(bWF_SetSize(handle, 4));
  EXPECT_EQ(dwWF_FicSize(handle), 4u);
  EXPECT_EQ(dwWF_FileSize(path.c_str()), 4u);
  EXPECT_TRUE(bWF_SeekFile(handle, 0, 1, &position));
  EXPECT_EQ(position, 4u);  // setting the size also moves to it
  EXPECT_TRUE(bWF_SetSize(handle, 6));
  EXPECT_EQ(ReadBytes(path), std::string("0123\0\0", 6));

  EXPECT_EQ(dwWF_FileSize(dir_.c_str()), 0xFFFFFFFFu);
  EXPECT_EQ(dwWF_FileSize(Path("missing").c_str()), 0xFFFFFFFFu);
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(bWF_IsFileExist(path.c_str()));
  EXPECT_FALSE(bWF_IsFileExist(dir_.c_str()));
}

TEST_F(PelcorOpen, TheLastErrorIsClearedBySuccess) {
  uint16_t handle = 0;
  char buffer[4096];
  auto fail = [&] {
    EXPECT_FALSE(bWF_OpenFile(Path("missing").c_str(), PELCOR_READ, &handle));
    EXPECT_NE(lWF_GetLastError(), 0);
  };
  fail();
  EXPECT_EQ(cWF_GetDrive(), 'C');
  EXPECT_EQ(lWF_GetLastError(), 0);
  fail();
  EXPECT_TRUE(bWF_GetCurDir(0, buffer, sizeof buffer));
  EXPECT_EQ(lWF_GetLastError(), 0);
  fail();
  EXPECT_EQ(bWF_ShareCompat(0), 0);
  EXPECT_EQ(lWF_GetLastError(), 0);
  fail();
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_FILE_NOT_FOUND);  // reading it changes nothing
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_FILE_NOT_FOUND);
  handle = Open(Path("made"), kReadWrite);
  EXPECT_EQ(lWF_GetLastError(), 0);
}

}  // namespace
