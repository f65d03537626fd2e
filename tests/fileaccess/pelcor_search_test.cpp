// Searches of the file-access library: attribute filters, the "." rule, wildcards on real
// folders, the found records, the end and the closing of a search, and the volume label.
#include <sys/stat.h>

#include <cstring>
#include <set>

#include "tests/fileaccess/pelcor_test_support.h"

namespace {

using pelcor_test::PelcorFolder;
using pelcor_test::TakesExtendedAttributes;

class PelcorSearch : public PelcorFolder {
 protected:
  void SetUp() override {
    PelcorFolder::SetUp();
    MakeDir("tree");
    MakeDir("tree/sub1");
    MakeDir("tree/Sub2");
    MakeDir("tree/.cache");
    MakeFile("tree/notes.txt", "12345");
    MakeFile("tree/Read.Me");
    MakeFile("tree/.profile");
    MakeFile("tree/kernel.sys");
    tagged_ = TakesExtendedAttributes(dir_);
    ASSERT_TRUE(bWF_SetAttrib(Path("tree/kernel.sys").c_str(), PELCOR_ATTR_SYSTEM));
  }

  // Every name a search yields, and whether it ended as a search should.
  std::set<std::string> Found(const std::string& pattern, uint16_t filter) {
    std::set<std::string> names;
    PelcorFind find{};
    if (!bWF_FindFirst(Path(pattern).c_str(), &find, filter)) {
      EXPECT_EQ(find.search, nullptr);
      return names;
    }
    do {
      EXPECT_TRUE(names.insert(find.name).second) << find.name;
      EXPECT_EQ(find.filter, filter);
    } while (bWF_FindNext(&find));
    EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_NO_MORE_FILES);
    WF_FindClose(&find);
    return names;
  }

  bool tagged_ = false;
};

using Names = std::set<std::string>;

TEST_F(PelcorSearch, FiltersChooseDirectoriesOrFilesByTheirAttributes) {
  EXPECT_EQ(Found("tree/*", 0x10), (Names{"sub1", "Sub2"}));
  EXPECT_EQ(Found("tree/*", 0x17), (Names{"sub1", "Sub2"}));
  // Filter 0 skips hidden and system files (names with a leading dot never match at all).
  const Names plain{"notes.txt", "Read.Me"};
  Names with_system = plain;
  with_system.insert("kernel.sys");
  EXPECT_EQ(Found("tree/*", 0), tagged_ ? plain : with_system);
  EXPECT_EQ(Found("tree/*", 1), tagged_ ? plain : with_system);
  EXPECT_EQ(Found("tree/*", 2), tagged_ ? plain : with_system);
  EXPECT_EQ(Found("tree/*", 4), with_system);
  EXPECT_EQ(Found("tree/*.*", 6), with_system);
}

TEST_F(PelcorSearch, PatternsMatchWithoutRegardToCase) {
  EXPECT_EQ(Found("tree/*.TXT", 6), Names{"notes.txt"});
  EXPECT_EQ(Found("tree/read.me", 6), Names{"Read.Me"});
  EXPECT_EQ(Found("tree/SUB?", 0x10), (Names{"sub1", "Sub2"}));
  EXPECT_EQ(Found("tree/*.", 0x10), (Names{"sub1", "Sub2"}));
  EXPECT_EQ(Found("tree/????.*", 6), (Names{"Read.Me"}));
  PelcorFind find{};
  EXPECT_FALSE(bWF_FindFirst(Path("tree/*.png").c_str(), &find, 6));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(bWF_FindFirst(Path("none/*").c_str(), &find, 6));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(bWF_FindFirst(Path("tree/").c_str(), &find, 6));
}

TEST_F(PelcorSearch, RecordsDescribeTheEntryAndSearchesCloseSafely) {
  ASSERT_TRUE(bWF_SetCurDir(Path("tree").c_str()));
  PelcorFind find{};
  ASSERT_TRUE(bWF_FindFirst("notes.*", &find, 0));
  EXPECT_STREQ(find.name, "notes.txt");
  EXPECT_STREQ(find.short_name, "notes.txt");
  EXPECT_EQ(find.size, 5u);
  EXPECT_EQ(find.attributes, 0);
  EXPECT_FALSE(bWF_IsDirectory(&find));
  PelcorTime written{};
  ASSERT_TRUE(bWF_FFGetTime("notes.txt", &written));
  EXPECT_EQ(std::memcmp(&find.time, &written, sizeof written), 0);
  EXPECT_FALSE(bWF_FindNext(&find));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_NO_MORE_FILES);
  WF_FindClose(&find);
  EXPECT_EQ(find.search, nullptr);
  WF_FindClose(&find);
  EXPECT_FALSE(bWF_FindNext(&find));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_INVALID_HANDLE);

  // A copied record of a closed search, or a made-up one, is refused, not followed.
  ASSERT_TRUE(bWF_FindFirst("*", &find, 0x10));
  EXPECT_TRUE(bWF_IsDirectory(&find));
  PelcorFind copy = find;
  WF_FindClose(&find);
  EXPECT_FALSE(bWF_FindNext(&copy));
  copy.search = reinterpret_cast<void*>(uintptr_t(0xDEADBEEF));
  EXPECT_FALSE(bWF_FindNext(&copy));
  WF_FindClose(&copy);

  // Names too long for the short field leave it empty.
  const std::string long_name = "a-name-longer-than-thirteen.txt";
  MakeFile("tree/" + long_name);
  ASSERT_TRUE(bWF_FindFirst(long_name.c_str(), &find, 0));
  EXPECT_STREQ(find.name, long_name.c_str());
  EXPECT_STREQ(find.short_name, "");
  WF_FindClose(&find);
}

TEST_F(PelcorSearch, TheLabelSearchNamesTheRootVolumeOnly) {
  for (const char* pattern : {"*.*", "C:\\*.*", "c:"}) {
    PelcorFind find{};
    ASSERT_TRUE(bWF_FindFirst(pattern, &find, 8)) << pattern;
    EXPECT_EQ(find.attributes, PELCOR_ATTR_LABEL);
    EXPECT_EQ(find.filter, 8);
    EXPECT_FALSE(bWF_FindNext(&find));
    EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_NO_MORE_FILES);
    WF_FindClose(&find);
  }
  PelcorFind find{};
  EXPECT_FALSE(bWF_FindFirst("D:\\*.*", &find, 9));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_NOT_READY);
  EXPECT_FALSE(bWF_FindFirst("#:", &find, 9));
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_INVALID_DRIVE);
}

}  // namespace
