// Rules of the file-access library tested on their own: wildcard matching as the original
// platform's directory search does it, and the packed date and time words.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <string>

#include "fileaccess/file_times.h"
#include "fileaccess/wildcards.h"

namespace {

using ombrix::fileaccess::NamePattern;

struct Case {
  const char* pattern;
  const char* name;
  bool matches;
};

TEST(PelcorWildcards, DosRulesOfStarsQuestionMarksAndDots) {
  const Case cases[] = {
      {"*.*", "abc", true},
      {"*.*", "a.b.c", true},
      {"*", "a.b", true},
      {"*.txt", "a.txt", true},
      {"*.txt", "A.TXT", true},
      {"*.txt", "a.b.txt", true},
      {"*.txt", "a.txt.bak", false},
      {"*.txt", "atxt", false},
      {"*.txt", "a.txtx", false},
      {"*.", "abc", true},
      {"*.", "a.b", false},
      {"a.*", "a", true},
      {"a.*", "a.b.c", true},
      {"a.*", "ab", false},
      {"a??", "a", true},
      {"a??", "abc", true},
      {"a??", "abcd", false},
      {"a??", "a.b", false},
      {"a??.txt", "a.txt", true},
      {"a??.txt", "abc.txt", true},
      {"a??.txt", "abcd.txt", false},
      {"?", "a", true},
      {"?", "ab", false},
      {"?.", "a", true},
      {"x*y*z", "xaybz", true},
      {"x*y*z", "xaybza", false},
      {"[a]", "[A]", true},
      {"R\xC9SUM\xC9", "r\xE9sum\xE9", false},  // only ASCII letters fold
      {"a*b.c", "a.x.b.c", true},
      {"readme", "README", true},
      {"readme", "readme2", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NamePattern(c.pattern).Matches(c.name), c.matches) << c.pattern << " against " << c.name;
}

TEST(PelcorWildcards, ManyStarsStayFast) {
  const std::string name(255, 'a');
  EXPECT_FALSE(NamePattern("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b").Matches(name));
  EXPECT_TRUE(NamePattern("*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*").Matches(name));
}

TEST(PelcorTimeWords, PackingFollowsTheFileSystemsWords) {
  using namespace ombrix::fileaccess;
  EXPECT_EQ(PackDate(1980, 1, 1), 0x21);
  EXPECT_EQ(PackDate(2107, 12, 31), 0xFF9F);
  EXPECT_EQ(PackDate(2108, 1, 1), 0x21);  // only 16 bits are kept
  EXPECT_EQ(PackTime(23, 59, 59), 23 * 2048 + 59 * 32 + 29);
  ombrix::platform::CivilTime civil;
  ASSERT_TRUE(UnpackDateTime(PackDate(1996, 7, 14), PackTime(13, 45, 31), civil));
  EXPECT_EQ(civil.year, 1996);
  EXPECT_EQ(civil.month, 7);
  EXPECT_EQ(civil.day, 14);
  EXPECT_EQ(civil.hour, 13);
  EXPECT_EQ(civil.minute, 45);
  EXPECT_EQ(civil.second, 30);
  EXPECT_FALSE(UnpackDateTime(PackDate(1996, 0, 14), 0, civil));
  EXPECT_FALSE(UnpackDateTime(PackDate(1996, 2, 30), 0, civil));
  EXPECT_TRUE(UnpackDateTime(PackDate(1996, 2, 29), 0, civil));
  EXPECT_FALSE(UnpackDateTime(PackDate(1900 + 200, 2, 29), 0, civil));  // 2100 is no leap year
  EXPECT_FALSE(UnpackDateTime(PackDate(1996, 1, 1), PackTime(0, 0, 60), civil));
}

TEST(PelcorTimeWords, KeptPartsComeFromTheCurrentTime) {
  using namespace ombrix::fileaccess;
  setenv("TZ", "UTC", 1);
  tzset();
  const int64_t current = 981173107;  // 2001-02-03 04:05:07
  int64_t instant = 0;
  EXPECT_EQ(ModificationTimeFor(PelcorTime{-1, 5, 5, -1, 5, 5}, current, instant), TimeChange::kKeep);
  ASSERT_EQ(ModificationTimeFor(PelcorTime{-1, 0, 0, 0, 0, 0}, current, instant), TimeChange::kSet);
  EXPECT_EQ(instant, 981158400);  // midnight of that day
  ASSERT_EQ(ModificationTimeFor(PelcorTime{1980, 1, 1, -1, 0, 0}, current, instant), TimeChange::kSet);
  EXPECT_EQ(instant, 315532800 + 4 * 3600 + 5 * 60 + 6);  // the time of day, made even
  EXPECT_EQ(ModificationTimeFor(PelcorTime{2001, 1, 33, -1, 0, 0}, current, instant), TimeChange::kInvalid);
}

}  // namespace
