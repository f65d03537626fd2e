// The picture filters' shared helpers, linked straight into the test program: resizing with its
// progress and restore, nearest-pixel scaling, the ellipse mask, random draws and disc smoothing.
#include "plugins/pic/pic_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/kit/plugin_kit.h"
#include "core/kit/random.h"
#include "tests/support/test_host.h"

namespace {

using namespace ombrix::pic;
using ombrix::testing::Bgr;
using ombrix::testing::MakePicture;
using ombrix::testing::PixelAt;

// A host block with progress services that record what the helpers report, installed in the
// kit as a filter call would install it.
struct Recorder {
  std::vector<std::pair<int32_t, int32_t>> starts;
  std::vector<int32_t> steps;
  std::vector<std::string> texts;
  int32_t cancel_from = -1;     // the first step that answers "stop"
  int32_t start_to_cancel = 0;  // counts starts: the cancel applies from this start on
};
Recorder* g_recorder = nullptr;

void Start(int32_t first, int32_t last) { g_recorder->starts.emplace_back(first, last); }
int32_t Step(int32_t n) {
  g_recorder->steps.push_back(n);
  const bool armed = int32_t(g_recorder->starts.size()) > g_recorder->start_to_cancel;
  return armed && g_recorder->cancel_from >= 0 && n >= g_recorder->cancel_from ? 0 : 1;
}
void Text(const char* text) { g_recorder->texts.emplace_back(text); }
void Show(int32_t) {}

class HelperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_recorder = &recorder_;
    static const PluginInfo info{};
    // An unknown command only records the host block.
    ombrix::kit::FilterEntry(&info, 99, 0, &block_);
  }
  void TearDown() override {
    static const PluginInfo info{};
    ombrix::kit::FilterEntry(&info, 99, 0, nullptr);
    g_recorder = nullptr;
  }
  Recorder recorder_;
  ProgressServices progress_{Start, Step, Text, Show};
  HostBlock block_{nullptr, nullptr, nullptr, &progress_, nullptr};
};

Bgr Grey(int v) { return Bgr{uint8_t(v), uint8_t(v), uint8_t(v)}; }

TEST_F(HelperTest, NarrowingAveragesTheSourceColumnsAndRows) {
  // 4 -> 2 columns: step 2, each target the mean of two columns.
  const int values[] = {10, 20, 30, 51};
  auto picture = MakePicture(4, 3, [&](int x, int) { return Grey(values[x]); });
  ASSERT_TRUE(ResizePicture(*picture, 2, 3));
  ASSERT_EQ(picture->Width(), 2);
  EXPECT_EQ(PixelAt(*picture, 0, 1), Grey(15));
  EXPECT_EQ(PixelAt(*picture, 1, 1), Grey(40));  // (30 + 51) / 2, integer mean
  // 3 -> 2: step 1.5; target 1 starts at truncate(1.5) = 1 and takes columns 1 and 2.
  auto three = MakePicture(3, 1, [&](int x, int) { return Grey(values[x]); });
  ASSERT_TRUE(ResizePicture(*three, 2, 1));
  EXPECT_EQ(PixelAt(*three, 0, 0), Grey(15));
  EXPECT_EQ(PixelAt(*three, 1, 0), Grey(25));
  // Rows likewise: 4 -> 2 rows.
  auto tall = MakePicture(2, 4, [&](int, int y) { return Grey(values[y]); });
  ASSERT_TRUE(ResizePicture(*tall, 2, 2));
  EXPECT_EQ(PixelAt(*tall, 1, 0), Grey(15));
  EXPECT_EQ(PixelAt(*tall, 1, 1), Grey(40));
}

