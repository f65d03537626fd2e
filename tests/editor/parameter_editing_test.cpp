// Editing an entry's numbers and options without a window: typed arithmetic, the texts the
// fields show, the option groups, the drag arithmetic and the rows read back into the entry.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/parameter_kinds.h"
#include "core/plugin/plugin_host.h"
#include "editor/model/drag.h"
#include "editor/model/number_evaluator.h"
#include "editor/model/number_formats.h"
#include "editor/model/parameter_rows.h"

namespace {

using namespace ombrix;
using namespace ombrix::editor;

TEST(TypedNumbers, ArithmeticWithTwoPriorityLevelsAndParentheses) {
  EXPECT_EQ(EvaluateNumberText("10*2+5"), "25.000000");
  EXPECT_EQ(EvaluateNumberText("2+10*5"), "52.000000");
  EXPECT_EQ(EvaluateNumberText("(2+3)*4"), "20.000000");
  EXPECT_EQ(EvaluateNumberText("((1+1)*(2+1))/4"), "1.500000");
  // Left to right within a level.
  EXPECT_EQ(EvaluateNumberText("8-3-2"), "3.000000");
  EXPECT_EQ(EvaluateNumberText("16/4/2"), "2.000000");
  // Blanks and other characters only separate.
  EXPECT_EQ(EvaluateNumberText("12 %"), "12.000000");
  EXPECT_EQ(EvaluateNumberText(" 7 x 3 "), "0");  // "7 3": two numbers without an operator
  EXPECT_EQ(EvaluateNumberText("1.5"), "1.500000");
}

TEST(TypedNumbers, ALeadingMinusAndEveryIntermediateThroughSixDecimals) {
  EXPECT_EQ(EvaluateNumberText("-3"), "-3.000000");
  EXPECT_EQ(EvaluateNumberText("-3*2"), "-6.000000");  // 0 - (3*2)
  // 1/3 is 0.333333 once written, so three of them make 0.999999, not 1.
  EXPECT_EQ(EvaluateNumberText("1/3*3"), "0.999999");
  EXPECT_EQ(EvaluateNumberText("0.0000004+0.0000004"), "0.000000");
}

TEST(TypedNumbers, DivisionByZeroAndMalformedTextsGiveZero) {
  EXPECT_EQ(EvaluateNumberText("5/0"), "0");
  EXPECT_EQ(EvaluateNumberText("5/0+1"), "1.000000");  // only that result is 0
  EXPECT_EQ(EvaluateNumberText("2+3)"), "0");
  EXPECT_EQ(EvaluateNumberText(")"), "0");
  EXPECT_EQ(EvaluateNumberText("(2+3"), "0");
  EXPECT_EQ(EvaluateNumberText("2**3"), "0");
  EXPECT_EQ(EvaluateNumberText("2+-3"), "0");
  EXPECT_EQ(EvaluateNumberText("2+"), "0");
  EXPECT_EQ(EvaluateNumberText(""), "0");
  EXPECT_EQ(EvaluateNumberText("abc"), "0");
  EXPECT_EQ(EvaluateNumberText("()"), "0");
  const std::string huge(400, '9');  // reads as the largest double
  EXPECT_EQ(EvaluateNumberText(huge + "*" + huge + "+1"), "1.000000");
  // Deep nesting is malformed rather than a stack overflow.
  EXPECT_EQ(EvaluateNumberText(std::string(100000, '(') + "1" + std::string(100000, ')')), "0");
  EXPECT_EQ(EvaluateNumberText(std::string(50, '(') + "1" + std::string(50, ')')), "1.000000");
}

TEST(FieldTexts, EachKindShowsInItsFormat) {
  EXPECT_EQ(ShownText(kKindInteger, "7.9"), "7");
  EXPECT_EQ(ShownText(kKindInteger, "25.000000"), "25");
  EXPECT_EQ(ShownText(kKindByteRange, "nothing"), "0");
  EXPECT_EQ(ShownText(kKindReal, "20.000000"), "20.0");
  EXPECT_EQ(ShownText(kKindReal, "2"), "2.0");
  EXPECT_EQ(ShownText(kKindPositiveReal, "0.25"), "0.25");
  EXPECT_EQ(ShownText(kKindReal, "100"), "100.0");
  EXPECT_EQ(ShownText(kKindPercentage, "12.000000"), "12.0 %");
  EXPECT_EQ(ShownText(kKindSignedPercentage, "-10 %"), "-10.0 %");
  EXPECT_EQ(ShownText(kKindColour, "255 0 12"), "255 0 12");
  EXPECT_EQ(ShownText(kKindPlain3, "7.9"), "7.9");

  // A dragged value: whole numbers truncated towards zero, decimals cut after one digit.
  EXPECT_EQ(DragText(kKindInteger, -3.5), "-3");
  EXPECT_EQ(DragText(kKindPositiveInteger, 3.99), "3");
  EXPECT_EQ(DragText(kKindReal, 12.345), "12.3");
  EXPECT_EQ(DragText(kKindReal, -0.06), "-0.0");
  EXPECT_EQ(DragText(kKindPercentage, 50), "50.0 %");
}

TEST(FieldTexts, LongFileTextsAreShortenedAndNeverStoredBack) {
  const std::string folder = "/home/artist/projects/a-long-folder-name/textures/";
  const std::string picture = folder + "wood-grain.bmp";  // 64 characters and more
  ASSERT_GE(picture.size(), 64u);
  const std::string shown = ShownText(kKindPictureFile, picture);
  EXPECT_EQ(shown, "/ho...wood-grain.bmp");
  EXPECT_EQ(ShownText(kKindInputFile, "/short/name.txt"), "/short/name.txt");
  const std::string exactly63(63, 'a');
  EXPECT_EQ(ShownFileText(exactly63), exactly63);
  EXPECT_EQ(ShownFileText(std::string(64, 'a')), "aaa..." + std::string(64, 'a'));

  // Taking the row keeps the stored path; a path typed anew replaces it.
  FilterDescriptor entry{};
  ParameterRecord slots[kSlotCount]{};
  entry.parameters = slots;
  entry.parameter_count = kSlotCount;
  std::strcpy(slots[1].name, "Picture Name");
  slots[1].kind = kKindPictureFile;
  std::strcpy(slots[1].value, picture.c_str());
  const ParameterRowView row = ShowParameterRow(entry, 1);
  ASSERT_TRUE(row.value_shown);
  EXPECT_FALSE(row.step_shown);
  EXPECT_FALSE(row.drags);
  TakeParameterRow(entry, 1, {row.value, std::nullopt});
  EXPECT_EQ(std::string(slots[1].value), picture);
  TakeParameterRow(entry, 1, {std::string("/other.bmp"), std::nullopt});
  EXPECT_STREQ(slots[1].value, "/other.bmp");
}

TEST(ParameterRows, ShownByNameAndSlotCountAndTakenBackByKind) {
  FilterDescriptor entry{};
  ParameterRecord slots[kSlotCount]{};
  entry.parameters = slots;
  entry.parameter_count = 4;  // slots 1 to 3
  const struct {
    const char* name;
    int16_t kind;
    const char* value;
    const char* step;
  } rows[] = {{"Size", kKindInteger, "7.9", "0"},
              {"Link", kKindEditorLink, "Mod Proc", ""},
              {"Mix", kKindPercentage, "10 %", ""},
              {"Beyond", kKindInteger, "1", "1"}};
  for (int k = 1; k <= 4; ++k) {
    std::strcpy(slots[k].name, rows[k - 1].name);
    slots[k].kind = rows[k - 1].kind;
    std::strcpy(slots[k].value, rows[k - 1].value);
    std::strcpy(slots[k].step, rows[k - 1].step);
  }
  const ParameterRowView size = ShowParameterRow(entry, 1);
  EXPECT_TRUE(size.shown);
  EXPECT_TRUE(size.drags);
  EXPECT_EQ(size.value, "7");
  EXPECT_EQ(size.step, "0");
  const ParameterRowView link = ShowParameterRow(entry, 2);
  EXPECT_TRUE(link.shown);
  EXPECT_FALSE(link.value_shown);
  EXPECT_FALSE(link.step_shown);
  EXPECT_FALSE(ShowParameterRow(entry, 3).step_shown);
  EXPECT_FALSE(ShowParameterRow(entry, 4).shown);  // at the slot count
  EXPECT_FALSE(ShowParameterRow(entry, 0).shown);

  TakeParameterRow(entry, 1, {std::string("10*2+5"), std::string("")});
  EXPECT_STREQ(slots[1].value, "25.000000");
  EXPECT_STREQ(slots[1].step, "0");  // evaluated: an empty text is malformed
  TakeParameterRow(entry, 2, {std::string("x"), std::string("y")});
  EXPECT_STREQ(slots[2].value, "Mod Proc");  // kind 16 keeps its link
  TakeParameterRow(entry, 3, {std::string("12 %"), std::nullopt});
  EXPECT_STREQ(slots[3].value, "12.000000");
  EXPECT_STREQ(slots[3].step, "");
  TakeParameterRow(entry, 4, {std::string("9"), std::nullopt});
  EXPECT_STREQ(slots[4].value, "1");

  // A colour or file text emptied becomes one blank.
  slots[3].kind = kKindColour;
  TakeParameterRow(entry, 3, {std::string(""), std::nullopt});
  EXPECT_STREQ(slots[3].value, " ");

  // Leaving a field by Tab or Enter evaluates typed numbers only.
  EXPECT_EQ(ReformatLeavingField(kKindReal, "(2+3)*4"), "20.0");
  EXPECT_EQ(ReformatLeavingField(kKindPercentage, "25"), "25.0 %");
  EXPECT_EQ(ReformatLeavingField(kKindColour, "1 2 3"), "1 2 3");
}

std::vector<OptionButton> Press(std::vector<OptionButton> options, size_t pressed) {
  options[pressed].on = !options[pressed].on;  // the button has toggled itself
  ApplyOptionGroup(options, pressed);
  return options;
}

std::vector<bool> States(const std::vector<OptionButton>& options) {
  std::vector<bool> states;
  states.reserve(options.size());
  for (const OptionButton& o : options) states.push_back(o.on);
  return states;
}

TEST(OptionGroups, AGroupIsARadioListAndALoneOptionASwitch) {
  const std::vector<OptionButton> three = {{true, true, 1}, {true, false, 1}, {true, false, 1}, {true, true, 2}};
  auto after = Press(three, 1);
  EXPECT_EQ(States(after), (std::vector<bool>{false, true, false, true}));
  // Pressing the lit one leaves it on.
  EXPECT_EQ(States(Press(after, 1)), (std::vector<bool>{false, true, false, true}));
  // Option 4 is alone in group 2: it toggles.
  after = Press(three, 3);
  EXPECT_FALSE(after[3].on);
  EXPECT_TRUE(Press(after, 3)[3].on);
  // A hidden option does not count as a member of the group.
  const std::vector<OptionButton> hidden_partner = {{true, true, 5}, {false, false, 5}};
  EXPECT_FALSE(Press(hidden_partner, 0)[0].on);
}

TEST(OptionGroups, RowsShowNamedOptionsBelowTheSlotCount) {
  FilterDescriptor entry{};
  OptionRecord options[kSlotCount]{};
  entry.options = options;
  entry.option_count = 3;
  std::strcpy(options[1].name, "Smooth");
  options[1].state = 1;
  options[1].group = 4;
  std::strcpy(options[3].name, "Beyond");
  EXPECT_TRUE(ShowOptionRow(entry, 1).shown);
  EXPECT_TRUE(ShowOptionRow(entry, 1).on);
  EXPECT_EQ(ShowOptionRow(entry, 1).group, 4);
  EXPECT_FALSE(ShowOptionRow(entry, 2).shown);  // no name
  EXPECT_FALSE(ShowOptionRow(entry, 3).shown);  // at the slot count
}

TEST(Dragging, FieldsStayWithinTheirBoundsAndFollowTheTravel) {
  DragFieldTexts texts;
  texts.zone = {"10", "20", "100", "200"};
  texts.start_frame = "5";
  texts.end_frame = "30";
  Drag drag;
  drag.Begin(1, DragKindOf(DragField::kZoneLeft, 0), "10", 400);
  EXPECT_FALSE(drag.Step(400, DragBoundsOf(DragField::kZoneLeft, 0, texts)));
  EXPECT_EQ(*drag.Step(401, DragBoundsOf(DragField::kZoneLeft, 0, texts)), "10");  // 10.5
  EXPECT_EQ(*drag.Step(401, DragBoundsOf(DragField::kZoneLeft, 0, texts)), "11");
  // Left never passes Right, however far the mouse goes.
  EXPECT_EQ(*drag.Step(900, DragBoundsOf(DragField::kZoneLeft, 0, texts)), "100");
  EXPECT_EQ(drag.Value(), 100.0);
  EXPECT_EQ(*drag.Step(398, DragBoundsOf(DragField::kZoneLeft, 0, texts)), "99");

  drag.Begin(2, DragKindOf(DragField::kStartFrame, 0), "5", 0);
  EXPECT_EQ(*drag.Step(200, DragBoundsOf(DragField::kStartFrame, 0, texts)), "30");
  EXPECT_EQ(*drag.Step(-500, DragBoundsOf(DragField::kStartFrame, 0, texts)), "0");
  drag.Begin(3, DragKindOf(DragField::kTestFrame, 0), "7", 0);
  EXPECT_EQ(*drag.Step(-10, DragBoundsOf(DragField::kTestFrame, 0, texts)), "5");
  drag.Begin(4, DragKindOf(DragField::kEndFrame, 0), "30", 0);
  EXPECT_EQ(*drag.Step(-100, DragBoundsOf(DragField::kEndFrame, 0, texts)), "5");
  EXPECT_EQ(*drag.Step(1000000, DragBoundsOf(DragField::kEndFrame, 0, texts)), "32000");

  // A negative whole number truncates towards zero.
  drag.Begin(5, DragKindOf(DragField::kZoneStep, 0), "0", 0);
  EXPECT_EQ(*drag.Step(-7, DragBoundsOf(DragField::kZoneStep, 0, texts)), "-3");
  // Percent kinds move by a tenth and stay within 0 .. 100.
  drag.Begin(6, kKindPercentage, "50.0 %", 0);
  EXPECT_EQ(*drag.Step(3, DragBoundsOf(DragField::kParameter, kKindPercentage, texts)), "50.3 %");
  EXPECT_EQ(*drag.Step(-1000, DragBoundsOf(DragField::kParameter, kKindPercentage, texts)), "0.0 %");
  drag.Begin(7, kKindSignedByteRange, "nan", 0);
  EXPECT_EQ(*drag.Step(-1000, DragBoundsOf(DragField::kParameter, kKindSignedByteRange, texts)), "-255");

  // A typed Right far outside the range does not turn Left's bounds around.
  texts.zone[2] = "-99999";
  const DragBounds left = DragBoundsOf(DragField::kZoneLeft, 0, texts);
  EXPECT_EQ(left.low, -32000);
  EXPECT_EQ(left.high, -32000);
}

TEST(ColourTexts, ThreeNumbersReadAndWritten) {
  const ColourNumbers c = ReadColourText("255 10 3");
  EXPECT_EQ(c.red, 255);
  EXPECT_EQ(c.green, 10);
  EXPECT_EQ(c.blue, 3);
  EXPECT_EQ(ColourText(ReadColourText("7")), "7 0 0");
  EXPECT_EQ(ColourText({1, 2, 3}), "1 2 3");
}

}  // namespace
