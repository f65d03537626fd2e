// Platform layer: path texts from either system, atomic replacement and the read-only bit.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "core/platform/files.h"
#include "core/platform/paths.h"

namespace {

using namespace ombrix::platform;

std::string TempDir() {
  std::string pattern = std::string(OMBRIX_TEST_OUTPUT_DIR) + "/platform.XXXXXX";
  return mkdtemp(pattern.data());
}

TEST(Paths, FileNamePartsAcceptBothSeparators) {
  EXPECT_STREQ(FileNamePart("C:\\Ombrix\\Plugins\\ZvPal.Omp"), "ZvPal.Omp");
  EXPECT_STREQ(FileNamePart("/opt/ombrix/Plugins/ZvPic.Omp"), "ZvPic.Omp");
  EXPECT_STREQ(FileNamePart("mixed/dir\\File.Oms"), "File.Oms");
  EXPECT_STREQ(FileNamePart("plain"), "plain");
  EXPECT_STREQ(FileNamePart("dir/"), "");
  EXPECT_EQ(DirectoryPart("/a/b/c.txt"), "/a/b");
  EXPECT_EQ(DirectoryPart("/c.txt"), "/");
  EXPECT_EQ(DirectoryPart("c.txt"), "");
  EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
  EXPECT_EQ(JoinPath("", "b"), "b");
  EXPECT_TRUE(IsAbsolutePath("/x"));
  EXPECT_TRUE(IsAbsolutePath("C:\\x"));
  EXPECT_FALSE(IsAbsolutePath("Images/Back.Bmp"));
  EXPECT_FALSE(IsAbsolutePath(""));
  EXPECT_FALSE(ExecutableDirectory().empty());
}

TEST(Files, AtomicReplaceKeepsNoTemporaryAndReplacesReadOnly) {
  const std::string dir = TempDir();
  const std::string path = dir + "/script.Oms";
  ASSERT_TRUE(ReplaceFileAtomically(path.c_str(), "first"));
  ASSERT_TRUE(SetReadOnly(path.c_str(), true));
  EXPECT_TRUE(IsReadOnly(path.c_str()));
  ASSERT_TRUE(ReplaceFileAtomically(path.c_str(), "second"));
  EXPECT_EQ(ReadWholeFile(path.c_str()).value_or(""), "second");
  EXPECT_FALSE(IsReadOnly(path.c_str()));
  // Only the file itself is left behind.
  EXPECT_TRUE(RemoveFile(path.c_str()));
  EXPECT_EQ(rmdir(dir.c_str()), 0);
  EXPECT_FALSE(ReplaceFileAtomically((dir + "/missing/x").c_str(), "data"));
  EXPECT_FALSE(ReadWholeFile((dir + "/missing").c_str()).has_value());
}

TEST(Files, MakeDirectoriesMakesEveryLevel) {
  const std::string dir = TempDir();
  const std::string deep = dir + "/a/b/c";
  EXPECT_TRUE(MakeDirectories(deep.c_str()));
  EXPECT_TRUE(MakeDirectories(deep.c_str()));
  EXPECT_TRUE(FileExists(deep.c_str()));
}

}  // namespace
