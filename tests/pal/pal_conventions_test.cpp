// What every palette filter shares: it works inside its zone only, reads INPUT without changing
// it, keeps the progress cadence, stops between rows when asked, and treats unordered or
// out-of-picture zones alike.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/pal/pal_test_support.h"

namespace pal_test {
namespace {

// Each filter with settings under which it changes most pixels of the test picture.
struct Configured {
  const char* name;
  std::function<void(Entry&)> configure;
  int32_t frame_offset = 0;
};

const std::vector<Configured>& AllFilters() {
  static const std::vector<Configured> filters = {
      {"Swap RGB", [](Entry&) {}},
      {"RGB Calculations", [](Entry& e) { e.Value(1, "100").Value(2, "-7.5"); }},
      {"Shift RGB", [](Entry&) {}},
      {"Move Plane", [](Entry&) {}},
      {"Black && White", [](Entry&) {}},
      {"Gray Scale", [](Entry&) {}},
      {"Brightness", [](Entry&) {}},
      {"Gamma Correction", [](Entry&) {}},
      {"Overexposure", [](Entry&) {}},
      {"Contrast", [](Entry&) {}},
      {"Antique", [](Entry&) {}},
      {"Fade", [](Entry& e) { e.Value(2, "200 100 50").Frames(0, 10); }, 4},
      {"Replace Color",
       [](Entry& e) {
         e.Value(1, "128 128 128").Value(3, "10 200 30").Value(5, "128").Value(6, "128").Value(7, "128");
       }},
      {"Kill Colors", [](Entry&) {}},
      {"Negative", [](Entry&) {}},
      {"Negative Light", [](Entry&) {}},
  };
  return filters;
}

// Test names and failure messages show the filter's name.
void PrintTo(const Configured& filter, std::ostream* os) { *os << filter.name; }

class EveryFilter : public ::testing::TestWithParam<Configured> {
 protected:
  Entry MakeEntry() const {
    Entry entry = Pal().MakeEntry(GetParam().name);
    GetParam().configure(entry);
    return entry;
  }
  Outcome Run(Corners zone) {
    ApplyCall call;
    call.zone = zone;
    call.frame_offset = GetParam().frame_offset;
    return Pal().Apply(MakeEntry(), *input_, call);
  }
  void TearDown() override { Pal().CancelFromRow(-1); }
  std::unique_ptr<Picture> input_ = TestPicture();
};

std::string Name(const ::testing::TestParamInfo<Configured>& info) {
  std::string name;
  for (const char* c = info.param.name; *c != '\0'; ++c)
    if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
  return name;
}

bool Inside(Corners z, int x, int y) { return x >= z.x0 && x < z.x1 && y >= z.y0 && y < z.y1; }

TEST_P(EveryFilter, ChangesOnlyItsZoneAndNeverInput) {
  const Outcome out = Run(kZone);
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(CheckUnchanged(*input_, *out.input), "");
  int changed = 0;
  for (int y = 0; y < input_->Height(); ++y) {
    for (int x = 0; x < input_->Width(); ++x) {
      const bool differs = !(PixelAt(*out.work, x, y) == PixelAt(*input_, x, y));
      if (Inside(kZone, x, y)) {
        changed += differs;
      } else {
        ASSERT_FALSE(differs) << "pixel (" << x << ", " << y << ") outside the zone changed";
      }
    }
  }
  EXPECT_GT(changed, kZone.x1 - kZone.x0) << "the settings should change the zone";
}

TEST_P(EveryFilter, ReportsProgressFromTheFirstZoneRowAtMultiplesOfTen) {
  const Outcome zone = Run(kZone);
  EXPECT_EQ(zone.starts, (std::vector<std::pair<int32_t, int32_t>>{{3, 29}}));
  EXPECT_EQ(zone.steps, (std::vector<int32_t>{10, 20}));
  const Outcome whole = Run(Corners{0, 0, 41, 33});
  EXPECT_EQ(whole.starts, (std::vector<std::pair<int32_t, int32_t>>{{0, 33}}));
  EXPECT_EQ(whole.steps, (std::vector<int32_t>{0, 10, 20, 30}));
}

TEST_P(EveryFilter, CancelAtRowTenLeavesRowsTenAndOnUntouched) {
  const Outcome full = Run(kZone);
  Pal().CancelFromRow(10);
  const Outcome cancelled = Run(kZone);
  EXPECT_EQ(cancelled.result, 0);
  EXPECT_EQ(cancelled.steps, (std::vector<int32_t>{10}));
  for (int y = 0; y < input_->Height(); ++y) {
    const Picture& want = y < 10 ? *full.work : *input_;
    for (int x = 0; x < input_->Width(); ++x)
      ASSERT_EQ(PixelAt(*cancelled.work, x, y), PixelAt(want, x, y)) << "pixel (" << x << ", " << y << ")";
  }
}

TEST_P(EveryFilter, UnorderedAndOversizedZonesAreOrderedAndClipped) {
  const Outcome ordered = Run(kZone);
  for (Corners swapped : {Corners{37, 29, 4, 3}, Corners{4, 29, 37, 3}, Corners{37, 3, 4, 29}}) {
    const Outcome out = Run(swapped);
    EXPECT_EQ(out.result, 1);
    EXPECT_EQ(CheckUnchanged(*ordered.work, *out.work), "");
  }
  const Outcome whole = Run(Corners{0, 0, 41, 33});
  const Outcome oversized = Run(Corners{100, 90, -5, -8});
  EXPECT_EQ(oversized.starts, (std::vector<std::pair<int32_t, int32_t>>{{0, 33}}));
  EXPECT_EQ(CheckUnchanged(*whole.work, *oversized.work), "");
}

TEST_P(EveryFilter, ZoneOutsideThePictureDoesNothing) {
  for (Corners outside : {Corners{42, 0, 60, 10}, Corners{60, 0, 42, 10}, Corners{0, 34, 10, 40},
                          Corners{-9, 0, -1, 10}, Corners{0, -9, 10, -1}}) {
    const Outcome out = Run(outside);
    EXPECT_EQ(out.result, 1);
    EXPECT_TRUE(out.starts.empty());
    EXPECT_TRUE(out.steps.empty());
    EXPECT_EQ(CheckUnchanged(*input_, *out.work), "");
  }
}

INSTANTIATE_TEST_SUITE_P(Pal, EveryFilter, ::testing::ValuesIn(AllFilters()), Name);

TEST(PalApply, FilterIsFoundByNameWhateverTheIndex) {
  auto input = TestPicture();
  ApplyCall call;
  call.filter_index = 0;  // points at "Swap RGB"
  const Outcome out = Pal().Apply("Negative", *input, call);
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(out.filter_index, 14);
  EXPECT_EQ(PixelAt(*out.work, 4, 3), Rgb(255, 255, 255));  // the black pixel, inverted

  FilterDescriptor unknown{};
  std::strcpy(unknown.name, "negative");  // names compare exactly
  const Outcome none = Pal().Apply(Entry(unknown), *input);
  EXPECT_EQ(none.result, 0);
  EXPECT_EQ(CheckUnchanged(*input, *none.work), "");
}

}  // namespace
}  // namespace pal_test
