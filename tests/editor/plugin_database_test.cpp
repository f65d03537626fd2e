// The plug-in database: loading the stored list with the loader's messages, registering files
// (replacing by file name, refusing what is no filter plug-in), "Add plug-in..." and the filter
// menu's groups, order and columns.
#include "editor/model/plugin_database.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/platform/files.h"
#include "core/platform/registry.h"
#include "core/settings/settings.h"
#include "editor/model/filter_menu.h"
#include "tests/editor/editor_test_support.h"

namespace {

using namespace ombrix;
using namespace ombrix::editor;
namespace fs = std::filesystem;

class PluginDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    test::UsePrivateStores(name_);
  }
  // A copy of a test module in a folder of this test's own.
  std::string CopyOf(const char* module, const std::string& folder) {
    const std::string directory = test::FreshDirectory(name_ + "/" + folder);
    const std::string path = directory + "/" + module;
    fs::copy_file(test::TestModule(module), path);
    return path;
  }
  std::string StoreFile() const {
    return platform::ReadWholeFile(platform::RegistryFilePath(platform::RegistryRoot::kCurrentUser).c_str())
        .value_or("");
  }
  std::string name_;
};

TEST_F(PluginDatabase, LoadingShowsEachRefusalAndKeepsTheRest) {
  WriteSettingNumber(kPluginsSection, "N_Plug", 3);
  WriteSettingText(kPluginsSection, "Plug-in_0", "/no/such/Missing.Omp");
  WriteSettingText(kPluginsSection, "Plug-in_1", test::TestModule("kind2_module.Omp").c_str());
  WriteSettingText(kPluginsSection, "Plug-in_2", test::TestModule("good_module.Omp").c_str());
  std::vector<std::pair<std::string, std::string>> shown;
  PluginTable table;
  EXPECT_TRUE(
      LoadPluginDatabase(table, [&](const char* text, const char* caption) { shown.emplace_back(text, caption); }));
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].first, "Error loading\n\"/no/such/Missing.Omp\".");
  EXPECT_EQ(shown[1].first, "This version of Ombrix cannot recognize\n this type of plug-in \"" +
                                test::TestModule("kind2_module.Omp") + "\".");
  for (const auto& s : shown) EXPECT_EQ(s.second, "Ombrix - Error");
  ASSERT_EQ(table.Count(), 2);
  EXPECT_STREQ(table.At(0)->name, "First Filter");
  EXPECT_STREQ(table.At(1)->file_name, "good_module.Omp");
}

TEST_F(PluginDatabase, NoListedPlugInEndsTheLoadWithoutAMessage) {
  int shown = 0;
  PluginTable table;
  EXPECT_FALSE(LoadPluginDatabase(table, [&](const char*, const char*) { ++shown; }));
  WriteSettingNumber(kPluginsSection, "N_Plug", 0);
  WriteSettingText(kPluginsSection, "Plug-in_0", test::TestModule("good_module.Omp").c_str());
  EXPECT_FALSE(LoadPluginDatabase(table, [&](const char*, const char*) { ++shown; }));
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(table.Count(), 0);
}

TEST_F(PluginDatabase, AFileOfAKnownNameReplacesTheOldPath) {
  const std::string first = CopyOf("good_module.Omp", "first");
  const std::string second = CopyOf("good_module.Omp", "second");
  std::string error;
  WriteSettingNumber(kPluginsSection, "N_Plug", 1);
  WriteSettingText(kPluginsSection, "Plug-in_0", test::TestModule("no_filter_entry_module.Omp").c_str());

  ASSERT_TRUE(RegisterPluginFile(first, &error)) << error;
  EXPECT_EQ(ReadSettingNumber(kPluginsSection, "N_Plug", 0), 2);
  EXPECT_EQ(ReadSetting(kPluginsSection, "Plug-in_1"), first);
  EXPECT_EQ(ReadSetting(kReferencesSection, "good_module.Omp"), first);

  // The list holds the old path in other letter case: it is still the entry that is replaced.
  std::string upper = first;
  for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
  WriteSettingText(kPluginsSection, "Plug-in_1", upper.c_str());
  WriteSettingText(kReferencesSection, "good_module.Omp", first.c_str());
  ASSERT_TRUE(RegisterPluginFile(second, &error)) << error;
  EXPECT_EQ(ReadSettingNumber(kPluginsSection, "N_Plug", 0), 2);
  EXPECT_EQ(ReadSetting(kPluginsSection, "Plug-in_0"), test::TestModule("no_filter_entry_module.Omp"));
  EXPECT_EQ(ReadSetting(kPluginsSection, "Plug-in_1"), second);
  EXPECT_EQ(ReadSetting(kReferencesSection, "good_module.Omp"), second);
}

