// make-test-picture: writes the package's test picture, a 640 x 480 24-bit bitmap rich in
// colour, edges and gradients, so that every filter shows what it does.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/import/picture_writers.h"
#include "core/picture/picture.h"

namespace {

void Put(Picture& p, int x, int y, int r, int g, int b) {
  const uint8_t bgr[3] = {uint8_t(b), uint8_t(g), uint8_t(r)};
  p.SetPixel(x, y, bgr);
}

// Hue h in [0, 6) at full saturation, scaled by value v in [0, 1].
void Hue(double h, double v, int& r, int& g, int& b) {
  const double f = h - std::floor(h);
  const int sector = int(std::floor(h)) % 6;
  double rr = 0, gg = 0, bb = 0;
  switch (sector) {
    case 0:
      rr = 1, gg = f;
      break;
    case 1:
      rr = 1 - f, gg = 1;
      break;
    case 2:
      gg = 1, bb = f;
      break;
    case 3:
      gg = 1 - f, bb = 1;
      break;
    case 4:
      rr = f, bb = 1;
      break;
    default:
      rr = 1, bb = 1 - f;
      break;
  }
  r = int(rr * v * 255 + 0.5), g = int(gg * v * 255 + 0.5), b = int(bb * v * 255 + 0.5);
}

void Draw(Picture& p) {
  const int w = p.Width(), h = p.Height();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int r, g, b;
      // Background: a hue sweep from left to right, darkening towards the bottom.
      Hue(6.0 * x / w, 1.0 - 0.7 * y / h, r, g, b);
      // A grey ramp band across the top.
      if (y < 40) r = g = b = x * 255 / (w - 1);
      // A checkerboard block with sharp edges.
      if (x >= 40 && x < 200 && y >= 80 && y < 240 && ((x / 20 + y / 20) % 2 == 0)) r = g = b = 250;
      // Concentric rings around a centre.
      const double dx = x - 440.0, dy = y - 260.0, d = std::sqrt(dx * dx + dy * dy);
      if (d < 150 && int(d / 12) % 2 == 0) {
        r = 255 - r;
        g = 255 - g;
        b = 255 - b;
      }
      // A diagonal line pattern in the lower left.
      if (x < 260 && y > 300 && (x + y) % 16 < 3) r = 20, g = 20, b = 20;
      // Pure primaries for the palette filters.
      if (y >= 420 && y < 460) {
        const int k = x * 6 / w;
        const int colours[6][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
        r = colours[k][0], g = colours[k][1], b = colours[k][2];
      }
      Put(p, x, y, r, g, b);
    }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[1], "--help") == 0) {
    std::fprintf(argc == 2 ? stdout : stderr,
                 "usage: make-test-picture OUTPUT.Bmp\n"
                 "Writes the package's 640 x 480 test picture, rich in colour, edges and gradients, as a\n"
                 "24-bit bitmap file. Options: --help  this text.\n"
                 "Example: make-test-picture stage/Images/Back.Bmp\n");
    return argc == 2 ? 0 : 2;
  }
  Picture picture;
  if (!picture.Create(640, 480)) return 1;
  Draw(picture);
  if (!ombrix::WriteBitmapFile(picture, argv[1])) {
    std::fprintf(stderr, "make-test-picture: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
