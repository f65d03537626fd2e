// The option set's defaults and stored forms, the "Reset" state, the content-directory label,
// the dialog folders and the derived paths with their temporary folder.
#include "editor/model/options.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "core/settings/settings.h"
#include "core/settings/temporary_folder.h"
#include "editor/model/content_label.h"
#include "editor/model/derived_paths.h"
#include "editor/model/dialog_folders.h"
#include "tests/editor/editor_test_support.h"

namespace {

using namespace ombrix;
using namespace ombrix::editor;

class Options : public ::testing::Test {
 protected:
  void SetUp() override { test::UsePrivateStores(::testing::UnitTest::GetInstance()->current_test_info()->name()); }
};

TEST_F(Options, AnEmptyStoreGivesEveryDefault) {
  const OptionSet o = ReadOptionSet();
  EXPECT_FALSE(o.compute_extra);
  EXPECT_TRUE(o.ask_delete);
  EXPECT_FALSE(o.start_last);
  EXPECT_TRUE(o.show_xalpha_pictures);
  EXPECT_TRUE(o.keep_xalpha_pictures);
  EXPECT_TRUE(o.show_progress);
  EXPECT_TRUE(o.ask_exit);
  EXPECT_TRUE(o.show_picture);
  EXPECT_EQ(o.content_directory, "");
  EXPECT_EQ(o.test_picture, "");
  EXPECT_EQ(o.based_width, 640);
  EXPECT_EQ(o.based_height, 480);
}

TEST_F(Options, StoredFormsAreReadAsTheStoreHoldsThem) {
  // A flag is on only for the number 1; a text that is no number gives the default.
  const struct {
    const char* stored;
    bool default_value;
    bool expected;
  } flags[] = {{"1", false, true},  {"0", true, false},    {"2", true, false}, {"-1", true, false},
               {"abc", true, true}, {"abc", false, false}, {"", true, true},   {"1 ", false, true}};
  for (const auto& f : flags) {
    WriteSettingText(kOptionsSection, "AskExit", f.stored);
    EXPECT_EQ(ReadFlag("AskExit", f.default_value), f.expected) << '"' << f.stored << '"';
  }
  // The based size: a non-decimal text gives the default, a leading number counts, and a size
  // below 1 reads as 1 so no script gets a based size of 0.
  const struct {
    const char* stored;
    int expected;
  } sizes[] = {{"abc", 640}, {"12abc", 12}, {"0", 1}, {"-5", 1}, {"800", 800}};
  for (const auto& s : sizes) {
    WriteSettingText(kOptionsSection, "B-Width", s.stored);
    EXPECT_EQ(ReadOptionSet().based_width, s.expected) << s.stored;
  }
  WriteSettingText(kOptionsSection, "ContentDirectory", std::string(300, 'd').c_str());
  EXPECT_EQ(ReadOptionSet().content_directory.size(), kMaxContentDirectory);
}

TEST_F(Options, SavingWritesExactlyTheStoredForms) {
  OptionSet o;
  o.compute_extra = true;
  o.ask_delete = false;
  o.start_last = true;
  o.content_directory = "/data/fx/";
  o.test_picture = "/data/fx/back.tga";
  o.based_width = 0;
  o.based_height = -3;
  SaveOptionSet(o);
  EXPECT_EQ(ReadSetting(nullptr, "Version"), "X 1.0e");
  EXPECT_EQ(ReadSetting(nullptr, "Copyright"), kCopyrightValue);
  const char* expected[][2] = {{"ComputeExtra", "1"},
                               {"AskDel", "0"},
                               {"StartLast", "1"},
                               {"ShowXPic", "1"},
                               {"KeepXPic", "1"},
                               {"ShowProgress", "1"},
                               {"AskExit", "1"},
                               {"ShowPic", "1"},
                               {"ContentDirectory", "/data/fx/"},
                               {"TestPicture", "/data/fx/back.tga"},
                               {"B-Width", "1"},
                               {"B-Height", "1"}};
  for (const auto& [name, text] : expected) EXPECT_EQ(ReadSetting(kOptionsSection, name), text) << name;
  // What was saved reads back as it was set (with the sizes clamped).
  const OptionSet back = ReadOptionSet();
  EXPECT_TRUE(back.compute_extra && !back.ask_delete && back.start_last);
  EXPECT_EQ(back.based_width, 1);
}

TEST_F(Options, ResetSetsItsFlagsAndSizeAndKeepsTheRest) {
  OptionSet shown;
  for (const FlagRow& row : FlagRows()) shown.*row.member = !(OptionSet().*row.member);
  shown.content_directory = "/kept/";
  shown.based_width = 20;
  shown.based_height = 30;
  const OptionSet reset = ResetOptions(shown);
  EXPECT_EQ(reset.compute_extra, shown.compute_extra);  // keeps its shown state
  EXPECT_TRUE(reset.ask_delete);
  EXPECT_FALSE(reset.start_last);
  EXPECT_TRUE(reset.show_progress);
  EXPECT_TRUE(reset.ask_exit);
  EXPECT_FALSE(reset.keep_xalpha_pictures);  // off after Reset, though it reads as on by default
  EXPECT_TRUE(reset.show_xalpha_pictures);
  EXPECT_TRUE(reset.show_picture);
  EXPECT_EQ(reset.based_width, 640);
  EXPECT_EQ(reset.based_height, 480);
  EXPECT_EQ(reset.content_directory, "/kept/");
}

TEST(ContentLabel, ShortDirectoriesShowWholeLongOnesTheirLastFolder) {
  EXPECT_EQ(ContentDirectoryLabel(""), "(none)");
  EXPECT_EQ(ContentDirectoryLabel("/home/artist/fx/ab/"), "/home/artist/fx/ab/");    // 19 characters
  EXPECT_EQ(ContentDirectoryLabel("/home/artist/fx/abc/"), "/home/artist/fx/abc/");  // exactly 20
  EXPECT_EQ(ContentDirectoryLabel("/home/artist/fx/abcd/"), "/.../abcd/");           // 21
  EXPECT_EQ(ContentDirectoryLabel("/home/artist/projects/textures/"), "/.../textures/");
  EXPECT_EQ(ContentDirectoryLabel("/home/artist/projects/textures"), "/.../textures/");
  EXPECT_EQ(ContentDirectoryLabel("C:\\Program Files\\Zorvex\\Textures\\"), "C:\\...\\Textures");
  EXPECT_EQ(ContentDirectoryLabel("work/artist/projects/textures/"), ".../textures/");
}

TEST_F(Options, DialogFoldersDefaultToTheContentDirectoryAndRememberTheChoice) {
  EXPECT_EQ(DialogFolder("ScriptOpenDir", "/content/"), "/content/");
  EXPECT_EQ(DialogStartPath("ScriptOpenDir", "/content/", "fx.Oms"), "/content/fx.Oms");
  EXPECT_EQ(DialogStartPath("ScriptOpenDir", "/content/", "/elsewhere/fx.Oms"), "/elsewhere/fx.Oms");
  EXPECT_EQ(DialogStartPath("ScriptOpenDir", "/content/", ""), "/content/");
  RememberDialogFolder("ScriptOpenDir", "/picked/folder/fx.Oms");
  EXPECT_EQ(ReadSetting(nullptr, "ScriptOpenDir"), "/picked/folder");
  EXPECT_EQ(DialogStartPath("ScriptOpenDir", "/content/", "fx.Oms"), "/picked/folder/fx.Oms");
}

TEST_F(Options, DerivedPathsAndTheTemporaryFolder) {
  const std::string install = test::FreshDirectory("DerivedPaths/install");
  const std::string temp = PrepareTemporaryFolder(install);
  EXPECT_EQ(temp, install + "/Programs/Temp");
  EXPECT_TRUE(std::filesystem::is_directory(temp));
  EXPECT_EQ(PrepareTemporaryFolder(install), temp);  // an existing folder is no error

  const DerivedPaths paths = BuildDerivedPaths(install, "Ombrix.Hlp", temp);
  EXPECT_EQ(paths.filter_module, install + "/Programs/ombrix-filter.p");
  EXPECT_EQ(paths.render_script, temp + "/Render.Oms");
  EXPECT_EQ(paths.last_script, temp + "/Last.Oms");
  EXPECT_EQ(paths.help_folder, install + "/Help");
  EXPECT_EQ(paths.main_help_file, install + "/Help/Ombrix.Hlp");

  // A missing installation gets no folder made inside it.
  const std::string cache = test::FreshDirectory("DerivedPaths/cache");
  setenv("XDG_CACHE_HOME", cache.c_str(), 1);
  const std::string missing = test::FreshDirectory("DerivedPaths/none") + "/missing";
  PrepareTemporaryFolder(missing);
  EXPECT_FALSE(std::filesystem::exists(missing));

  // An installation whose folder cannot be used (here a file stands where the folder belongs;
  // a read-only installation is refused the same way) gets a private folder of the user's own.
  const std::string locked = test::FreshDirectory("DerivedPaths/locked");
  std::filesystem::create_directories(locked + "/Programs");
  test::WriteFile(locked + "/Programs/Temp", "");
  const std::string per_user = PrepareTemporaryFolder(locked);
  unsetenv("XDG_CACHE_HOME");
  EXPECT_EQ(per_user, cache + "/zorvex/ombrix/Temp");
  struct stat st {};
  ASSERT_EQ(stat(per_user.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

}  // namespace
