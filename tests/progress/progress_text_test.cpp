// The bar state and the terminal progress line of the progress module.
#include "progress/progress_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace ombrix::omout;

int Characters(const std::string& utf8) {
  int count = 0;
  for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

TEST(BarState, RangeIsSixteenBitAndPositionStaysInside) {
  BarState bar;
  EXPECT_EQ(bar.Low(), 0);
  EXPECT_EQ(bar.High(), 100);

  bar.SetRange(0, 4);
  bar.SetPosition(5);  // the render engine's last step is n + 1
  EXPECT_EQ(bar.Position(), 4);
  EXPECT_EQ(bar.Percent(), 100);
  bar.SetPosition(-3);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetPosition(1);
  bar.SetRange(0, 3);
  EXPECT_EQ(bar.Percent(), 33);  // truncated

  // A new range pulls the position into it.
  bar.SetRange(10, 20);
  EXPECT_EQ(bar.Position(), 10);
  EXPECT_EQ(bar.Percent(), 0);

  // Ends are taken as 16-bit unsigned values.
  bar.SetRange(0, 70000);
  EXPECT_EQ(bar.High(), 70000 - 65536);
  bar.SetRange(-1, 10);
  EXPECT_EQ(bar.Low(), 65535);
  EXPECT_EQ(bar.Percent(), 0);  // empty range
  bar.SetRange(5, 5);
  bar.SetPosition(9);
  EXPECT_EQ(bar.Position(), 5);
  EXPECT_EQ(bar.Percent(), 0);
}

TEST(ProgressLine, ShowsBothBarsAndTheTexts) {
  BarState overall;
  overall.SetRange(0, 4);
  overall.SetPosition(2);
  BarState step;
  step.SetRange(0, 200);
  step.SetPosition(41);
  ProgressTexts texts{"Total work (2/4)", "Applying \"Blur\"...", "Applying \"Blur\"..."};
  EXPECT_EQ(FormatProgressLine(overall, step, texts, 200),
            "[#####.....] [##........]  20% Total work (2/4) | Applying \"Blur\"...");

  texts.info = "Load X Alpha picture \"mask.tga\"...";
  EXPECT_EQ(FormatProgressLine(overall, step, texts, 200),
            "[#####.....] [##........]  20% Total work (2/4) | Applying \"Blur\"... | Load X Alpha picture "
            "\"mask.tga\"...");

  texts = ProgressTexts{"", "", "only info"};
  step.SetPosition(200);
  EXPECT_EQ(FormatProgressLine(overall, step, texts, 200), "[#####.....] [##########] 100% only info");
  EXPECT_EQ(FormatProgressLine(BarState(), BarState(), ProgressTexts(), 80), "[..........] [..........]   0%");
}

TEST(ProgressLine, FitsTheTerminalWithoutSplittingCharacters) {
  BarState bar;
  ProgressTexts texts{std::string(100, 'x'), std::string(10, '\xA7'), ""};
  for (const int columns : {40, 80, 151, 160}) {
    const std::string line = FormatProgressLine(bar, bar, texts, columns);
    EXPECT_EQ(Characters(line), std::min(columns - 1, 31 + 100 + 3 + 10)) << columns;
  }
  // Cut inside the run of two-byte characters: every character is whole.
  const std::string cut = FormatProgressLine(bar, bar, texts, 141);
  EXPECT_EQ(Characters(cut), 140);
  EXPECT_EQ(cut.substr(cut.size() - 2), "\xC2\xA7");
  // Very narrow terminals still get the bars.
  EXPECT_EQ(Characters(FormatProgressLine(bar, bar, texts, 5)), 19);
}

TEST(ProgressLine, TextsBecomeOneLineOfUtf8) {
  EXPECT_EQ(AnsiToTerminalText("two\nlines\ttab"), "two lines tab");
  EXPECT_EQ(AnsiToTerminalText("\xA7 \xB0 \x80 \x99 \x81"), "\xC2\xA7 \xC2\xB0 \xE2\x82\xAC \xE2\x84\xA2 ?");
  EXPECT_EQ(AnsiToTerminalText("caf\xE9\x7F"), "caf\xC3\xA9 ");
}

}  // namespace
