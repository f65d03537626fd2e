// Host side of the plug-in interface, against small test modules built beside the tests.
#include "core/plugin/plugin_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/picture/picture.h"
#include "core/plugin/last_error.h"

namespace {

using namespace ombrix;

std::string Module(const char* name) { return std::string(TEST_MODULE_DIR) + "/" + name + ".Omp"; }

TEST(PluginHost, LoadsCatalogueAsSlotCountedCopies) {
  PluginTable table;
  ASSERT_EQ(LoadPluginFile(table, Module("good_module").c_str()), 1) << LastErrorText();
  ASSERT_EQ(table.Count(), 2);
  const FilterDescriptor* d = table.At(0);
  EXPECT_STREQ(d->name, "First Filter");
  EXPECT_STREQ(d->title, "Test Good Module");
  EXPECT_STREQ(d->file_name, "good_module.Omp");
  EXPECT_EQ(d->parameter_count, 11);
  EXPECT_EQ(d->option_count, 11);
  EXPECT_STREQ(d->parameters[3].value, "1 2 3");
  EXPECT_STREQ(d->parameters[3].extra, "extra text");
  EXPECT_EQ(d->parameters[3].kind, kKindColour);
  EXPECT_STREQ(d->options[2].name, "Right");
  EXPECT_EQ(d->options[10].state, -1);
  EXPECT_EQ(d->alpha_init, 0.0f);
  EXPECT_EQ(table.ModuleAt(0), nullptr);
  EXPECT_EQ(table.At(1)->help_topic, 8);

  // A second load appends; the module was unloaded and loads again cleanly.
  ASSERT_EQ(LoadPluginFile(table, Module("good_module").c_str()), 1);
  EXPECT_EQ(table.Count(), 4);
}

TEST(PluginHost, RefusesForeignModulesWithExactMessages) {
  PluginTable table;
  const std::string blank = Module("trailing_blank_module");
  EXPECT_EQ(LoadPluginFile(table, blank.c_str()), 0);
  EXPECT_EQ(std::string(LastErrorText()),
            "This version of Ombrix cannot recognize\n this type of plug-in \"" + blank + "\".");
  EXPECT_STREQ(LastErrorCaption(), "Ombrix - Error");

  EXPECT_EQ(LoadPluginFile(table, Module("kind2_module").c_str()), 0);
  EXPECT_NE(std::strstr(LastErrorText(), "cannot recognize"), nullptr);

  EXPECT_EQ(LoadPluginFile(table, Module("no_filter_entry_module").c_str()), 0);
  EXPECT_STREQ(LastErrorText(), "Cannot find plug-in init procedure.");

  const std::string missing = Module("missing_module");
  EXPECT_EQ(LoadPluginFile(table, missing.c_str()), 0);
  EXPECT_EQ(std::string(LastErrorText()), "Error loading\n\"" + missing + "\".");

  // A readable file that is no shared object.
  const std::string text = std::string(OMBRIX_TEST_OUTPUT_DIR) + "/not_a_module.Omp";
  FILE* f = std::fopen(text.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs("not a module", f);
  std::fclose(f);
  EXPECT_EQ(LoadPluginFile(table, text.c_str()), 0);
  EXPECT_EQ(std::string(LastErrorText()), "Error loading\n\"" + text + "\".");
  EXPECT_EQ(table.Count(), 0);
}

TEST(PluginHost, CheckModuleKindAndTitle) {
  auto good = platform::OpenLibrary(Module("good_module").c_str());
  auto kind2 = platform::OpenLibrary(Module("kind2_module").c_str());
  auto blank = platform::OpenLibrary(Module("trailing_blank_module").c_str());
  ASSERT_NE(good, nullptr);
  ASSERT_NE(kind2, nullptr);
  ASSERT_NE(blank, nullptr);
  EXPECT_TRUE(CheckModuleKind(good, 1));
  EXPECT_FALSE(CheckModuleKind(good, 2));
  EXPECT_FALSE(CheckModuleKind(kind2, 1));
  EXPECT_TRUE(CheckModuleKind(kind2, 2));
  EXPECT_STREQ(GetModuleTitle(good), "Test Good Module");
  EXPECT_EQ(GetModuleTitle(blank), nullptr);
  EXPECT_FALSE(CheckModuleKind(blank, 1));
  EXPECT_FALSE(CheckModuleKind(nullptr, 1));
  platform::CloseLibrary(good);
  platform::CloseLibrary(kind2);
  platform::CloseLibrary(blank);
}

TEST(PluginHost, TableRefusesAt256BeforeOpeningTheFile) {
  PluginTable table;
  FilterDescriptor source{};
  ParameterRecord parameters[11]{};
  OptionRecord options[11]{};
  XAlphaRecord xalpha{};
  source.parameters = parameters;
  source.options = options;
  source.xalpha = &xalpha;
  source.parameter_count = 10;
  source.option_count = 10;
  for (int i = 0; i < 256; ++i) ASSERT_EQ(AppendDescriptor(table, &source, "C:\\Plugins\\X.Omp"), i + 1);
  EXPECT_STREQ(table.At(255)->file_name, "X.Omp");
  EXPECT_EQ(LoadPluginFile(table, "/no/such/file.Omp"), 0);
  EXPECT_STREQ(LastErrorText(), "This program cannot support more than 255 plug-ins");

  // Counts outside 0..10 would read past a module's arrays.
  source.parameter_count = 11;
  EXPECT_EQ(AppendDescriptor(table, &source, "X.Omp"), 0);
}

TEST(PluginHost, FindDescriptorCopiesDeeplyWithMaskPicture) {
  PluginTable table;
  ASSERT_EQ(LoadPluginFile(table, Module("good_module").c_str()), 1);
  EXPECT_EQ(FindDescriptor(table, "first filter", "good_module.Omp"), nullptr);
  EXPECT_EQ(FindDescriptor(table, "First Filter", "GOOD_MODULE.Omp"), nullptr);
  FilterDescriptor* entry = FindDescriptor(table, "Second Filter", "good_module.Omp");
  ASSERT_NE(entry, nullptr);
  EXPECT_NE(entry->parameters, table.At(1)->parameters);
  EXPECT_EQ(entry->parameter_count, 11);

  Picture mask;
  ASSERT_TRUE(mask.Create(4, 4));
  entry->xalpha->picture = &mask;
  FilterDescriptor copy{};
  ASSERT_EQ(CopyDescriptor(&copy, entry, true), 1);
  ASSERT_NE(copy.xalpha->picture, nullptr);
  EXPECT_NE(copy.xalpha->picture, &mask);
  EXPECT_EQ(copy.xalpha->picture->Width(), 4);
  FilterDescriptor shared{};
  ASSERT_EQ(CopyDescriptor(&shared, entry, false), 1);
  EXPECT_EQ(shared.xalpha->picture, &mask);
  FreeDescriptorRecords(&copy, true);
  FreeDescriptorRecords(&shared, false);
  entry->xalpha->picture = nullptr;
  FreeDescriptor(entry, true);
}

}  // namespace