TEST_F(PluginDatabase, WhatIsNoPlugInIsRefusedByNameAndNothingButTheFolderIsWritten) {
  const std::string text_file = test::FreshDirectory(name_ + "/files") + "/notes.Omp";
  test::WriteFile(text_file, "not a module\n");
  const std::string kind2 = CopyOf("kind2_module.Omp", "kind2");
  WriteSettingNumber(kPluginsSection, "N_Plug", 0);
  const std::string before = StoreFile();

  std::string error;
  EXPECT_FALSE(RegisterPluginFile(text_file, &error));
  EXPECT_EQ(error, "Cannot find file\n\"" + text_file + "\".");
  EXPECT_FALSE(RegisterPluginFile(kind2, &error));
  EXPECT_EQ(error, "File \"" + kind2 + "\".cannot be recognize and use\nby this version of Ombrix");
  EXPECT_EQ(StoreFile(), before);

  const Notice refused = AddPluginFromFile(kind2);
  EXPECT_EQ(refused.text, error);
  EXPECT_EQ(refused.caption, "Ombrix - Error");
  EXPECT_EQ(ReadSetting(nullptr, "PluginOpenDir"), fs::path(kind2).parent_path().string());
  EXPECT_EQ(ReadSettingNumber(kPluginsSection, "N_Plug", -1), 0);
  EXPECT_EQ(ReadSetting(kReferencesSection, "kind2_module.Omp"), "");
}

TEST_F(PluginDatabase, AddPlugInTellsWhatHappened) {
  const Notice none = AddPluginFromFile(std::nullopt);
  EXPECT_EQ(none.text, "No plug-in added.");
  EXPECT_EQ(none.caption, "Ombrix - Message");
  EXPECT_EQ(ReadSetting(nullptr, "PluginOpenDir", "unset"), "unset");

  const std::string good = CopyOf("good_module.Omp", "good");
  const Notice added = AddPluginFromFile(good);
  EXPECT_EQ(added.text, "Plug-in has bean added to the database\nAnd will be available at next Ombrix run.");
  EXPECT_EQ(added.caption, "Ombrix - Message");
  EXPECT_EQ(ReadSetting(kPluginsSection, "Plug-in_0"), good);
  EXPECT_EQ(ReadSetting(nullptr, "PluginOpenDir"), fs::path(good).parent_path().string());
}

// ---- Filter menu ---------------------------------------------------------------------------

void AddFilter(PluginTable& table, const std::string& title, const std::string& name) {
  auto* d = new FilterDescriptor();
  std::snprintf(d->title, sizeof d->title, "%s", title.c_str());
  std::snprintf(d->name, sizeof d->name, "%s", name.c_str());
  table.Append(d, nullptr);
}

std::vector<std::string> Names(const std::vector<FilterMenuItem>& items) {
  std::vector<std::string> names;
  names.reserve(items.size());
  for (const FilterMenuItem& item : items) names.push_back(item.name);
  return names;
}

TEST(FilterMenu, RunsOfOneTitleMakeOneSortedGroup) {
  PluginTable table;
  AddFilter(table, "Zorvex Tools", "zeta");
  AddFilter(table, "Zorvex Tools", "Beta");
  AddFilter(table, "ZORVEX TOOLS", "alpha");  // a second plug-in of the same title, next in the list
  AddFilter(table, "Zorvex Tools", "\xC9toile");
  AddFilter(table, "Other", "one");
  AddFilter(table, "Zorvex Tools", "again");  // the title comes back after another one
  const std::vector<FilterMenuGroup> groups = BuildFilterMenu(table);
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0].title, "Zorvex Tools");
  ASSERT_EQ(groups[0].columns.size(), 1u);
  // Byte order: capitals before small letters, bytes above 0x7F last.
  EXPECT_EQ(Names(groups[0].columns[0]), (std::vector<std::string>{"Beta", "alpha", "zeta", "\xC9toile"}));
  EXPECT_EQ(groups[0].columns[0][0].command, 2);  // table index 1, plus 1
  EXPECT_EQ(groups[1].title, "Other");
  EXPECT_EQ(groups[2].title, "Zorvex Tools");
  EXPECT_EQ(groups[2].columns[0][0].command, 6);
}

TEST(FilterMenu, FortyFiveFiltersMakeColumnsOfNineteenNineteenAndSeven) {
  PluginTable table;
  for (int i = 44; i >= 0; --i)
    AddFilter(table, "Many", "Filter " + std::string(i < 10 ? "0" : "") + std::to_string(i));
  const std::vector<FilterMenuGroup> groups = BuildFilterMenu(table);
  ASSERT_EQ(groups.size(), 1u);
  const FilterMenuGroup& group = groups[0];
  ASSERT_EQ(group.columns.size(), 3u);
  EXPECT_EQ(group.columns[0].size(), 19u);
  EXPECT_EQ(group.columns[1].size(), 19u);
  EXPECT_EQ(group.columns[2].size(), 7u);
  EXPECT_EQ(group.columns[1].front().name, "Filter 19");  // the 20th item opens the second column
  EXPECT_EQ(group.columns[2].back().name, "Filter 44");
  EXPECT_EQ(group.columns[2].back().command, 1);  // listed first in the table
  EXPECT_EQ(FilterMenuColumnTitle(group, 0), "Many");
  EXPECT_EQ(FilterMenuColumnTitle(group, 1), "Many (2)");
  EXPECT_EQ(FilterMenuColumnTitle(group, 2), "Many (3)");
}

}  // namespace
