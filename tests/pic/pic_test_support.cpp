// The picture filter tests' module, pictures and reference arithmetic.
#include "tests/pic/pic_test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace pic_test {

TestHost& Pic() {
  static TestHost host("ZvPic.Omp");
  return host;
}

Bgr Rgb(int red, int green, int blue) { return Bgr{uint8_t(blue), uint8_t(green), uint8_t(red)}; }

std::unique_ptr<Picture> Noise(int width, int height, uint32_t seed) { return NoisePicture(width, height, seed); }

std::unique_ptr<Picture> Coordinates(int width, int height) {
  return MakePicture(width, height, [](int x, int y) { return Rgb(x % 256, y % 256, (x + y) % 256); });
}

namespace {

uint8_t Channel(Bgr p, int ch) { return ch == 0 ? p.blue : ch == 1 ? p.green : p.red; }
void SetChannel(Bgr& p, int ch, uint8_t v) { (ch == 0 ? p.blue : ch == 1 ? p.green : p.red) = v; }

Bgr Blend(Bgr c00, Bgr c10, Bgr c01, Bgr c11, float fx, float fy) {
  auto lerp = [](float a, float b, float t) { return a + (b - a) * t; };
  Bgr out;
  for (int ch = 0; ch < 3; ++ch) {
    const float a = Channel(c00, ch), b = Channel(c10, ch), c = Channel(c01, ch), d = Channel(c11, ch);
    const float rows = lerp(lerp(a, c, fy), lerp(b, d, fy), fx);
    const float columns = lerp(lerp(a, b, fx), lerp(c, d, fx), fy);
    SetChannel(out, ch, uint8_t(int(0.5f * (rows + columns))));
  }
  return out;
}

}  // namespace

Bgr ReferenceBilinear(const Picture& picture, float u, float v, Bgr outside) {
  const float fu = std::floor(u), fv = std::floor(v);
  const int xa = int(fu), ya = int(fv);
  auto at = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < picture.Width() && y < picture.Height() ? PixelAt(picture, x, y) : outside;
  };
  return Blend(at(xa, ya), at(xa + 1, ya), at(xa, ya + 1), at(xa + 1, ya + 1), u - fu, v - fv);
}

Bgr ReferenceWrapped(const Picture& picture, float u, float v) {
  const float fu = std::floor(u), fv = std::floor(v);
  const int xa = int(fu), ya = int(fv);
  auto at = [&](int x, int y) {
    const int w = picture.Width(), h = picture.Height();
    return PixelAt(picture, ((x % w) + w) % w, ((y % h) + h) % h);
  };
  return Blend(at(xa, ya), at(xa + 1, ya), at(xa, ya + 1), at(xa + 1, ya + 1), u - fu, v - fv);
}

Bgr ReferenceMix(Bgr c, Bgr s, int k) {
  Bgr out;
  for (int ch = 0; ch < 3; ++ch)
    SetChannel(out, ch, uint8_t((Channel(c, ch) * 256 + k * (Channel(s, ch) - Channel(c, ch))) >> 8));
  return out;
}

std::string OutsideUnchanged(const Picture& before, const Picture& after, Corners zone) {
  std::ostringstream out;
  int shown = 0;
  for (int y = 0; y < before.Height(); ++y)
    for (int x = 0; x < before.Width(); ++x) {
      if (x >= zone.x0 && x < zone.x1 && y >= zone.y0 && y < zone.y1) continue;
      if (PixelAt(before, x, y) == PixelAt(after, x, y)) continue;
      if (shown++ < 5) out << "(" << x << ", " << y << ") changed; ";
    }
  return out.str();
}

}  // namespace pic_test
