// The picture module's catalogue as a host reads it: thirty-four filters in registration order
// with every parameter and option slot, and the module's identification.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/platform/dynamic_library.h"
#include "core/plugin/plugin_host.h"
#include "tests/pic/pic_test_support.h"
#include "tests/support/catalogue_check.h"

namespace pic_test {
namespace {

using Param = ombrix::testing::ExpectedParameter;
using Option = ombrix::testing::ExpectedOption;
struct Row {
  const char* name;
  int topic;
  std::vector<Param> params;
  std::vector<Option> options;
};

// clang-format off
const std::vector<Row>& ExpectedCatalogue() {
  static const std::vector<Row> rows = {
      {"Emboss", 8, {{1, "X Offset", "2", "0", 5}, {2, "Y Offset", "2", "0", 6}, {6, "Entry Color", "0 0 0", "0 0 0", 1}, {7, "Exit Color", "255 255 255", "0 0 0", 1}, {9, "Middle Gray", "128", "0", 14}, {10, "Threshold", "8", "0", 14}}, {{2, "Gray Scale", 1, 1}, {3, "Special", 0, 1}, {4, "Color", 0, 1}, {6, "Normal", 1, 2}, {7, "Gray", 0, 2}, {8, "Black", 0, 2}}},
      {"Mosaic", 18, {{2, "X Size", "2", "0", 5}, {3, "Y Size", "2", "0", 6}, {5, "X Offset", "0", "0", 5}, {6, "Y Offset", "0", "0", 6}}, {{6, "Based on middle pixel", 1, 1}, {7, "Based on custom pixel", 0, 1}, {8, "Based on box average", 0, 1}}},
      {"Vertical Flip", 31, {{3, "Y Step", "1", "0", 12}}, {}},
      {"Horizontal Flip", 11, {{2, "X Step", "1", "0", 12}, {3, "Y Step", "1", "0", 12}}, {}},
      {"Spherize", 28, {{1, "X Center", "320", "0", 5}, {2, "Y Center", "240", "0", 6}, {3, "Round factor", "1", "0.0", 10}, {4, "Radius", "240", "0", 5}, {5, "Clear Color", "0 0 0", "0 0 0", 1}, {6, "X Rotation", "0.0", "0.0", 10}, {7, "Y Rotation", "0.0", "0.0", 10}, {8, "Z Rotation", "0.0", "0.0", 10}, {9, "X Rep.", "1.0", "0.0", 15}, {10, "Y Rep.", "1.0", "0.0", 15}}, {{2, "Clear Background", 1, 1}, {3, "Keep Background", 0, 1}, {6, "X Axis", 0, 2}, {7, "Y Axis", 1, 2}, {8, "Z Axis", 0, 2}}},
      {"Bubble", 4, {{1, "Number", "10", "0", 12}, {3, "Maximum Radius", "100", "0", 5}, {4, "Round Factor", "1", "0", 15}, {6, "Red Factor", "1", "0.0", 10}, {7, "Green Factor", "1", "0.0", 10}, {8, "Blue Factor", "1.1", "0.0", 10}, {9, "Clear Color", "0 0 0", "0 0 0", 1}, {10, "Transparency", "20 %", "0.0 %", 11}}, {{1, "Clear Background", 1, 1}, {2, "Keep Background", 0, 1}, {3, "Repeat", 0, 1}}},
      {"Interlace", 12, {}, {{2, "Horizontal", 1, 1}, {3, "Vertical", 0, 1}}},
      {"Displace", 6, {{2, "Displace Factor", "5", "0", 12}}, {}},
      {"Displace Mosaic", 7, {{1, "Perturbation", "50 %", "0 %", 11}, {3, "X Size", "7", "0", 12}, {4, "Y Size", "7", "0", 12}}, {}},
      {"Flag", 9, {{1, "X Amplitude", "15", "0", 5}, {2, "Y Amplitude", "15", "0", 6}, {3, "X Frequency", "1", "0", 5}, {4, "Y Frequency", "1", "0", 6}, {5, "X Offset", "0", "0", 5}, {6, "Y Offset", "0", "0", 6}, {10, "Clear Color", "0 0 0", "0 0 0", 1}}, {{1, "Clear Background", 1, 1}, {2, "Keep Background", 0, 1}, {3, "Repeat", 0, 1}}},
      {"Scratch", 26, {{2, "Maximum Offset", "5", "0", 5}, {5, "Clear Color", "0 0 0", "0 0 0", 1}, {7, "Transparency", "50 %", "0 %", 11}}, {{1, "Horizontal", 1, 1}, {2, "Vertical", 0, 1}, {3, "Left Diagonal", 0, 1}, {4, "Right Diagonal", 0, 1}, {6, "Clear Background", 1, 3}, {7, "Keep Background", 0, 3}, {9, "Solid", 1, 4}, {10, "Transparent", 0, 4}}},
      {"Zoom", 34, {{1, "X0", "0", "0", 5}, {2, "Y0", "0", "0", 6}, {3, "X1", "320", "0", 5}, {4, "Y1", "240", "0", 6}, {6, "Clear Color", "0 0 0", "0 0 0", 1}, {8, "Transparency", "50 %", "0 %", 11}}, {{2, "Clear Background", 1, 1}, {3, "Keep Background", 0, 1}, {6, "Solid", 1, 2}, {7, "Transparent", 0, 2}, {9, "Use Extrapolation", 0, 3}}},
      {"Line Art", 16, {{1, "X Offset", "2", "0", 5}, {2, "Y Offset", "2", "0", 6}, {4, "Gray Scale", "120", "0", 14}, {6, "Entry Color", "0 0 0", "0 0 0", 1}, {7, "Exit Color", "255 255 255", "0 0 0", 1}}, {}},
      {"Motion Blur", 19, {{1, "n Loop", "10", "0", 12}, {3, "X Speed (pixel/loop)", "-10", "0", 0}, {4, "Y Speed (pixel/loop)", "0", "0", 0}, {6, "Clear Color", "0 0 0", "0 0 0", 1}}, {{2, "Clear Background", 1, 1}, {3, "Keep Background", 0, 1}}},
      {"Rotate", 25, {{1, "X Center", "320", "0", 5}, {2, "Y Center", "240", "0", 6}, {4, "Angle (degree)", "45", "0", 10}, {5, "Clear Color", "0 0 0", "0 0 0", 1}, {7, "Ellipse X Center", "100", "0", 5}, {8, "Ellipse Y Center", "100", "0", 6}, {9, "Ellipse Radius 1", "100", "0", 5}, {10, "Ellipse Radius 2", "100", "0", 6}}, {{2, "Clear Background", 1, 2}, {3, "Keep Background", 0, 2}, {4, "Repeat", 0, 2}, {7, "Turn Box", 1, 4}, {8, "Turn Ellipse", 0, 4}}},
      {"Twirl", 30, {{2, "X Center", "320", "0", 5}, {3, "Y Center", "240", "0", 6}, {5, "Radius", "100", "0", 5}, {6, "B-Radius", "200", "0", 5}, {8, "Angle", "45", "0", 10}, {10, "Clear Color", "0 0 0", "0 0 0", 1}}, {{1, "Clear Background", 1, 3}, {2, "Keep Background", 0, 3}, {3, "Repeat", 0, 3}, {6, "Box", 1, 2}, {7, "Circle", 0, 2}}},
      {"Wind", 33, {{2, "Quantity", "50 %", "0 %", 11}, {3, "Maximum lenght", "15", "0", 5}}, {{1, "Horizontal", 1, 1}, {2, "Vertical", 0, 1}, {3, "Diagonal Right", 0, 1}, {4, "Diagonal Left", 0, 1}}},
      {"Blur", 2, {{2, "n Loop", "1", "0", 12}}, {}},
      {"Camera View", 5, {{2, "Color", "0 0 0", "0 0 0", 1}}, {{1, "Use Solid color", 1, 1}, {2, "Change Color", 0, 1}, {3, "Horizontal", 1, 2}, {4, "Vertical", 0, 2}}},
      {"Move", 20, {{1, "X Offset", "100", "0", 5}, {2, "Y Offset", "100", "0", 6}, {4, "Clear Color", "0 0 0", "0 0 0", 1}, {6, "Transparency level", "50 %", "0 %", 11}}, {{2, "Clear Background", 1, 1}, {3, "Keep Background", 0, 1}, {4, "Repeat", 0, 3}, {6, "Solid Copy", 1, 2}, {7, "Transparent", 0, 2}}},
      {"Range Wind", 22, {{1, "Quantity", "50 %", "0 %", 11}, {2, "Maximum lenght (pixel)", "15", "0", 5}, {3, "Based Luminosity", "255", "0", 14}, {4, "Threshold", "32", "0", 14}}, {{1, "Horizontal", 1, 1}, {2, "Vertical", 0, 1}, {3, "Diagonal Right", 0, 1}, {4, "Diagonal Left", 0, 1}}},
      {"Light Wind", 15, {{2, "Quantity", "50 %", "0 %", 11}, {3, "Maximum lenght (pixel)", "60", "0", 5}, {4, "Minimum lenght (pixel)", "0", "0", 5}}, {{1, "Horizontal", 1, 1}, {2, "Vertical", 0, 1}, {3, "Diagonal Right", 0, 1}, {4, "Diagonal Left", 0, 1}}},
      {"Title", 29, {{1, "Width", "10", "0", 5}, {2, "Height", "10", "0", 6}, {3, "Max. X Offset", "5", "0", 5}, {4, "Max. Y Offset", "5", "0", 6}, {6, "Clear Color", "0 0 0", "0 0 0", 1}, {8, "Transparency Level", "50 %", "0 %", 11}}, {{2, "Clear Background", 1, 1}, {3, "Keep Background", 0, 1}, {6, "Solid", 1, 2}, {7, "Transparent", 0, 2}, {9, "Random Transparency", 0, 3}}},
      {"Polar Coordinates", 21, {{2, "X Center", "320", "0", 5}, {3, "Y Center", "240", "0", 6}, {5, "Rotate Angle", "-90", "0", 10}, {7, "Clear Color", "0 0 0", "0 0 0", 1}}, {{1, "Draw Edges", 1, 1}, {2, "Keep Background", 0, 1}, {3, "Clear Background", 0, 1}, {4, "Repeat", 0, 1}}},
      {"Lazer", 13, {{2, "Transparency Level", "50 %", "0 %", 11}}, {{2, "Vertical", 1, 1}, {3, "Horizontal", 0, 1}}},
      {"Lazer Morph", 14, {{2, "Transparency Level", "0 %", "0 %", 11}}, {{2, "Vertical", 1, 1}, {3, "Horizontal", 0, 1}}},
      {"16/9", 0, {{2, "X Proportion", "16", "0", 12}, {3, "Y Proportion", "9", "0", 12}, {5, "Color", "0 0 0", "0 0 0", 1}, {9, "Transparency", "50 %", "0 %", 11}}, {{3, "Stretch Picture", 1, 2}, {4, "Kill Edges", 0, 2}, {6, "Solid Bar", 1, 3}, {7, "Transparent Bar", 0, 3}}},
      {"Speed Zoom", 27, {{1, "Scale Factor", "0.5", "0", 15}, {2, "n Step", "5", "0", 12}, {4, "Clear Color", "0 0 0", "0 0 0", 1}}, {{2, "Clear Background", 1, 1}, {3, "Keep Background", 0, 1}, {4, "Repeat", 0, 1}}},
      {"Mirror", 17, {{2, "Mirror Position", "100", "0", 5}, {5, "Red Factor", "1", "0.0", 10}, {6, "Green Factor", "1", "0.0", 10}, {7, "Blue Factor", "1", "0.0", 10}}, {{1, "Vertical", 1, 1}, {2, "Horizontal", 0, 1}, {3, "First half", 1, 2}, {4, "Second half", 0, 2}}},
      {"Add Noise", 35, {{1, "Percent", "25 %", "0 %", 11}, {2, "Maximum Red", "128", "0", 14}, {3, "Maximum Green", "128", "0", 14}, {4, "Maximum Blue", "128", "0", 14}}, {}},
      {"Add Dust", 1, {{2, "Percent", "50 %", "0 %", 11}, {3, "Maximum Dust", "128", "0", 14}}, {{2, "Gray Scale", 1, 1}, {3, "Keep Color", 0, 1}}},
      {"Roll", 24, {{2, "X Offset", "100", "0", 5}, {3, "Y Offset", "100", "0", 6}}, {}},
      {"Reverse Polar", 23, {{2, "X Center", "320", "0", 5}, {3, "Y Center", "240", "0", 6}, {5, "Rotate Angle", "-90", "0", 10}, {7, "Clear Color", "0 0 0", "0 0 0", 1}}, {{1, "Draw Edges", 1, 1}, {2, "Keep Background", 0, 1}, {3, "Clear Background", 0, 1}, {4, "Repeat", 0, 1}}},
      {"Brick", 3, {{1, "X Size", "100", "0", 5}, {2, "Y Size", "50", "0", 6}, {4, "Dec Step", "0", "0", 5}}, {{2, "Horizontal", 1, 1}, {3, "Vertical", 0, 1}}},
  };
  return rows;
}
// clang-format on

TEST(PicCatalogue, ThirtyFourFiltersInRegistrationOrderWithEverySlot) {
  ombrix::PluginTable table;
  ASSERT_EQ(ombrix::LoadPluginFile(table, Pic().Path().c_str()), 1);
  const auto& rows = ExpectedCatalogue();
  ASSERT_EQ(rows.size(), 34u);
  ombrix::testing::ExpectCatalogue(table, rows, "Zorvex Picture Filters", "ZvPic.Omp", "ZvOmPic.Hlp");
}

TEST(PicCatalogue, IdentifiesAsAFilterModule) {
  auto module = ombrix::platform::OpenLibrary(Pic().Path().c_str());
  ASSERT_NE(module, nullptr);
  EXPECT_TRUE(ombrix::CheckModuleKind(module, 1));
  EXPECT_FALSE(ombrix::CheckModuleKind(module, 2));
  EXPECT_STREQ(ombrix::GetModuleTitle(module), "Zorvex Picture Filters");
  ombrix::platform::CloseLibrary(module);
}

}  // namespace
}  // namespace pic_test
