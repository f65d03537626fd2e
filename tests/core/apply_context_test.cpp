// The apply context every host builds for a chain entry at a frame: the numbers read from the
// parameter texts, exactly as the engine's C "%f" reading always gave them and whatever locale
// the process has set; the zone at the frame; the option states.
#include "core/plugin/apply_context.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/text/numbers.h"

// The C library keeps the folder list of LOCPATH for good once a test has loaded a locale it
// built; the leak checker is told so.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() {
  return "leak:argz_add_sep\n";
}

namespace {

using namespace ombrix;

uint32_t Bits(float v) {
  uint32_t b = 0;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

// What the C run-time reads, in the locale of the calling thread; `fallback` when it reads none.
float CReading(const std::string& text, float fallback) {
  float v = fallback;
  return std::sscanf(text.c_str(), "%f", &v) == 1 ? v : fallback;  // NOLINT(cert-err34-c): the reference
}

// Compares the two readings bit for bit (NaN included); the first mismatches go to the report.
void ExpectSameReadings(const std::vector<std::string>& texts) {
  int mismatches = 0;
  for (const std::string& t : texts) {
    const float c = CReading(t, -7.25f);
    const float ours = text::LeadingFloat(t, -7.25f);
    if (Bits(c) == Bits(ours)) continue;
    if (++mismatches <= 10) ADD_FAILURE() << "\"" << t << "\": C reads " << c << ", LeadingFloat " << ours;
  }
  EXPECT_EQ(mismatches, 0) << "of " << texts.size() << " texts";
}

TEST(ParameterNumbers, ReadAsTheCConversionReadsThemInTheCLocale) {
  ASSERT_NE(std::setlocale(LC_NUMERIC, "C"), nullptr);
  std::vector<std::string> texts = {
      "",
      " ",
      "2",
      "  1.4",
      "\t\n\v\f\r 7",
      "10 %",
      "0 %",
      "-90",
      "1e3",
      "1E-3",
      "-0",
      "+0",
      "0x10",
      "0X1P3",
      "0x1.8p1",
      "0x",
      "-0x",
      "0x.",
      "0x.8",
      "0xp3",
      "0x1p",
      "0x1e",
      "0x1p1f",
      "0x1p200",
      "0x1p-200",
      "12abc",
      "1,4",
      "1.2.3",
      ".5",
      "5.",
      ".",
      "-.",
      "+",
      "-",
      "+-1",
      "--1",
      "1e",
      "1e+",
      "1.e5",
      "1e5e3",
      "1e-40",
      "1e-50",
      "1e39",
      "-1e39",
      "3.4028236e38",
      "3.4028235e38",
      "1e400",
      "1e-400",
      "1e5000",
      "inf",
      "-inf",
      "infinity",
      "INFINITY",
      "infin",
      "infinite",
      "infx",
      "nan",
      "-nan",
      "NaN(12)",
      "na",
      "i",
      "(none)",
      "ZvExt Edit",
      "3dfx Proc",
      "0.1",
      "1.4000000000000000000000000000001",
      "340282356779733661637539395458142568448",
      "7.00649232162408535461864791644958065640130970938257885878534141944895541342930300743319094181060791015625e-46"};
  // Short texts over the characters numbers are made of, and decimals near the halfway points
  // between two floats (where a reading through double would round twice).
  std::mt19937 random(16);
  const char alphabet[] = "0123456789.eE+-xXpPaAfFinINty( %,";
  for (int n = 0; n < 200000; ++n) {
    std::string t;
    for (int k = int(random() % 9); k > 0; --k) t += alphabet[random() % (sizeof alphabet - 1)];
    texts.push_back(t);
  }
  for (int n = 0; n < 100000; ++n) {
    const float a = std::ldexp(float(random() % 16777216) + 0.5f, int(random() % 200) - 120);
    char t[64];
    std::snprintf(t, sizeof t, "%.*g", 6 + int(random() % 14),
                  double(a) + double(a) * 0x1p-26 * (int(random() % 3) - 1));
    texts.push_back(t);
  }
  ExpectSameReadings(texts);
}

// A locale whose decimal separator is a comma: an installed one, else one built with localedef
// into the test's output folder. Null when neither can be had.
locale_t CommaDecimalLocale() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8"})
    if (locale_t l = newlocale(LC_NUMERIC_MASK, name, nullptr)) return l;
  const std::string folder = std::string(OMBRIX_TEST_OUTPUT_DIR) + "/locales";
  const std::string build =
      "mkdir -p '" + folder + "' && localedef -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
  if (std::system(build.c_str()) != 0 && std::system(("test -d '" + folder + "/de_DE.UTF-8'").c_str()) != 0)
    return nullptr;
  setenv("LOCPATH", folder.c_str(), 1);
  return newlocale(LC_NUMERIC_MASK, "de_DE.UTF-8", nullptr);
}

// A host whose toolkit set a comma-decimal locale still hands a filter "1.4" as 1.4, where the
// C run-time's own reading stops at the point and gives 1.
TEST(ParameterNumbers, ACommaDecimalLocaleChangesNoValue) {
  locale_t comma = CommaDecimalLocale();
  if (comma == nullptr) GTEST_SKIP() << "no comma-decimal locale is installed and localedef could not build one";
  ParameterRecord parameters[kSlotCount] = {};
  std::strcpy(parameters[1].value, "1.4");
  std::strcpy(parameters[1].step, "0.25");
  parameters[1].kind = kKindReal;
  std::strcpy(parameters[2].value, "12.5 %");
  parameters[2].kind = kKindPercentage;
  FilterDescriptor d{};
  d.parameters = parameters;
  d.parameter_count = kSlotCount;

  const locale_t previous = uselocale(comma);
  const float c_reading = CReading("1.4", 0.0f);
  const std::vector<float> values = BuildApplyContext(d, 2, ProportionalScale{}).values;
  uselocale(previous);
  freelocale(comma);
  ASSERT_EQ(c_reading, 1.0f) << "the locale does not reach the C reading, so this test proves nothing";
  EXPECT_EQ(values[1], float(0.25f * 2.0f + 1.4f));
  EXPECT_EQ(values[2], 12.5f);
}

struct Slots {
  ParameterRecord parameters[kSlotCount] = {};
  OptionRecord options[kSlotCount] = {};
  FilterDescriptor d{};
  Slots() {
    d.parameters = parameters;
    d.options = options;
    d.parameter_count = kSlotCount;
    d.option_count = kSlotCount;
  }
  void Set(int slot, int16_t kind, const char* value, const char* step) {
    parameters[slot].kind = kind;
    std::strcpy(parameters[slot].value, value);
    std::strcpy(parameters[slot].step, step);
  }
};

TEST(BuildApplyContext, ValuesFollowTheKindOfEachSlot) {
  Slots s;
  s.Set(0, kKindInteger, "2", "0.5");
  s.Set(1, kKindColour, "10 20 30", "1 1 1");
  s.Set(2, kKindInputFile, "12", "1");
  s.Set(3, kKindPictureFile, "12", "1");
  s.Set(4, kKindHorizontal, "100", "10");
  s.Set(5, kKindVertical, "100", "10");
  s.Set(6, kKindSignedPercentage, "10 %", "0 %");
  s.Set(7, kKindEditorLink, "3dfx Proc", "");  // the link's text reads as a number like any other
  s.Set(8, 42, "7", "x");                      // a kind no host knows reads as a number
  s.Set(9, kKindOutputFile, "out.txt", "");
  s.options[3].state = 1;
  s.options[10].state = -1;
  const FilterDescriptor before = s.d;
  char texts_before[kSlotCount][256];
  for (int k = 0; k < kSlotCount; ++k) std::memcpy(texts_before[k], s.parameters[k].value, 256);

  // Not proportional: horizontal and vertical numbers as written.
  BuiltApplyContext plain = BuildApplyContext(s.d, 4, ProportionalScale{1280, 960, 640, 480});
  ASSERT_EQ(plain.values.size(), size_t(kSlotCount) + 1);
  ASSERT_EQ(plain.states.size(), size_t(kSlotCount) + 1);
  const std::vector<float> expected = {4, 0, 0, 0, 140, 140, 10, 3, 7, 0, 0, 0};
  EXPECT_EQ(plain.values, expected);
  EXPECT_EQ(plain.states[3], 1);
  EXPECT_EQ(plain.states[10], -1);
  EXPECT_EQ(plain.states[11], 0);
  EXPECT_EQ(plain.context.values, plain.values.data());
  EXPECT_EQ(plain.context.option_states, plain.states.data());
  EXPECT_EQ(plain.context.parameter_count, kSlotCount);
  EXPECT_EQ(plain.context.descriptor, &s.d);

  // Proportional: width 1280 of a 640 base doubles horizontal numbers, height 960 of 480 too.
  s.d.proportional = 1;
  s.parameters[5].value[1] = '5';  // "150"
  BuiltApplyContext scaled = BuildApplyContext(s.d, 1, ProportionalScale{1280, 1440, 640, 480});
  EXPECT_EQ(scaled.values[4], 220.0f);  // 2 x 100 + 1 x 2 x 10
  EXPECT_EQ(scaled.values[5], 480.0f);  // 3 x 150 + 1 x 3 x 10
  EXPECT_EQ(scaled.values[0], 2.5f);    // other kinds never scale

  s.d.proportional = before.proportional;
  s.parameters[5].value[1] = '0';
  for (int k = 0; k < kSlotCount; ++k) EXPECT_EQ(std::memcmp(texts_before[k], s.parameters[k].value, 256), 0) << k;
  EXPECT_EQ(std::memcmp(before.zone, s.d.zone, sizeof before.zone), 0);
  EXPECT_EQ(std::memcmp(before.zone_step, s.d.zone_step, sizeof before.zone_step), 0);
}

TEST(BuildApplyContext, ZoneAtAFrame) {
  Slots s;
  s.d.zone[0] = 0, s.d.zone[1] = 0, s.d.zone[2] = 10, s.d.zone[3] = 10;
  s.d.zone_step[0] = 1, s.d.zone_step[2] = 1, s.d.zone_step[1] = -0.5f;
  ApplyContext c = BuildApplyContext(s.d, 5, ProportionalScale{64, 48, 640, 480}).context;
  EXPECT_EQ(c.x0, 5);
  EXPECT_EQ(c.y0, -2);  // truncate(-2.5), toward zero
  EXPECT_EQ(c.x1, 15);
  EXPECT_EQ(c.y1, 10);
  EXPECT_EQ(c.frame_offset, 5);

  // Proportional: x1 = 320 of a 640 base on a 1280-wide picture is 640; steps scale, untruncated.
  s.d.proportional = 1;
  s.d.zone[2] = 320, s.d.zone[3] = 241;
  s.d.zone_step[0] = 0.75f;
  c = BuildApplyContext(s.d, 2, ProportionalScale{1280, 720, 640, 480}).context;
  EXPECT_EQ(c.x0, 3);    // 2 x 1.5
  EXPECT_EQ(c.y0, -1);   // truncate(2 x -0.75)
  EXPECT_EQ(c.x1, 644);  // 640 + 2 x 2
  EXPECT_EQ(c.y1, 361);  // truncate(241 x 1.5)
  // A script without a based size is not scaled.
  c = BuildApplyContext(s.d, 0, ProportionalScale{1280, 720, 0, 0}).context;
  EXPECT_EQ(c.x1, 320);

  // Full screen: the whole picture, corners still moved by their (scaled) steps.
  s.d.full_screen = 1;
  c = BuildApplyContext(s.d, 2, ProportionalScale{1280, 720, 640, 480}).context;
  EXPECT_EQ(c.x0, 3);
  EXPECT_EQ(c.y0, -1);
  EXPECT_EQ(c.x1, 1284);
  EXPECT_EQ(c.y1, 720);
}

}  // namespace
