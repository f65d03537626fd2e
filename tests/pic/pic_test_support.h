// Shared pieces of the picture filter tests: the module under test, test pictures, and
// reference samplers written from the rules (not from the module's code).
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "tests/support/test_host.h"

namespace pic_test {

using namespace ombrix::testing;

// The staged ZvPic.Omp, loaded once per test program.
TestHost& Pic();

Bgr Rgb(int red, int green, int blue);
// A picture of noise, so that every pixel differs from its neighbours.
std::unique_ptr<Picture> Noise(int width, int height, uint32_t seed = 11);
// A picture whose pixel (x, y) is (x, y, x + y) modulo 256: every position is recognisable.
std::unique_ptr<Picture> Coordinates(int width, int height);

// The bilinear sample of a picture at (u, v) with `outside` for the neighbours outside it: the
// mean of both interpolation orders in single precision, truncated.
Bgr ReferenceBilinear(const Picture& picture, float u, float v, Bgr outside);
Bgr ReferenceWrapped(const Picture& picture, float u, float v);
// (c * 256 + k * (s - c)) >> 8 per channel.
Bgr ReferenceMix(Bgr c, Bgr s, int k);

// A call on `zone` with everything else as a host passes it.
inline ApplyCall ZoneCall(Corners zone) {
  ApplyCall call;
  call.zone = zone;
  return call;
}

// Pixels outside [x0, x1) x [y0, y1) equal in both pictures; empty text when they do.
std::string OutsideUnchanged(const Picture& before, const Picture& after, Corners zone);

// The classic C run-time generator, for expectations on the module's draws.
class ReferenceRandom {
 public:
  explicit ReferenceRandom(uint32_t seed = 1) : state_(seed) {}
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return int((state_ >> 16) & 0x7FFF);
  }

 private:
  uint32_t state_;
};

}  // namespace pic_test
