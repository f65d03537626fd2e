// The palette filter tests' module, picture and comparison helpers.
#include "tests/pal/pal_test_support.h"

#include <gtest/gtest.h>

namespace pal_test {

TestHost& Pal() {
  static TestHost host("ZvPal.Omp");
  return host;
}

Bgr Rgb(int red, int green, int blue) { return Bgr{uint8_t(blue), uint8_t(green), uint8_t(red)}; }

std::unique_ptr<Picture> TestPicture() {
  auto picture = NoisePicture(41, 33, 7);
  const Bgr fixed[] = {Rgb(0, 0, 0),   Rgb(255, 255, 255), Rgb(128, 128, 128), Rgb(1, 1, 0),
                       Rgb(255, 0, 0), Rgb(0, 255, 0),     Rgb(0, 0, 255),     Rgb(127, 128, 128)};
  // Along the top-left of the zone, so every filter meets them.
  for (int i = 0; i < int(std::size(fixed)); ++i) SetPixelAt(*picture, kZone.x0 + i, kZone.y0, fixed[i]);
  return picture;
}

std::unique_ptr<Picture> OnePixel(int red, int green, int blue) {
  return MakePicture(1, 1, [&](int, int) { return Rgb(red, green, blue); });
}

void ExpectMatchesReference(const Entry& entry, const std::function<Bgr(Bgr, int, int)>& reference,
                            int32_t frame_offset) {
  auto input = TestPicture();
  ApplyCall call;
  call.zone = kZone;
  call.frame_offset = frame_offset;
  const Outcome out = Pal().Apply(entry, *input, call);
  EXPECT_EQ(out.result, 1);
  EXPECT_EQ(CheckPixels(*input, *out.work, kZone, reference), "") << entry.descriptor().name;
}

Bgr ApplyToPixel(const Entry& entry, Bgr pixel, int32_t frame_offset) {
  auto input = MakePicture(1, 1, [&](int, int) { return pixel; });
  ApplyCall call;
  call.frame_offset = frame_offset;
  const Outcome out = Pal().Apply(entry, *input, call);
  EXPECT_EQ(out.result, 1);
  return PixelAt(*out.work, 0, 0);
}

}  // namespace pal_test
