// Displace Map, Combinate and Rub against per-pixel references in the three addressing modes
// with second pictures smaller than, equal to and larger than the host, and the cases people
// rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "tests/com/com_test_support.h"

namespace com_test {
namespace {

struct FilterCase {
  std::string label;
  std::string filter;
  int option = 0;  // the operator or rub mode (option slot); 0 for Displace Map
  Mode mode = Mode::kNormal;
  int width = 13, height = 9;
  bool negative = false;
  float dx = 0, dy = 0;
  float cx = -1, cy = -1, k = 0.2f;  // Displace Map
};

void PrintTo(const FilterCase& c, std::ostream* os) { *os << c.label; }

std::string Number(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", double(v));  // reads back as the same float
  return text;
}

int NegativeSlot(const std::string& filter) { return filter == "Combinate " ? 7 : 6; }

Entry MakeEntry(const FilterCase& c, const std::string& path) {
  Entry e = Com().MakeEntry(c.filter);
  e.Value(1, path);
  const int offset_slot = c.filter == "Displace Map" ? 3 : 2;
  e.Value(offset_slot, Number(c.dx)).Value(offset_slot + 1, Number(c.dy));
  if (c.filter == "Displace Map") e.Value(5, Number(c.cx)).Value(6, Number(c.cy)).Value(8, Number(c.k));
  if (c.option != 0) e.Select(c.option);
  e.State(NegativeSlot(c.filter), c.negative);
  e.Select(c.mode == Mode::kNormal ? 8 : c.mode == Mode::kStretch ? 9 : 10);
  return e;
}

uint8_t Combine(int option, int p, int s) {
  int r = p;
  switch (option) {
    case 1:
      r = p & s;
      break;
    case 2:
      r = p | s;
      break;
    case 3:
      r = p ^ s;
      break;
    case 4:
      r = p + s;
      break;
    case 5:
      r = p - s;
      break;
    case 6:
      r = std::abs(p - s);
      break;
  }
  return uint8_t(std::clamp(r, 0, 255));
}

// The filter of the case at pixel p = (x, y) of the host picture, written from the rules.
Bgr Reference(const FilterCase& c, const Picture& second, const Picture& host, Bgr p, int x, int y) {
  Bgr s = ReferenceSecond(second, host, x, y, c.dx, c.dy, c.mode);
  if (c.negative) s = Inverted(s);
  if (c.filter == "Displace Map") {
    const double h = double(SumOf(s)) * (1.0 / 3.0) * double(c.k);
    const float u = float(double(x) + h * double(c.cx));
    const float v = float(double(y) + h * double(c.cy));
    return ReferenceSample(host, u, v, Bgr{}, true);
  }
  if (c.filter == "Combinate ")
    return Bgr{Combine(c.option, p.blue, s.blue), Combine(c.option, p.green, s.green), Combine(c.option, p.red, s.red)};
  switch (c.option) {
    case 1:
      return ReferenceIntensity(p, MeanOf(s));
    case 2:
      return ReferenceIntensity(s, MeanOf(p));
    case 3:
      return SumOf(s) < SumOf(p) ? s : p;
    default:
      return SumOf(p) < SumOf(s) ? s : p;
  }
}

class FilterReference : public ComTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(FilterReference, MatchesThePerPixelReference) {
  const FilterCase& c = GetParam();
  auto host = HostPicture();
  auto second = SecondPicture(c.width, c.height, 21);
  const std::string path = WriteTarga(*second, "second.tga");
  ExpectMatchesReference(MakeEntry(c, path), *host,
                         [&](Bgr p, int x, int y) { return Reference(c, *second, *host, p, x, y); });
}

std::vector<FilterCase> AllCases() {
  struct Size {
    int width, height;
  };
  const Size sizes[] = {{13, 9}, {1, 1}, {97, 71}};
  const char* mode_names[] = {"Normal", "Stretch", "Repeat"};
  struct Offsets {
    float dx, dy;
  };
  // Whole, fractional, and one that puts the zone's first point between -1 and 0, where Repeat
  // truncates toward zero.
  const Offsets offsets[] = {{0, 0}, {2.75f, -1.5f}, {-4.5f, -3.25f}};
  std::vector<FilterCase> cases;
  auto add = [&](const std::string& filter, const std::string& label, int option, int variant) {
    for (int m = 0; m < 3; ++m) {
      FilterCase c;
      c.filter = filter;
      c.option = option;
      c.mode = static_cast<Mode>(m);
      const Size size = sizes[size_t(variant + m) % 3];
      c.width = size.width;
      c.height = size.height;
      c.negative = (variant + m) % 2 == 1;
      c.dx = offsets[size_t(variant * 2 + m) % 3].dx;
      c.dy = offsets[size_t(variant * 2 + m) % 3].dy;
      c.label = label + mode_names[m] + std::to_string(c.width) + "x" + std::to_string(c.height) +
                (c.negative ? "Negative" : "");
      cases.push_back(c);
    }
  };
  const char* operators[] = {"And", "Or", "XOr", "Add", "Sub", "Difference"};
  for (int op = 1; op <= 6; ++op) add("Combinate ", std::string("Combinate") + operators[op - 1], op, op);
  const char* rub_modes[] = {"Tint", "Colorize", "Minimum", "Maximum"};
  for (int mode = 1; mode <= 4; ++mode) add("Rub", std::string("Rub") + rub_modes[mode - 1], mode, mode);
  add("Displace Map", "DisplaceDefaults", 0, 0);
  add("Displace Map", "DisplaceCoefficients", 0, 1);
  for (size_t i = cases.size() - 3; i < cases.size(); ++i) cases[i].cx = 0.75f, cases[i].cy = -2.5f, cases[i].k = 0.13f;
  return cases;
}

std::string CaseName(const ::testing::TestParamInfo<FilterCase>& param) { return param.param.label; }

INSTANTIATE_TEST_SUITE_P(Com, FilterReference, ::testing::ValuesIn(AllCases()), CaseName);

// ---- Combinate -----------------------------------------------------------------------------

class ComFilters : public ComTest {
 protected:
  Bgr CombineOnePixel(int option, Bgr pixel, Bgr sample) {
    auto host = MakePicture(1, 1, [&](int, int) { return pixel; });
    auto second = MakePicture(1, 1, [&](int, int) { return sample; });
    FilterCase c;
    c.filter = "Combinate ";
    c.option = option;
    const Outcome out = Com().Apply(MakeEntry(c, WriteTarga(*second, "one.tga")), *host);
    EXPECT_EQ(out.result, 1);
    return PixelAt(*out.work, 0, 0);
  }
};

TEST_F(ComFilters, CombinateArithmeticIsClamped) {
  const Bgr p = Rgb(200, 100, 0), s = Rgb(100, 200, 255);
  EXPECT_EQ(CombineOnePixel(4, p, s), Rgb(255, 255, 255));  // Add
  EXPECT_EQ(CombineOnePixel(5, p, s), Rgb(100, 0, 0));      // Sub, both ways
  EXPECT_EQ(CombineOnePixel(5, s, p), Rgb(0, 100, 255));
  EXPECT_EQ(CombineOnePixel(6, p, s), Rgb(100, 100, 255));  // Difference, both ways
  EXPECT_EQ(CombineOnePixel(6, s, p), Rgb(100, 100, 255));
  EXPECT_EQ(CombineOnePixel(3, Rgb(0xF0, 0x0F, 0xAA), Rgb(0xFF, 0xFF, 0x55)), Rgb(0x0F, 0xF0, 0xFF));  // XOr
}

TEST_F(ComFilters, RepeatOffsetsWrapWholeTurns) {
  auto host = HostPicture();
  const std::string path = WriteTarga(*SecondPicture(13, 9, 4), "second.tga");
  auto run = [&](float dx, float dy) {
    FilterCase c;
    c.filter = "Combinate ";
    c.option = 3;
    c.mode = Mode::kRepeat;
    c.dx = dx, c.dy = dy;
    return Com().Apply(MakeEntry(c, path), *host);
  };
  const Outcome three = run(3, 1);
  EXPECT_EQ(CheckUnchanged(*three.work, *run(2 * 13 + 3, 1 + 9).work), "");
  EXPECT_EQ(CheckUnchanged(*three.work, *run(3 - 2 * 13, 1 - 5 * 9).work), "");
  EXPECT_EQ(CheckUnchanged(*three.work, *run(3.9f, 1.2f).work), "") << "offsets are truncated";
  EXPECT_NE(CheckUnchanged(*three.work, *run(4, 1).work), "");
}

TEST_F(ComFilters, StretchPointsAreFormedInExtendedPrecision) {
  // Over a 38-wide host a 81-wide second picture stretches by 81/38; with the X Offset
  // 0.419752598 the point of column 16 is (16 + offset) x scale, which is 35 exactly when formed
  // in extended precision and rounded once, but 34.9999962 when the sum is rounded to single
  // precision first, and the interpolation toward column 35 then falls one short.
  auto host = MakePicture(38, 4, [](int, int) { return Rgb(0, 0, 0); });
  auto ramp = MakePicture(81, 8, [](int x, int) { return Rgb(3 * x, 0, 0); });
  FilterCase c;
  c.filter = "Combinate ";
  c.option = 2;  // Or over black: the sample itself
  c.mode = Mode::kStretch;
  c.dx = 0.419752598f;
  const Outcome out = Com().Apply(MakeEntry(c, WriteTarga(*ramp, "ramp.tga")), *host);
  ASSERT_EQ(out.result, 1);
  EXPECT_EQ(PixelAt(*out.work, 16, 1).red, 105);
  EXPECT_EQ(ReferencePoint(16, c.dx, 81.0f / 38.0f, Mode::kStretch), 35.0f);
  EXPECT_LT((16.0f + c.dx) * (81.0f / 38.0f), 35.0f) << "single-precision sums would differ here";
}

// ---- Displace Map --------------------------------------------------------------------------

TEST_F(ComFilters, DisplaceMapWithZeroCoefficientsLeavesTheInputZone) {
  auto host = HostPicture();
  FilterCase c;
  c.filter = "Displace Map";
  c.cx = 0, c.cy = 0, c.k = 7.5f;
  const Outcome out = Com().Apply(MakeEntry(c, WriteTarga(*SecondPicture(41, 33, 8), "map.tga")), *host);
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(CheckUnchanged(*out.input, *out.work), "");
}

TEST_F(ComFilters, DisplaceMapWhiteUnderDefaultsTakesThePixelFiftyOneBefore) {
  // INPUT: column 0 is 200 in red, the last column 0, everything else noise.
  auto host = NoisePicture(120, 90, 17);
  for (int y = 0; y < 90; ++y) {
    SetPixelAt(*host, 0, y, Rgb(200, 60, 60));
    SetPixelAt(*host, 119, y, Rgb(0, 60, 60));
  }
  auto white = MakePicture(120, 90, [](int, int) { return Rgb(255, 255, 255); });
  FilterCase c;
  c.filter = "Displace Map";
  const Outcome out = Com().Apply(MakeEntry(c, WriteTarga(*white, "white.tga")), *host);
  ASSERT_EQ(out.result, 1);
  // Far from the origin the point x - 51.00000076 rounds to the pixel 51 before.
  for (int y = 70; y < 90; ++y)
    for (int x = 70; x < 120; ++x)
      ASSERT_EQ(PixelAt(*out.work, x, y), PixelAt(*host, x - 51, y - 51)) << x << ", " << y;
  // At x = 51 the point lies 0.76 millionths before column 0 and keeps that in single
  // precision: the interpolation toward the wrapped last column (0) takes 200 just below 200.
  // (A displacement rounded to single precision first would land on column 0 exactly.)
  EXPECT_EQ(PixelAt(*out.work, 51, 80).red, 199);
  EXPECT_EQ(PixelAt(*out.work, 51, 80).green, 60);
}

// ---- Rub -----------------------------------------------------------------------------------

TEST_F(ComFilters, RubMinimumNeverRaisesAndMaximumNeverLowersTheChannelSum) {
  auto host = HostPicture();
  const std::string path = WriteTarga(*SecondPicture(41, 33, 6), "second.tga");
  for (int option : {3, 4}) {
    for (int mode = 0; mode < 3; ++mode) {
      FilterCase c;
      c.filter = "Rub";
      c.option = option;
      c.mode = static_cast<Mode>(mode);
      c.dx = 1.5f;
      const Outcome out = Com().Apply(MakeEntry(c, path), *host);
      int changed = 0;
      for (int y = 0; y < host->Height(); ++y)
        for (int x = 0; x < host->Width(); ++x) {
          const int before = SumOf(PixelAt(*host, x, y)), after = SumOf(PixelAt(*out.work, x, y));
          changed += before != after;
          if (option == 3) {
            ASSERT_LE(after, before) << x << ", " << y;
          } else {
            ASSERT_GE(after, before) << x << ", " << y;
          }
        }
      EXPECT_GT(changed, 100) << "option " << option << " mode " << mode;
    }
  }
}

}  // namespace
}  // namespace com_test
