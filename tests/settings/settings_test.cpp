// The settings operations on the product key: defaults, numbers, the value size limit and the
// keys a write creates.
#include "core/settings/settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/platform/files.h"
#include "core/platform/registry.h"

namespace {

using namespace ombrix;
using platform::RegistryRoot;

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = std::string(OMBRIX_TEST_OUTPUT_DIR) + "/settings.XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern + "/registry";
    setenv("OMBRIX_REGISTRY_DIR", dir_.c_str(), 1);
  }
  void TearDown() override { unsetenv("OMBRIX_REGISTRY_DIR"); }
  std::string dir_;
};

TEST_F(Settings, MissingProductKeyGivesDefaultsAndCreatesNothing) {
  char buffer[kSettingBytes];
  EXPECT_STREQ(ReadSettingText(nullptr, "InstallDir", buffer, ""), "");
  EXPECT_STREQ(ReadSettingText(nullptr, "HelpFile", buffer, "Ombrix.Hlp"), "Ombrix.Hlp");
  EXPECT_EQ(ReadSettingText("Options", "ContentDirectory", buffer, "x"), buffer);
  EXPECT_EQ(ReadSettingNumber("Options", "B-Width", 640), 640);
  EXPECT_EQ(ReadSettingNumber("Plug-ins", "N_Plug", 0), 0);
  EXPECT_EQ(ReadSetting("References", "ZvPic.Omp"), "");
  EXPECT_FALSE(platform::FileExists(dir_.c_str()));
}

TEST_F(Settings, WritingInASectionCreatesEveryKeyOfThePath) {
  WriteSettingNumber("Options", "B-Width", 800);
  EXPECT_EQ(platform::RegistryEnumerateSubkeys(RegistryRoot::kCurrentUser, "").value(),
            std::vector<std::string>{"Software"});
  EXPECT_EQ(platform::RegistryEnumerateSubkeys(RegistryRoot::kCurrentUser, "Software").value(),
            std::vector<std::string>{"Zorvex"});
  EXPECT_EQ(platform::RegistryEnumerateSubkeys(RegistryRoot::kCurrentUser, "Software\\Zorvex").value(),
            std::vector<std::string>{"Ombrix"});
  EXPECT_EQ(platform::RegistryEnumerateSubkeys(RegistryRoot::kCurrentUser, "Software\\Zorvex\\Ombrix").value(),
            std::vector<std::string>{"Options"});
  // Stored as decimal text.
  EXPECT_EQ(platform::RegistryQueryString(RegistryRoot::kCurrentUser, "Software\\Zorvex\\Ombrix\\Options", "B-Width")
                .value_or("?"),
            "800");
  EXPECT_EQ(ReadSettingNumber("options", "b-width", 640), 800);
  // A null section is the product key itself, not a section.
  WriteSettingText(nullptr, "InstallDir", "/opt/ombrix");
  EXPECT_EQ(ReadSetting(nullptr, "INSTALLDIR"), "/opt/ombrix");
  EXPECT_EQ(ReadSetting("Options", "InstallDir", "none"), "none");
  WriteSettingNumber("Plug-ins", "N_Plug", -3);
  EXPECT_EQ(ReadSetting("Plug-ins", "N_Plug"), "-3");
}

TEST_F(Settings, NumbersReadTheirLeadingDecimal) {
  const struct {
    const char* text;
    int expected;
  } cases[] = {{"12abc", 12},
               {"abc", 77},
               {"-5", -5},
               {"", 77},
               {"+8", 8},
               {"  42", 42},
               {"-", 77},
               {"0x10", 0},
               {"3.9", 3},
               {"99999999999", 2147483647},
               {"-99999999999", -2147483647 - 1}};
  for (const auto& c : cases) {
    WriteSettingText("Options", "Number", c.text);
    EXPECT_EQ(ReadSettingNumber("Options", "Number", 77), c.expected) << '"' << c.text << '"';
  }
}

TEST_F(Settings, ValuesOf1024BytesOrMoreReadAsTheDefault) {
  char buffer[kSettingBytes];
  const std::string fits(kSettingBytes - 1, 'a');
  WriteSettingText(nullptr, "Long", fits.c_str());
  EXPECT_EQ(std::string(ReadSettingText(nullptr, "Long", buffer, "d")), fits);
  const std::string too_long(kSettingBytes, 'b');
  WriteSettingText(nullptr, "Long", too_long.c_str());
  EXPECT_STREQ(ReadSettingText(nullptr, "Long", buffer, "d"), "d");
  // The stored value itself is untouched by the read.
  EXPECT_EQ(platform::RegistryQueryString(RegistryRoot::kCurrentUser, kProductKey, "Long").value_or("").size(),
            kSettingBytes);
  // A default longer than the buffer is cut to fit.
  EXPECT_EQ(std::string(ReadSettingText(nullptr, "Missing", buffer, too_long.c_str())).size(), kSettingBytes - 1);
}

TEST_F(Settings, TextsPassThroughAndOddInputsAreHarmless) {
  WriteSettingText("Options", "ContentDirectory", "C:\\Content\\ \"\xA7\"");
  EXPECT_EQ(ReadSetting("Options", "ContentDirectory"), "C:\\Content\\ \"\xA7\"");
  WriteSettingText("Options", "Nothing", nullptr);
  EXPECT_EQ(ReadSetting("Options", "Nothing", "default"), "default");
  EXPECT_EQ(ReadSettingText("Options", "x", nullptr, "d"), nullptr);
  // A section that makes the key path longer than 511 characters names no key.
  const std::string long_section(600, 's');
  WriteSettingText(long_section.c_str(), "x", "1");
  EXPECT_EQ(ReadSetting(long_section.c_str(), "x", "default"), "default");
  EXPECT_FALSE(platform::RegistryKeyExists(RegistryRoot::kCurrentUser, std::string(kProductKey) + "\\" + long_section));
  // A value of another type reads as missing.
  platform::RegistrySetString(RegistryRoot::kCurrentUser, kProductKey, "Seed", "x");
  const std::string path = platform::RegistryFilePath(RegistryRoot::kCurrentUser);
  std::string text = platform::ReadWholeFile(path.c_str()).value();
  text.replace(text.find("\"Seed\"=\"x\""), 10, "\"Seed\"=dword:00000001");
  ASSERT_TRUE(platform::ReplaceFileAtomically(path.c_str(), text));
  EXPECT_EQ(ReadSettingNumber(nullptr, "Seed", 9), 9);
}

}  // namespace
