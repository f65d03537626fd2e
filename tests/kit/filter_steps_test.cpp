// The kit's shared filter steps: zone clipping, the row walk and its progress cadence, reading
// options, values and colours, and catalogue rows.
#include "core/kit/filter_steps.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/kit/catalogue_row.h"
#include "core/kit/plugin_kit.h"
#include "core/picture/picture.h"

namespace {

using namespace ombrix::kit;

TEST(ClipZone, OrdersCornersAndClipsToThePicture) {
  EXPECT_EQ(ClipZone(2, 3, 8, 9, 20, 10), (Zone{2, 3, 8, 9}));
  EXPECT_EQ(ClipZone(8, 9, 2, 3, 20, 10), (Zone{2, 3, 8, 9}));
  EXPECT_EQ(ClipZone(-5, -7, 30, 40, 20, 10), (Zone{0, 0, 20, 10}));
  EXPECT_EQ(ClipZone(30, 4, -5, 2, 20, 10), (Zone{0, 2, 20, 4}));
}

TEST(ClipZone, EmptyOnlyWhenWhollyOutside) {
  EXPECT_FALSE(ClipZone(21, 0, 25, 5, 20, 10));  // starts right of the picture
  EXPECT_FALSE(ClipZone(0, 11, 5, 15, 20, 10));  // starts below it
  EXPECT_FALSE(ClipZone(-9, 0, -1, 5, 20, 10));  // ends left of it
  EXPECT_FALSE(ClipZone(0, -9, 5, -1, 20, 10));  // ends above it
  EXPECT_FALSE(ClipZone(25, 0, 21, 5, 20, 10));  // swapped, still right of it
  // Touching the right or bottom edge keeps a zone with no columns or no rows.
  EXPECT_EQ(ClipZone(20, 0, 25, 5, 20, 10), (Zone{20, 0, 20, 5}));
  EXPECT_EQ(ClipZone(-3, 0, 0, 5, 20, 10), (Zone{0, 0, 0, 5}));
  EXPECT_EQ(ClipZone(0, 10, 5, 12, 20, 10), (Zone{0, 10, 5, 10}));
}

TEST(ColourFromTexts, ReadsThreeIntegersPlusOffsetTimesStepClamped) {
  EXPECT_EQ(ColourFromTexts("10 20 30", "0 0 0", 7), (Colour{10, 20, 30}));
  EXPECT_EQ(ColourFromTexts("10 20 30", "1 -5 100", 2), (Colour{12, 10, 230}));
  EXPECT_EQ(ColourFromTexts("300 -4 5", "0 0 0", 0), (Colour{255, 0, 5}));
  EXPECT_EQ(ColourFromTexts("0 0 0", "1 1 1", -3), (Colour{0, 0, 0}));
  EXPECT_EQ(ColourFromTexts("  +7\t8\n9 extra", "", 1), (Colour{7, 8, 9}));
  // Large numbers neither overflow the reading nor the product with the offset.
  EXPECT_EQ(ColourFromTexts("99999999999 1 2", "2000000000 0 -2000000000", 2000000000), (Colour{255, 1, 0}));
  EXPECT_EQ(ColourFromTexts("-99999999999 1 2", "0 0 0", 5), (Colour{0, 1, 2}));
}

TEST(ColourFromTexts, NumbersThatCannotBeReadCountAsZero) {
  EXPECT_EQ(ColourFromTexts("12 x 7", "0 0 0", 0), (Colour{12, 0, 0}));
  EXPECT_EQ(ColourFromTexts("", "0 0 0", 0), (Colour{0, 0, 0}));
  EXPECT_EQ(ColourFromTexts("5 6", "1", 10), (Colour{15, 6, 0}));
  EXPECT_EQ(ColourFromTexts(nullptr, nullptr, 10), (Colour{0, 0, 0}));
  EXPECT_EQ(ColourFromTexts("- 5 6 7", "0 0 0", 0), (Colour{0, 0, 0}));
}

// A context over a host-style descriptor copy with `slots` parameter records.
struct ContextFixture {
  explicit ContextFixture(int32_t slots) : parameters(size_t(slots)), values(size_t(slots) + 1), states(12) {
    descriptor.parameter_count = slots;
    descriptor.parameters = parameters.data();
    context.parameter_count = slots;
    context.option_count = 11;
    context.values = values.data();
    context.option_states = states.data();
    context.descriptor = &descriptor;
  }
  std::vector<ParameterRecord> parameters;
  std::vector<float> values;
  std::vector<int16_t> states;
  FilterDescriptor descriptor{};
  ApplyContext context{};
};

TEST(ReadColour, SlotsOutsideTheEntryFail) {
  ContextFixture f(11);
  std::strcpy(f.parameters[10].value, "1 2 3");
  std::strcpy(f.parameters[10].step, "1 1 1");
  f.context.frame_offset = 4;
  EXPECT_EQ(ReadColour(f.context, 10), (Colour{5, 6, 7}));
  EXPECT_FALSE(ReadColour(f.context, -1));
  EXPECT_FALSE(ReadColour(f.context, 12));  // above the context's count
  // Slot 11 equals the context's count, but a host copy holds only records 0..10.
  EXPECT_FALSE(ReadColour(f.context, 11));
  f.context.parameter_count = 5;
  EXPECT_FALSE(ReadColour(f.context, 6));
  EXPECT_TRUE(ReadColour(f.context, 5));
  f.context.descriptor = nullptr;
  EXPECT_FALSE(ReadColour(f.context, 1));
}

TEST(ContextReading, ValuesAndOptionsOutsideTheArraysReadAsUnset) {
  ContextFixture f(11);
  f.values[11] = 4.5f;
  f.values[3] = -2.0f;
  EXPECT_EQ(ParameterValue(f.context, 3), -2.0f);
  EXPECT_EQ(ParameterValue(f.context, 11), 4.5f);  // the array has count + 1 entries
  EXPECT_EQ(ParameterValue(f.context, 12), 0.0f);
  EXPECT_EQ(ParameterValue(f.context, -1), 0.0f);
  f.states[3] = 1;
  f.states[7] = -1;  // any non-zero state counts as set
  EXPECT_TRUE(OptionSet(f.context, 3));
  EXPECT_FALSE(OptionSet(f.context, 12));
  EXPECT_EQ(FirstSetOption(f.context, {1, 2, 3, 7}), 3);
  EXPECT_EQ(FirstSetOption(f.context, {7, 3}), 7);
  EXPECT_EQ(FirstSetOption(f.context, {1, 2}), 0);
  f.context.option_states = nullptr;
  EXPECT_EQ(FirstSetOption(f.context, {3}), 0);
}

// ---- The row walk, driven through the kit's own filter entry --------------------------------

struct FakeHost {
  Picture work;
  std::vector<std::pair<int32_t, int32_t>> starts;
  std::vector<int32_t> steps;
  int32_t stop_at = -1;
};
FakeHost* g_host = nullptr;

int32_t Width() { return g_host->work.Width(); }
int32_t Height() { return g_host->work.Height(); }
Picture* Work() { return &g_host->work; }
void Start(int32_t first, int32_t last) { g_host->starts.emplace_back(first, last); }
int32_t Step(int32_t n) {
  g_host->steps.push_back(n);
  return n == g_host->stop_at ? 0 : 1;
}

// Adds one to the blue byte of every pixel of the zone.
int32_t Brighten(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  return ForEachWorkPixel(*zone, [](uint8_t* p) { ++p[0]; });
}

const ParameterRow kRowParameters[] = {{2, "Amount", "3", "0", kKindInteger}, {11, "Too far", "0", "0", kKindInteger}};
const OptionRow kRowOptions[] = {{4, "On", 1, 2}};
const CatalogueRow kRow = {"Brighten", Brighten, "Kit.Hlp", 9, kRowParameters, kRowOptions};
const CatalogueRow* const kRows[] = {&kRow};

void Catalogue() { RegisterRows(kRows); }

const PluginRights kRights = {"Test", "All Rights Reserved.", 0, 0};
const int32_t kKinds[] = {1, 0};
const PluginExtension kExtension = {"Ombrix Plug-ins Extension", 0, Catalogue, 0};
const PluginInfo kInfo = ombrix::MakePluginInfo("Steps Test", &kRights, kKinds, &kExtension, nullptr);

class RowWalk : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(host_.work.Create(7, 35), 1);
    g_host = &host_;
    FilterEntry(&kInfo, kCommandInitialise, 0, nullptr);
  }
  void TearDown() override {
    FilterEntry(&kInfo, kCommandRelease, 0, nullptr);
    g_host = nullptr;
  }
  int32_t Apply(int32_t x0, int32_t y0, int32_t x1, int32_t y1, bool with_host = true) {
    ApplyContext context{x0, y0, x1, y1, 0, 11, 11, nullptr, nullptr, nullptr};
    FilterDescriptor named{};
    std::strcpy(named.name, "Brighten");
    CallRecord call{0, &context, &named};
    PictureServices pictures{nullptr, nullptr, nullptr, nullptr, nullptr, Work};
    SizeServices sizes{Width, Height, nullptr, nullptr, nullptr, nullptr};
    ProgressServices progress{Start, Step, nullptr, nullptr};
    HostBlock block{&call, with_host ? &pictures : nullptr, &sizes, &progress, nullptr};
    return FilterEntry(&kInfo, kCommandApply, 0, &block);
  }
  int Touched(int x, int y) const { return host_.work.Row(y)[3 * x]; }
  FakeHost host_;
};