TEST_F(HelperTest, WideningInterpolatesBetweenNeighbours) {
  // 3 -> 7 columns: step 7 / 2 = 3.5. Column 0 spreads over targets 0..3, column 1 over 3..6
  // (target 3 taken by the later column), column 2 starts at 7, beyond the picture.
  const int values[] = {0, 90, 30};
  auto picture = MakePicture(3, 4, [&](int x, int) { return Grey(values[x]); });
  ASSERT_TRUE(ResizePicture(*picture, 7, 4));
  const int expected[] = {0, 30, 60, 90, 70, 50, 30};
  for (int y = 0; y < 4; ++y)  // every row, the first and last included
    for (int x = 0; x < 7; ++x) EXPECT_EQ(PixelAt(*picture, x, y), Grey(expected[x])) << x << ", " << y;
  // 2 -> 4 rows: step 4 / 1; row 0 spreads over targets 0..3 toward row 1.
  auto rows = MakePicture(1, 2, [&](int, int y) { return Grey(y == 0 ? 30 : 120); });
  ASSERT_TRUE(ResizePicture(*rows, 1, 4));
  const int down[] = {30, 60, 90, 120};
  for (int y = 0; y < 4; ++y) EXPECT_EQ(PixelAt(*rows, 0, y), Grey(down[y])) << y;
}

TEST_F(HelperTest, ProgressAtMultiplesOfFiveWithPassMessages) {
  auto picture = MakePicture(12, 12, [](int x, int y) { return Grey(x + y); });
  ASSERT_TRUE(ResizePicture(*picture, 6, 6));  // narrowing both ways
  EXPECT_EQ(recorder_.texts, (std::vector<std::string>{"Computing extrapolations...", "Resizing picture..."}));
  EXPECT_EQ(recorder_.starts, (std::vector<std::pair<int32_t, int32_t>>{{0, 12}, {0, 6}}));
  // Height pass by columns 0..11, width pass by rows 0..5.
  EXPECT_EQ(recorder_.steps, (std::vector<int32_t>{0, 5, 10, 0, 5}));

  recorder_ = Recorder{};
  auto small = MakePicture(12, 3, [](int x, int y) { return Grey(x + y); });
  ASSERT_TRUE(ResizePicture(*small, 12, 9));  // widening the height only
  EXPECT_EQ(recorder_.texts, (std::vector<std::string>{"Computing extrapolations..."}));
  // Widening the height steps at the columns that are not multiples of 5.
  EXPECT_EQ(recorder_.steps, (std::vector<int32_t>{1, 2, 3, 4, 6, 7, 8, 9, 11}));
}

TEST_F(HelperTest, AStoppedPassRestoresThePicture) {
  auto picture = MakePicture(12, 12, [](int x, int y) { return Bgr{uint8_t(x), uint8_t(y), uint8_t(x * y)}; });
  auto before = ombrix::testing::CopyOf(*picture);
  recorder_.cancel_from = 5;
  recorder_.start_to_cancel = 1;  // the height pass runs through; the width pass stops at row 5
  EXPECT_FALSE(ResizePicture(*picture, 6, 6));
  ASSERT_EQ(picture->Width(), 12);
  ASSERT_EQ(picture->Height(), 12);
  EXPECT_EQ(ombrix::testing::CheckUnchanged(*before, *picture), "");
}

TEST_F(HelperTest, ScalingTakesTheNearestPixel) {
  auto picture = MakePicture(4, 2, [](int x, int y) { return Bgr{uint8_t(x), uint8_t(y), 0}; });
  ASSERT_TRUE(ScalePicture(*picture, 2, 4));
  EXPECT_EQ(recorder_.texts, std::vector<std::string>{"Scaling picture..."});
  // Columns step 2, rows step 0.5.
  EXPECT_EQ(PixelAt(*picture, 1, 0), (Bgr{2, 0, 0}));
  EXPECT_EQ(PixelAt(*picture, 1, 1), (Bgr{2, 0, 0}));
  EXPECT_EQ(PixelAt(*picture, 0, 3), (Bgr{0, 1, 0}));
}

TEST_F(HelperTest, EllipseMaskCoversItsInsideOnly) {
  SpanMask mask;
  ASSERT_TRUE(mask.Reset(100));
  mask.AddEllipse(50, 40, 30, 20);
  EXPECT_TRUE(mask.Inside(50, 40));
  EXPECT_TRUE(mask.Inside(21, 40));
  EXPECT_TRUE(mask.Inside(50, 59));
  EXPECT_FALSE(mask.Inside(81, 40));
  EXPECT_FALSE(mask.Inside(50, 61));
  EXPECT_FALSE(mask.Inside(22, 22));  // outside the curve near the corner of its box
}

