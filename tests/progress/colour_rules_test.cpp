// Colour rules: caption colour, lit colour, edge shades, and the colour set's defaults.
#include "gui/colour_rules.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/settings/settings.h"
#include "gui/colour_set.h"

namespace {

using namespace ombrix::gui;

TEST(ColourRules, ButtonTextFollowsMeanOfChannels) {
  EXPECT_EQ(ButtonTextColour(0x404040), kWhite);  // mean 64
  EXPECT_EQ(ButtonTextColour(0xC0C0C0), kBlack);  // mean 192
  EXPECT_EQ(ButtonTextColour(0x808080), kBlack);  // mean exactly 128
  EXPECT_EQ(ButtonTextColour(0x7F7F7F), kWhite);
  // The mean is an integer division of the sum: 383 / 3 = 127, 384 / 3 = 128.
  EXPECT_EQ(ButtonTextColour(MakeColour(129, 0, 254)), kWhite);
  EXPECT_EQ(ButtonTextColour(MakeColour(130, 0, 254)), kBlack);
  // The byte above the blue one is not a channel.
  EXPECT_EQ(ButtonTextColour(0xFF404040), kWhite);
}

TEST(ColourRules, LitColourRaisesTheLeadingChannelInOrder) {
  // The default action button face: blue leads, red and green gain a third.
  EXPECT_EQ(LitColour(0xA89C9C), 0xFFD0D0u);
  // A grey: red wins the tie; green and blue then compare against 255.
  EXPECT_EQ(LitColour(0x909090), 0xC0C0FFu);
  // Green and blue tie above red: green wins first, blue no longer leads.
  EXPECT_EQ(LitColour(MakeColour(0x10, 0x80, 0x80)), MakeColour(0x15, 0xFF, 0xAA));
  // Blue leads alone.
  EXPECT_EQ(LitColour(MakeColour(0x30, 0x60, 0x90)), MakeColour(0x40, 0x80, 0xFF));
  // Black: red leads (all equal), the others stay 0.
  EXPECT_EQ(LitColour(0x000000), MakeColour(0xFF, 0, 0));
  // A channel of 192 or more that does not lead is held at 255 instead of wrapping to a dark value.
  EXPECT_EQ(LitColour(MakeColour(0xC8, 0xC8, 0x00)), MakeColour(0xFF, 0xFF, 0x00));
  EXPECT_EQ(LitColour(MakeColour(0xF0, 0xC0, 0x00)), MakeColour(0xFF, 0xFF, 0x00));
  EXPECT_EQ(LitColour(MakeColour(0xF0, 0xBF, 0x00)), MakeColour(0xFF, 0xFE, 0x00));
}

TEST(ColourRules, ShadesStepByQuarterAndStopAtTheEnds) {
  EXPECT_EQ(LighterShade(0x909090), 0xD0D0D0u);
  EXPECT_EQ(DarkerShade(0x909090), 0x505050u);
  EXPECT_EQ(LighterShade(0xA89C9C), 0xE8DCDCu);
  EXPECT_EQ(DarkerShade(0xA89C9C), 0x685C5Cu);
  // Thresholds on the whole value.
  EXPECT_EQ(LighterShade(0xBFBFBE), 0xFFFFFEu);
  EXPECT_EQ(LighterShade(0xBFBFBF), kWhite);
  EXPECT_EQ(LighterShade(0xC0C0C0), kWhite);
  EXPECT_EQ(DarkerShade(0x404040), kBlack);
  EXPECT_EQ(DarkerShade(0x404041), 0x000001u);
  EXPECT_EQ(DarkerShade(0x000000), kBlack);
  EXPECT_EQ(LighterShade(0x000000), 0x404040u);
  // A channel near its limit stays within its byte instead of carrying into the next one: as one
  // integer, 0x00FF00 + 0x404040 would be the dark 0x413F40.
  EXPECT_EQ(LighterShade(0x00FF00), 0x40FF40u);
  EXPECT_EQ(DarkerShade(0x4100FF), 0x0100BFu);
}

void UseEmptySettings(const char* name) {
  const std::filesystem::path directory =
      std::filesystem::path(OMBRIX_TEST_OUTPUT_DIR) / "progress" / "registry" / name;
  std::filesystem::remove_all(directory);
  std::filesystem::create_directories(directory);
  setenv("OMBRIX_REGISTRY_DIR", directory.c_str(), 1);
}

TEST(ColourSet, MissingValuesGiveTheDefaults) {
  UseEmptySettings("colour_set_defaults");
  const ColourSet defaults = ReadColourSet();
  EXPECT_EQ(defaults.background, 0x909090u);
  EXPECT_EQ(defaults.state_button, 0x98A8A8u);
  EXPECT_EQ(defaults.drag_button, 0x9CA89Cu);
  EXPECT_EQ(defaults.action_button, 0xA89C9Cu);
  EXPECT_EQ(defaults.dialog_button, 0xA8A898u);
  EXPECT_EQ(defaults.info_area, 0x808080u);
  EXPECT_EQ(defaults.info_area_text, 0x000000u);
  EXPECT_EQ(defaults.edit_area, 0x707070u);
  EXPECT_EQ(defaults.edit_text, 0xBFFFFFu);
}

TEST(ColourSet, StoredValuesAreReadAsDecimalNumbers) {
  UseEmptySettings("colour_set_values");
  ombrix::WriteSettingText(nullptr, "ActionButtonColor", "4210752");
  ombrix::WriteSettingText(nullptr, "BackgroundColor", "abc");
  ombrix::WriteSettingText(nullptr, "InfoAreaColor", "-1");
  if (ombrix::ReadSetting(nullptr, "ActionButtonColor") != "4210752") {
    GTEST_SKIP() << "the settings store keeps no values yet";
  }
  const ColourSet read = ReadColourSet();
  EXPECT_EQ(read.action_button, 0x404040u);
  EXPECT_EQ(read.background, 0x909090u);  // not a number: the default
  EXPECT_EQ(read.info_area, 0xFFFFFFu);   // only the low 24 bits count
}

}  // namespace