TEST_F(RowWalk, VisitsTheZoneOnceWithStepsAtMultiplesOfTen) {
  EXPECT_EQ(Apply(6, 31, 2, 3), 1);
  EXPECT_EQ(host_.starts, (std::vector<std::pair<int32_t, int32_t>>{{3, 31}}));
  EXPECT_EQ(host_.steps, (std::vector<int32_t>{10, 20, 30}));
  for (int y = 0; y < 35; ++y)
    for (int x = 0; x < 7; ++x) ASSERT_EQ(Touched(x, y), x >= 2 && x < 6 && y >= 3 && y < 31) << x << ", " << y;
}

TEST_F(RowWalk, StopLeavesLaterRowsUntouched) {
  host_.stop_at = 20;
  EXPECT_EQ(Apply(0, 0, 7, 35), 0);
  EXPECT_EQ(host_.steps, (std::vector<int32_t>{0, 10, 20}));
  EXPECT_EQ(Touched(3, 19), 1);
  EXPECT_EQ(Touched(3, 20), 0);
  EXPECT_EQ(Touched(0, 34), 0);
}

TEST_F(RowWalk, EmptyZoneOrMissingPictureDoesNothing) {
  EXPECT_EQ(Apply(8, 0, 12, 5), 1);         // right of the picture
  EXPECT_EQ(Apply(0, 0, 7, 35, false), 1);  // the host gives no picture services
  EXPECT_TRUE(host_.starts.empty());
  EXPECT_TRUE(host_.steps.empty());
  // A zone on the bottom edge has no rows, but the walk still starts.
  EXPECT_EQ(Apply(0, 35, 7, 40), 1);
  EXPECT_EQ(host_.starts, (std::vector<std::pair<int32_t, int32_t>>{{35, 35}}));
  EXPECT_TRUE(host_.steps.empty());
}

TEST_F(RowWalk, CatalogueRowFillsTheDescriptor) {
  const FilterDescriptor* d = Filter(0);
  ASSERT_NE(d, nullptr);
  EXPECT_STREQ(d->name, "Brighten");
  EXPECT_STREQ(d->title, "Steps Test");
  EXPECT_STREQ(d->help_file, "Kit.Hlp");
  EXPECT_EQ(d->help_topic, 9);
  EXPECT_STREQ(d->parameters[2].value, "3");
  EXPECT_STREQ(d->options[4].name, "On");
  EXPECT_EQ(d->options[4].group, 2);
  EXPECT_EQ(d->parameter_count, 10);  // the refused slot 11 changed nothing
  // A row with a refused slot still registers, but reports it.
  EXPECT_EQ(RegisterRow(kRow), 0);
  EXPECT_EQ(FilterCount(), 2);
}

}  // namespace
