// Compose: keyed and solid composition with alpha planes and transparency, in the three
// addressing modes, against a per-pixel reference; and the cases people rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "tests/com/com_test_support.h"

namespace com_test {
namespace {

struct ComposeCase {
  const char* label;
  Mode mode = Mode::kNormal;
  int width = 13, height = 9;  // second picture
  bool alpha_plane = false;    // written as a 32-bit Targa with its plane
  bool use_alpha = true;       // option 4
  bool keyed = true;           // option 2, else 3 "Solid Bloc"
  bool negative = false;       // option 6
  int dx = 0, dy = 0;
  float transparency = 0.0f;
  int threshold = 0;
  Bgr neutral = Rgb(0, 0, 255);
};

void PrintTo(const ComposeCase& c, std::ostream* os) { *os << c.label; }

// Compose of pixel p at (x, y), written from the rules.
Bgr ReferenceCompose(const ComposeCase& c, const Picture& second, const Picture& host, Bgr p, int x, int y) {
  const float sx = float(second.Width()) / float(host.Width());
  const float sy = float(second.Height()) / float(host.Height());
  const float u = ReferencePoint(x, c.dx, sx, c.mode), v = ReferencePoint(y, c.dy, sy, c.mode);
  Bgr s = ReferenceSample(second, u, v, Bgr{}, c.mode == Mode::kRepeat);
  if (c.negative) s = Inverted(s);
  const long long t = c.threshold;
  if (c.keyed && std::abs(s.red - c.neutral.red) <= 2 * t && std::abs(s.green - c.neutral.green) <= t &&
      std::abs(s.blue - c.neutral.blue) <= 4 * t)
    return p;
  int a = 255;
  if (c.use_alpha && second.ExtraPlane() != nullptr)
    a = ReferenceAlpha(second, u, v, c.mode == Mode::kStretch ? 255 : 0, c.mode == Mode::kRepeat);
  const double opacity = 1.0 - 0.01 * double(c.transparency);
  const int k = std::clamp(int(a * opacity), 0, 255);
  auto mix = [k](int pc, int sc) { return uint8_t((pc * 256 + k * (sc - pc)) >> 8); };
  return Bgr{mix(p.blue, s.blue), mix(p.green, s.green), mix(p.red, s.red)};
}

class ComposeTest : public ComTest {
 protected:
  Entry MakeEntry(const std::string& picture_path) {
    Entry e = Com().MakeEntry("Compose");
    e.Value(1, picture_path);
    return e;
  }
};

class ComposeReference : public ComposeTest, public ::testing::WithParamInterface<ComposeCase> {};

TEST_P(ComposeReference, MatchesThePerPixelReference) {
  const ComposeCase& c = GetParam();
  auto host = HostPicture();
  auto second = SecondPicture(c.width, c.height, 5, c.alpha_plane);
  const std::string path = WriteTarga(*second, "second.tga", c.alpha_plane ? 32 : 24);
  Entry e = MakeEntry(path);
  e.Value(2, std::to_string(c.dx)).Value(3, std::to_string(c.dy));
  char transparency[32];
  std::snprintf(transparency, sizeof transparency, "%g %%", double(c.transparency));
  e.Value(4, transparency).Value(6, std::to_string(c.threshold));
  e.Value(5,
          std::to_string(c.neutral.red) + " " + std::to_string(c.neutral.green) + " " + std::to_string(c.neutral.blue));
  e.Select(c.keyed ? 2 : 3).State(4, c.use_alpha).State(6, c.negative);
  e.Select(c.mode == Mode::kNormal ? 8 : c.mode == Mode::kStretch ? 9 : 10);
  ExpectMatchesReference(e, *host, [&](Bgr p, int x, int y) { return ReferenceCompose(c, *second, *host, p, x, y); });
}

std::string CaseName(const ::testing::TestParamInfo<ComposeCase>& param) { return param.param.label; }

ComposeCase Case(const char* label, std::function<void(ComposeCase&)> change) {
  ComposeCase c;
  c.label = label;
  change(c);
  return c;
}

INSTANTIATE_TEST_SUITE_P(
    Compose, ComposeReference,
    ::testing::Values(
        Case("Defaults", [](ComposeCase&) {}), Case("KeyedWithThreshold", [](ComposeCase& c) { c.threshold = 3; }),
        Case("SolidBlocHalfTransparent", [](ComposeCase& c) { c.keyed = false, c.transparency = 30; }),
        Case("NegativeOffsets", [](ComposeCase& c) { c.negative = true, c.dx = -5, c.dy = 4, c.threshold = 2; }),
        Case("AlphaNormal", [](ComposeCase& c) { c.alpha_plane = true, c.dx = 3, c.dy = -2, c.transparency = 20; }),
        Case("AlphaPlaneIgnored", [](ComposeCase& c) { c.alpha_plane = true, c.use_alpha = false; }),
        Case("AlphaStretch", [](ComposeCase& c) { c.alpha_plane = true, c.mode = Mode::kStretch, c.dx = 2; }),
        Case("StretchLargerPicture",
             [](ComposeCase& c) { c.mode = Mode::kStretch, c.width = 97, c.height = 71, c.keyed = false; }),
        Case("AlphaRepeat",
             [](ComposeCase& c) { c.alpha_plane = true, c.mode = Mode::kRepeat, c.dx = -30, c.dy = 17; }),
        Case("RepeatOnePixel", [](ComposeCase& c) { c.mode = Mode::kRepeat, c.width = 1, c.height = 1; }),
        Case("StretchOnePixel",
             [](ComposeCase& c) { c.mode = Mode::kStretch, c.width = 1, c.height = 1, c.alpha_plane = true; }),
        Case("NormalLargerPicture", [](ComposeCase& c) { c.width = 97, c.height = 71, c.dx = -40, c.dy = -30; })),
    CaseName);

TEST_F(ComposeTest, FractionalOffsetsActAsTheirTruncation) {
  auto host = HostPicture();
  const std::string path = WriteTarga(*SecondPicture(13, 9, 5), "second.tga");
  Entry whole = MakeEntry(path);
  whole.Value(2, "2").Value(3, "-1").Select(9);
  Entry fractional = MakeEntry(path);
  fractional.Value(2, "2.9").Value(3, "-1.7").Select(9);
  const Outcome a = Com().Apply(whole, *host);
  const Outcome b = Com().Apply(fractional, *host);
  EXPECT_EQ(CheckUnchanged(*a.work, *b.work), "");
  EXPECT_NE(CheckUnchanged(*host, *a.work), "");
}

TEST_F(ComposeTest, PureBlueIsTransparentUnderDefaultsAndTheRestIsLaidAtFullWeight) {
  auto host = HostPicture();
  auto second =
      MakePicture(41, 33, [](int x, int y) { return (x * y) % 4 == 1 ? Rgb(0, 0, 255) : Rgb(x * 6, y * 7, 250); });
  const std::string path = WriteTarga(*second, "blue.tga");
  ExpectMatchesReference(MakeEntry(path), *host, [&](Bgr p, int x, int y) {
    const Bgr s = PixelAt(*second, x, y);
    if (s == Rgb(0, 0, 255)) return p;
    auto mix = [](int pc, int sc) { return uint8_t((pc * 256 + 255 * (sc - pc)) >> 8); };
    return Bgr{mix(p.blue, s.blue), mix(p.green, s.green), mix(p.red, s.red)};
  });
}

TEST_F(ComposeTest, ThresholdTenAllowsTwentyTenAndFortyButNotTwentyOne) {
  auto host = MakePicture(2, 1, [](int, int) { return Rgb(90, 90, 90); });
  auto second = MakePicture(2, 1, [](int x, int) { return x == 0 ? Rgb(20, 10, 215) : Rgb(21, 10, 215); });
  Entry e = MakeEntry(WriteTarga(*second, "near.tga"));
  e.Value(6, "10");
  const Outcome out = Com().Apply(e, *host);
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(PixelAt(*out.work, 0, 0), Rgb(90, 90, 90));
  // 90 toward (21, 10, 215) at k = 255: (90 x 256 + 255 x (s - 90)) >> 8
  EXPECT_EQ(PixelAt(*out.work, 1, 0), Rgb(21, 10, 214));
  // One below the tolerance in green and blue still keys; one above does not.
  auto beyond = MakePicture(2, 1, [](int x, int) { return x == 0 ? Rgb(0, 11, 255) : Rgb(0, 0, 214); });
  Entry f = MakeEntry(WriteTarga(*beyond, "beyond.tga"));
  f.Value(6, "10");
  const Outcome other = Com().Apply(f, *host);
  EXPECT_EQ(PixelAt(*other.work, 0, 0), Rgb(0, 11, 254));
  EXPECT_EQ(PixelAt(*other.work, 1, 0), Rgb(0, 0, 213));
}

TEST_F(ComposeTest, FullWeightStopsOneStepShortOfALighterSample) {
  auto host = MakePicture(1, 1, [](int, int) { return Rgb(0, 255, 0); });
  auto second = MakePicture(1, 1, [](int, int) { return Rgb(255, 0, 128); });
  const Outcome out = Com().Apply(MakeEntry(WriteTarga(*second, "one.tga")), *host);
  EXPECT_EQ(PixelAt(*out.work, 0, 0), Rgb(254, 0, 127));
}

TEST_F(ComposeTest, TransparencyAtOrBeyondAHundredPercentLeavesThePicture) {
  auto host = HostPicture();
  const std::string path = WriteTarga(*SecondPicture(41, 33, 9), "second.tga");
  for (const char* transparency : {"100 %", "150 %", "1000 %"}) {
    Entry e = MakeEntry(path);
    e.Value(4, transparency).Select(3);
    const Outcome out = Com().Apply(e, *host);
    EXPECT_EQ(out.result, 1);
    EXPECT_EQ(CheckUnchanged(*host, *out.work), "") << transparency;
  }
}

TEST_F(ComposeTest, TransparencyBelowZeroLaysTheSampleAtFullWeight) {
  auto host = HostPicture();
  const std::string path = WriteTarga(*SecondPicture(41, 33, 9), "second.tga");
  Entry zero = MakeEntry(path);
  zero.Select(3);
  const Outcome full = Com().Apply(zero, *host);
  for (const char* transparency : {"-50 %", "-400 %"}) {
    Entry e = MakeEntry(path);
    e.Value(4, transparency).Select(3);
    const Outcome out = Com().Apply(e, *host);
    EXPECT_EQ(CheckUnchanged(*full.work, *out.work), "") << transparency;
  }
  // Reached through a per-frame step as well: 0 % stepping 25 % a frame is 125 % at frame 5.
  Entry stepped = MakeEntry(path);
  stepped.Step(4, "25 %").Select(3);
  ApplyCall call;
  call.frame_offset = 5;
  EXPECT_EQ(CheckUnchanged(*host, *Com().Apply(stepped, *host, call).work), "");
}

TEST_F(ComposeTest, NormalModeBeyondASmallerPictureTurnsBlack) {
  auto host = HostPicture();
  auto second = MakePicture(10, 6, [](int x, int y) { return Rgb(100 + x, 50 + y, 30); });
  Entry e = MakeEntry(WriteTarga(*second, "small.tga"));
  ExpectMatchesReference(e, *host, [&](Bgr p, int x, int y) {
    if (x < 10 && y < 6) {
      const Bgr s = PixelAt(*second, x, y);
      auto mix = [](int pc, int sc) { return uint8_t((pc * 256 + 255 * (sc - pc)) >> 8); };
      return Bgr{mix(p.blue, s.blue), mix(p.green, s.green), mix(p.red, s.red)};
    }
    return Rgb(0, 0, 0);  // c x 256 - 255 x c = c, and c >> 8 = 0
  });
}

TEST_F(ComposeTest, AlphaPlaneOutsideRulesPerMode) {
  // A black, fully opaque 4 x 4 picture with an alpha plane over an 8 x 8 host. Normal: beyond
  // the picture the alpha is 0 and the host stays. Stretch: the last host column samples half
  // way past the picture's last column, where the alpha counts as 255, so the whole host turns
  // black (an outside alpha of 0 would leave 100 there). Repeat: alpha wraps, all black.
  auto host = MakePicture(8, 8, [](int, int) { return Rgb(200, 200, 200); });
  auto second = MakePicture(4, 4, [](int, int) { return Rgb(0, 0, 0); });
  ASSERT_TRUE(second->AllocExtraPlane());
  std::fill(second->ExtraPlane(), second->ExtraPlane() + 16, uint8_t(255));
  const std::string path = WriteTarga(*second, "opaque.tga", 32);
  Entry normal = MakeEntry(path);
  const Outcome n = Com().Apply(normal, *host);
  EXPECT_EQ(PixelAt(*n.work, 3, 3), Rgb(0, 0, 0));
  EXPECT_EQ(PixelAt(*n.work, 4, 3), Rgb(200, 200, 200));
  EXPECT_EQ(PixelAt(*n.work, 7, 7), Rgb(200, 200, 200));
  Entry stretch = MakeEntry(path);
  stretch.Select(9);
  const Outcome st = Com().Apply(stretch, *host);
  EXPECT_EQ(CheckPixels(*host, *st.work, Corners{0, 0, 8, 8}, [](Bgr, int, int) { return Rgb(0, 0, 0); }), "");
  Entry repeat = MakeEntry(path);
  repeat.Select(10);
  const Outcome r = Com().Apply(repeat, *host);
  EXPECT_EQ(CheckPixels(*host, *r.work, Corners{0, 0, 8, 8}, [](Bgr, int, int) { return Rgb(0, 0, 0); }), "");
}

TEST_F(ComposeTest, RepeatOffsetsWrapWholeTurns) {
  auto host = HostPicture();
  const std::string path = WriteTarga(*SecondPicture(13, 9, 3, true), "second.tga", 32);
  auto run = [&](int dx, int dy) {
    Entry e = MakeEntry(path);
    e.Value(2, std::to_string(dx)).Value(3, std::to_string(dy)).Select(10);
    return Com().Apply(e, *host);
  };
  const Outcome three = run(3, 2);
  EXPECT_EQ(CheckUnchanged(*three.work, *run(2 * 13 + 3, 2 - 9).work), "");
  EXPECT_EQ(CheckUnchanged(*three.work, *run(3 - 3 * 13, 2 + 4 * 9).work), "");
  EXPECT_NE(CheckUnchanged(*three.work, *run(4, 2).work), "");
}

}  // namespace
}  // namespace com_test
