// The composition tests' fixture, picture files and reference arithmetic.
#include "tests/com/com_test_support.h"

#include <Magick++.h>
#include <stdlib.h>

#include <algorithm>
#include <string>

#include "core/import/picture_writers.h"

namespace com_test {

TestHost& Com() {
  static TestHost host("ZvCom.Omp");
  return host;
}

Bgr Rgb(int red, int green, int blue) { return Bgr{uint8_t(blue), uint8_t(green), uint8_t(red)}; }

std::unique_ptr<Picture> HostPicture() { return NoisePicture(41, 33, 11); }

std::unique_ptr<Picture> SecondPicture(int width, int height, uint32_t seed, bool alpha_plane) {
  auto picture = NoisePicture(width, height, seed);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if ((x + y) % 3 == 0) SetPixelAt(*picture, x, y, Rgb(x % 7, y % 4, 255 - (x * 5 + y) % 13));
  if (alpha_plane) {
    EXPECT_TRUE(picture->AllocExtraPlane());
    auto noise = NoisePicture(width, height, seed + 1);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        picture->ExtraPlane()[y * width + x] = (x + 2 * y) % 5 == 0 ? 0
                                               : (x + y) % 5 == 1   ? 255
                                                                    : PixelAt(*noise, x, y).green;
  }
  return picture;
}

void ComTest::SetUp() {
  std::string pattern = std::string(OMBRIX_TEST_OUTPUT_DIR) + "/com.XXXXXX";
  const char* made = mkdtemp(pattern.data());
  ASSERT_NE(made, nullptr);
  dir_ = made;
  setenv("OMBRIX_REGISTRY_DIR", Path("registry").c_str(), 1);
  setenv("OMBRIX_CLIPBOARD_DIR", Path("clipboard").c_str(), 1);
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  ASSERT_TRUE(Com().Loaded()) << Com().Error();
  Com().CancelFromRow(-1);
}

std::string ComTest::WriteTarga(const Picture& picture, const std::string& name, int bits) {
  const std::string path = Path(name);
  EXPECT_TRUE(ombrix::WriteTargaFile(picture, path.c_str(), bits)) << path;
  return path;
}

std::string ComTest::WritePng(const Picture& picture, const std::string& name) {
  static const bool started = [] {
    Magick::InitializeMagick(nullptr);
    return true;
  }();
  (void)started;
  std::string rgb;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      const Bgr p = PixelAt(picture, x, y);
      rgb += char(p.red);
      rgb += char(p.green);
      rgb += char(p.blue);
    }
  Magick::Image image(unsigned(picture.Width()), unsigned(picture.Height()), "RGB", Magick::CharPixel, rgb.data());
  const std::string path = Path(name);
  image.write("PNG24:" + path);
  return path;
}

void ComTest::ExpectMatchesReference(const Entry& entry, const Picture& input,
                                     const std::function<Bgr(Bgr, int, int)>& reference) {
  ApplyCall call;
  call.zone = kZone;
  const Outcome out = Com().Apply(entry, input, call);
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(CheckPixels(input, *out.work, kZone, reference), "") << entry.descriptor().name;
  EXPECT_EQ(CheckUnchanged(input, *out.input), "") << "INPUT must stay as it was";
}

// ---- Reference arithmetic ------------------------------------------------------------------

namespace {

bool Outside(const Picture& p, int x, int y) { return uint16_t(x) >= p.Width() || uint16_t(y) >= p.Height(); }

int Wrap(int v, int size) { return ((v % size) + size) % size; }

float Lerp(float a, float b, float t) { return a + (b - a) * t; }

int Interpolate(float c00, float c10, float c01, float c11, float fx, float fy) {
  const float columns_first = Lerp(Lerp(c00, c01, fy), Lerp(c10, c11, fy), fx);
  const float rows_first = Lerp(Lerp(c00, c10, fx), Lerp(c01, c11, fx), fy);
  return int(0.5f * (columns_first + rows_first));
}

}  // namespace

Bgr ReferenceSample(const Picture& picture, float u, float v, Bgr outside, bool wrap) {
  const float fu = std::floor(u), fv = std::floor(v);
  const int xa = int(fu), ya = int(fv);
  const float fx = u - fu, fy = v - fv;
  auto at = [&](int x, int y) {
    if (wrap) return PixelAt(picture, Wrap(x, picture.Width()), Wrap(y, picture.Height()));
    return Outside(picture, x, y) ? outside : PixelAt(picture, uint16_t(x), uint16_t(y));
  };
  const Bgr c00 = at(xa, ya), c10 = at(xa + 1, ya), c01 = at(xa, ya + 1), c11 = at(xa + 1, ya + 1);
  Bgr out;
  out.blue = uint8_t(Interpolate(c00.blue, c10.blue, c01.blue, c11.blue, fx, fy));
  out.green = uint8_t(Interpolate(c00.green, c10.green, c01.green, c11.green, fx, fy));
  out.red = uint8_t(Interpolate(c00.red, c10.red, c01.red, c11.red, fx, fy));
  return out;
}

int ReferenceAlpha(const Picture& picture, float u, float v, int outside, bool wrap) {
  const float fu = std::floor(u), fv = std::floor(v);
  const int xa = int(fu), ya = int(fv);
  const int w = picture.Width(), h = picture.Height();
  auto at = [&](int x, int y) -> float {
    if (wrap) return picture.ExtraPlane()[Wrap(y, h) * w + Wrap(x, w)];
    return Outside(picture, x, y) ? float(outside) : picture.ExtraPlane()[uint16_t(y) * w + uint16_t(x)];
  };
  return Interpolate(at(xa, ya), at(xa + 1, ya), at(xa, ya + 1), at(xa + 1, ya + 1), u - fu, v - fv);
}

float ReferencePoint(int position, long double offset, float scale, Mode mode) {
  const long double p = static_cast<long double>(position) + offset;
  return mode == Mode::kStretch ? float(p * scale) : float(p);
}

int ReferenceWrap(int position, long double offset, int size) {
  return Wrap(int(std::trunc(static_cast<long double>(position) + offset)), size);
}

Bgr ReferenceSecond(const Picture& second, const Picture& host, int x, int y, long double dx, long double dy,
                    Mode mode) {
  if (mode == Mode::kRepeat)
    return PixelAt(second, ReferenceWrap(x, dx, second.Width()), ReferenceWrap(y, dy, second.Height()));
  const float sx = float(second.Width()) / float(host.Width());
  const float sy = float(second.Height()) / float(host.Height());
  return ReferenceSample(second, ReferencePoint(x, dx, sx, mode), ReferencePoint(y, dy, sy, mode), Bgr{}, false);
}

Bgr ReferenceIntensity(Bgr p, int level) {
  const int mean = MeanOf(p);
  auto channel = [&](int c) -> uint8_t {
    if (mean == 0) return uint8_t(std::clamp(level, 0, 255));
    if (level == 0) return 0;
    const float q = float(level) / float(mean);
    const float scaled = q * float(c);
    const long double rounded = std::floor(static_cast<long double>(scaled) + 0.5L);  // scaled >= 0
    return uint8_t(std::clamp<long double>(rounded, 0, 255));
  };
  return Bgr{channel(p.blue), channel(p.green), channel(p.red)};
}

}  // namespace com_test
