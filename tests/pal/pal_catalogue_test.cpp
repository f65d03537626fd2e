// The palette module's catalogue as a host reads it: sixteen filters in registration order with
// every parameter and option slot, and the module's identification.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/platform/dynamic_library.h"
#include "core/plugin/plugin_host.h"
#include "tests/pal/pal_test_support.h"
#include "tests/support/catalogue_check.h"

namespace pal_test {
namespace {

using Param = ombrix::testing::ExpectedParameter;
using Option = ombrix::testing::ExpectedOption;
struct Row {
  const char* name;
  int topic;
  std::vector<Param> params;
  std::vector<Option> options;
};

const std::vector<Row>& ExpectedCatalogue() {
  static const std::vector<Row> rows = {
      {"Swap RGB",
       15,
       {},
       {{1, "Swap Red with Green", 1}, {2, "Swap Red with Blue ", 0}, {3, "Swap Green with Blue", 0}}},
      {"RGB Calculations",
       13,
       {{1, "Red Value", "0", "0.0", 10}, {2, "Green Value", "0", "0.0", 10}, {3, "Blue Value", "0", "0.0", 10}},
       {{2, "Add", 1}, {3, "Multiply", 0}}},
      {"Shift RGB", 14, {{2, "Shift Value", "1", "0", 0}}, {}},
      {"Move Plane",
       8,
       {{2, "X Offset", "2", "0", 5}, {3, "Y Offset", "2", "0", 6}},
       {{1, "Move Red", 1}, {2, "Move Green", 0}, {3, "Move Blue", 0}}},
      {"Black && White",
       1,
       {{1,
         "Color n\xB0"
         "1",
         "0 0 0", "0 0 0", 1},
        {2,
         "Color n\xB0"
         "2",
         "255 255 255", "0 0 0", 1},
        {4, "Middle", "128", "0", 14}},
       {}},
      {"Gray Scale",
       6,
       {{5, "Entry Color", "0 0 0", "0 0 0", 1}, {6, "Exit Color", "255 255 255", "0 0 0", 1}},
       {{1, "Based on RGB", 1}, {2, "Based on Red", 0}, {3, "Based on Green", 0}, {4, "Based on Blue", 0}}},
      {"Brightness", 2, {{2, "Factor", "1.4", "0.0", 15}}, {}},
      {"Gamma Correction",
       5,
       {{1, "Red increment", "10 %", "0 %", 9},
        {2, "Green increment", "10 %", "0 %", 9},
        {3, "Blue increment", "10 %", "0 %", 9}},
       {}},
      {"Overexposure", 11, {{2, "Intensity", "2", "0.0", 15}}, {}},
      {"Contrast", 3, {{2, "Coefficient", "2", "0.0", 10}}, {}},
      {"Antique",
       0,
       {{2, "Index", "1.4", "0.0", 10}},
       {{6, "Based on Red", 0}, {7, "Based on Green", 1}, {8, "Based on Blue", 0}}},
      {"Fade", 4, {{2, "Color", "0 0 0", "0 0 0", 1}}, {{2, "In", 1}, {3, "Out", 0}}},
      {"Replace Color",
       12,
       {{1, "Color to Replace", "0 0 0", "0 0 0", 1},
        {3, "New Color", "0 0 0", "0 0 0", 1},
        {5, "Red Threshold", "0", "0", 14},
        {6, "Green Threshold", "0", "0", 14},
        {7, "Blue threshold", "0", "0", 14}},
       {{6, "Replace with solid color", 1}, {7, "Keep color intensity", 0}}},
      {"Kill Colors",
       7,
       {{2, "Kill Value", "0", "0", 14}},
       {{1, "Kill Red", 1}, {2, "Kill Green", 0}, {3, "Kill Blue", 0}}},
      {"Negative",
       10,
       {{1, "Red Negative", "255", "0", 14},
        {2, "Green Negative", "255", "0", 14},
        {3, "Blue Negative", "255", "0", 14}},
       {{1, "Check overflow", 1}, {2, "Circular overflow", 0}, {3, "Absolute overflow", 0}}},
      {"Negative Light", 9, {}, {}},
  };
  return rows;
}

TEST(PalCatalogue, SixteenFiltersInRegistrationOrderWithEverySlot) {
  ombrix::PluginTable table;
  ASSERT_EQ(ombrix::LoadPluginFile(table, Pal().Path().c_str()), 1);
  const auto& rows = ExpectedCatalogue();
  ombrix::testing::ExpectCatalogue(table, rows, "Zorvex Palette Filters", "ZvPal.Omp", "ZvOmPal.Hlp");
}

TEST(PalCatalogue, IdentifiesAsAFilterModule) {
  auto module = ombrix::platform::OpenLibrary(Pal().Path().c_str());
  ASSERT_NE(module, nullptr);
  EXPECT_TRUE(ombrix::CheckModuleKind(module, 1));
  EXPECT_FALSE(ombrix::CheckModuleKind(module, 2));
  EXPECT_STREQ(ombrix::GetModuleTitle(module), "Zorvex Palette Filters");
  auto entry = reinterpret_cast<PluginEntryFunction>(ombrix::platform::LibrarySymbol(module, "Zorvex_Plugin_Entry"));
  ASSERT_NE(entry, nullptr);
  const PluginInfo* info = nullptr;
  ASSERT_EQ(entry(2, 0, &info), 1);
  ASSERT_NE(info->extension, nullptr);
  EXPECT_STREQ(info->extension->name, "Ombrix Plug-ins Extension");
  EXPECT_EQ(info->version, 1.0);
  ombrix::platform::CloseLibrary(module);
}

}  // namespace
}  // namespace pal_test
