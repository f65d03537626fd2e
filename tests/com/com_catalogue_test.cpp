// The composition module's catalogue as a host reads it: four filters in registration order with
// every parameter and option slot, both help file spellings and the module's title.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/plugin/plugin_host.h"
#include "tests/com/com_test_support.h"
#include "tests/support/catalogue_check.h"

namespace com_test {
namespace {

using Param = ombrix::testing::ExpectedParameter;
using Option = ombrix::testing::ExpectedOption;
struct Row {
  const char* name;
  const char* help_file;
  int topic;
  std::vector<Param> params;
  std::vector<Option> options;
};

const std::vector<Row>& ExpectedCatalogue() {
  static const std::vector<Row> rows = {
      {"Compose",
       "ZvOmCom.hlp",
       2,
       {{1, "Picture Name", "(none)", "", 4},
        {2, "X Offset", "0", "0", 5},
        {3, "Y Offset", "0", "0", 6},
        {4, "Transparency", "0 %", "0 %", 11},
        {5, "Neutral Color", "0 0 255", "0 0 0", 1},
        {6, "Threshold", "0", "0", 14}},
       {{2, "Use transparency color", 1, 2},
        {3, "Solid Bloc", 0, 2},
        {4, "Use Alpha Layer", 1, 3},
        {6, "Negative", 0, 5},
        {8, "Normal", 1, 4},
        {9, "Stretch", 0, 4},
        {10, "Repeat", 0, 4}}},
      {"Displace Map",
       "ZvOmCom.Hlp",
       3,
       {{1, "Picture Name", "(none)", "", 4},
        {3, "X Offset", "0", "0", 5},
        {4, "Y Offset", "0", "0", 6},
        {5, "X Coef.", "-1", "0", 10},
        {6, "Y Coef.", "-1", "0", 10},
        {8, "Stretch Coef", "0.2", "0.0", 10}},
       {{6, "Negative", 0, 1}, {8, "Normal", 1, 2}, {9, "Stretch", 0, 2}, {10, "Repeat", 0, 2}}},
      {"Combinate ",
       "ZvOmCom.Hlp",
       1,
       {{1, "Picture Name", "(none)", "", 4}, {2, "X Offset", "0", "0", 5}, {3, "Y Offset", "0", "0", 6}},
       {{1, "And", 1, 1},
        {2, "Or", 0, 1},
        {3, "XOr", 0, 1},
        {4, "Add", 0, 1},
        {5, "Sub", 0, 1},
        {6, "Difference", 0, 1},
        {7, "Negative", 0, 3},
        {8, "Normal", 1, 4},
        {9, "Stretch", 0, 4},
        {10, "Repeat", 0, 4}}},
      {"Rub",
       "ZvOmCom.hlp",
       4,
       {{1, "Picture Name", "(none)", "", 4}, {2, "X Offset", "0", "0", 5}, {3, "Y Offset", "0", "0", 6}},
       {{1, "Tint", 1, 1},
        {2, "Colorize", 0, 1},
        {3, "Minimum", 0, 1},
        {4, "Maximum", 0, 1},
        {6, "Negative", 0, 3},
        {8, "Normal", 1, 4},
        {9, "Stretch", 0, 4},
        {10, "Repeat", 0, 4}}},
  };
  return rows;
}

TEST(ComCatalogue, FourFiltersInRegistrationOrderWithEverySlot) {
  ombrix::PluginTable table;
  ASSERT_EQ(ombrix::LoadPluginFile(table, Com().Path().c_str()), 1);
  const auto& rows = ExpectedCatalogue();
  ombrix::testing::ExpectCatalogue(table, rows, "Zorvex Picture Composition", "ZvCom.Omp");
}

}  // namespace
}  // namespace com_test