TEST_F(HelperTest, RandomDrawsInTheirOrder) {
  using ombrix::kit::Random;
  using ombrix::kit::SetRandomState;
  for (uint32_t seed : {1u, 7u, 12345u}) {
    SetRandomState(seed);
    const int s1 = Random(), m1 = Random();
    SetRandomState(seed);
    EXPECT_EQ(OffsetSignFirst(9), s1 % 2 == 0 ? -(m1 % 9) : m1 % 9);
    SetRandomState(seed);
    const int m2 = Random(), s2 = Random();
    SetRandomState(seed);
    EXPECT_EQ(OffsetMagnitudeFirst(9), s2 % 2 != 0 ? -(m2 % 9) : m2 % 9);
    // A bound below 1 draws only the sign.
    SetRandomState(seed);
    OffsetSignFirst(0);
    EXPECT_EQ(Random(), m1);
    SetRandomState(seed);
    EXPECT_EQ(OffsetMagnitudeFirst(0), 0);
    EXPECT_EQ(Random(), s2);
    // One chance in n draws once for n >= 1 and never below.
    SetRandomState(seed);
    EXPECT_EQ(OneChanceIn(3), s1 % 3 == 0);
    EXPECT_EQ(Random(), m1);
    SetRandomState(seed);
    EXPECT_TRUE(OneChanceIn(0));
    EXPECT_EQ(Random(), s1);
  }
}

TEST_F(HelperTest, DiscEdgeSmoothingTouchesOnlyTheRing) {
  auto picture = MakePicture(21, 21, [](int x, int y) { return Grey((x * 37 + y * 91) % 256); });
  auto before = ombrix::testing::CopyOf(*picture);
  SmoothDiscEdge(picture->rows, 21, 21, 10, 10, 8);  // ring 56 < e <= 66
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 21; ++x) {
      const int e = (x - 10) * (x - 10) + (y - 10) * (y - 10);
      if (e <= 56 || e > 66) {
        EXPECT_EQ(PixelAt(*picture, x, y), PixelAt(*before, x, y)) << x << ", " << y;
      }
    }
  // (2, 10): e = 64, the first ring pixel of its row; its neighbours above were smoothed first
  // only where they are in the ring themselves: (1..3, 9): e = 82, 65, 50 -> (2, 9) is in.
  const Bgr smoothed_above = PixelAt(*picture, 2, 9);
  int sum = 0;
  for (int y = 9; y <= 11; ++y)
    for (int x = 1; x <= 3; ++x) sum += (x == 2 && y == 9) ? smoothed_above.blue : PixelAt(*before, x, y).blue;
  EXPECT_EQ(PixelAt(*picture, 2, 10).blue, sum / 9);
}

TEST_F(HelperTest, ColumnBandsStepAsAColumnWalkAndStopBeforeTheStoppingColumn) {
  struct Case {
    int64_t first, last, step;
    int32_t cancel_from;
  };
  // Whole walks and walks stopped inside and at the start of a band, for several steps.
  const Case cases[] = {{0, 600, 1, -1},  {3, 700, 2, -1},  {0, 1000, 7, -1}, {5, 900, 300, -1}, {0, 600, 1, 300},
                        {0, 600, 1, 256}, {1, 777, 3, 420}, {0, 50, 1, 0},    {0, 0, 1, -1}};
  for (const Case& c : cases) {
    recorder_ = Recorder{};
    recorder_.cancel_from = c.cancel_from;
    StartProgress(0, 1);
    std::vector<int64_t> done;
    const int32_t result = WalkColumnBands(c.first, c.last, c.step, [&](int64_t from, int64_t to) {
      for (int64_t i = from; i < to; i += c.step) done.push_back(i);
    });
    // What a column-by-column walk does: a step at every multiple of 10, stopping there.
    std::vector<int32_t> steps;
    std::vector<int64_t> expected;
    int32_t expected_result = 1;
    for (int64_t i = c.first; i < c.last; i += c.step) {
      if (i % 10 == 0) {
        steps.push_back(int32_t(i));
        if (c.cancel_from >= 0 && i >= c.cancel_from) {
          expected_result = 0;
          break;
        }
      }
      expected.push_back(i);
    }
    EXPECT_EQ(result, expected_result) << c.first << " " << c.step;
    EXPECT_EQ(recorder_.steps, steps) << c.first << " " << c.step;
    EXPECT_EQ(done, expected) << c.first << " " << c.step;
  }
}

}  // namespace
