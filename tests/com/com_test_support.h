// Shared pieces of the composition filter tests: a private registry and clipboard store per
// test, the staged module, second pictures written as Targa and PNG files, and reference
// samplers and addressing written from the rules (not from the module's code).
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "tests/support/test_host.h"

namespace com_test {

using namespace ombrix::testing;

// The staged ZvCom.Omp, loaded once per test program. Its converter is the staged UGIO/Im_pp,
// found beside the module because the test registries name none.
TestHost& Com();

Bgr Rgb(int red, int green, int blue);

// A 41 x 33 host picture of noise.
std::unique_ptr<Picture> HostPicture();
// A second picture of noise in which every third pixel lies near pure blue (the default neutral
// colour), so keyed composition meets both sides of its tolerances; with `alpha_plane` it gets
// an extra plane of noise that holds 0 and 255 too.
std::unique_ptr<Picture> SecondPicture(int width, int height, uint32_t seed, bool alpha_plane = false);
// The zone of the full comparisons; it leaves a border on every side and spans rows 10 and 20.
inline constexpr Corners kZone{4, 3, 37, 29};

// Every test gets its own directory, registry and clipboard store, and no display.
class ComTest : public ::testing::Test {
 protected:
  void SetUp() override;
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  // Writes the picture as an uncompressed Targa file (24 bits, or 32 with its extra plane).
  std::string WriteTarga(const Picture& picture, const std::string& name, int bits = 24);
  // Writes the picture as a PNG file through GraphicsMagick.
  std::string WritePng(const Picture& picture, const std::string& name);

  // Applies the entry over kZone of `input` and expects result 1, every zone pixel equal to
  // reference(input pixel, x, y) and every other pixel unchanged.
  void ExpectMatchesReference(const Entry& entry, const Picture& input,
                              const std::function<Bgr(Bgr, int, int)>& reference);

  std::string dir_;
};

// ---- Reference arithmetic ------------------------------------------------------------------

// The bilinear sample at (u, v): neighbours around the true floor, each outside the picture
// (coordinates taken as unsigned 16-bit values) replaced by `outside` or, with `wrap`, wrapped
// into the picture; per channel the mean of both interpolation orders in single precision,
// truncated.
Bgr ReferenceSample(const Picture& picture, float u, float v, Bgr outside, bool wrap);
// The same over the extra plane; outside neighbours take `outside` unless `wrap`.
int ReferenceAlpha(const Picture& picture, float u, float v, int outside, bool wrap);

enum class Mode { kNormal, kStretch, kRepeat };

// The sample point of one axis: position + offset (times the scale in Stretch) in extended
// precision, then single precision.
float ReferencePoint(int position, long double offset, float scale, Mode mode);
// Repeat: position + offset truncated toward zero, brought into 0..size-1.
int ReferenceWrap(int position, long double offset, int size);
// The colour of the second picture a Displace Map, Combinate or Rub pixel (x, y) sees, before
// Negative: bilinear with black outside (Normal, Stretch) or the pixel at the wrapped point.
Bgr ReferenceSecond(const Picture& second, const Picture& host, int x, int y, long double dx, long double dy,
                    Mode mode);

inline Bgr Inverted(Bgr p) { return Bgr{uint8_t(255 - p.blue), uint8_t(255 - p.green), uint8_t(255 - p.red)}; }
inline int SumOf(Bgr p) { return p.red + p.green + p.blue; }
inline int MeanOf(Bgr p) { return SumOf(p) / 3; }
// The set-intensity step: black pixels become grey `level`, level 0 gives black, otherwise each
// channel is clamp(round(q x c)) with q = level / mean, quotient and product in single precision.
Bgr ReferenceIntensity(Bgr p, int level);

}  // namespace com_test
