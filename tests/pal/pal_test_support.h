// Shared pieces of the palette filter tests: the module under test, a test picture, reference
// arithmetic written from the rules (not from the module's code) and the full-zone comparison.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>

#include "tests/support/test_host.h"

namespace pal_test {

using namespace ombrix::testing;

// The staged ZvPal.Omp, loaded once per test program.
TestHost& Pal();

// A 41 x 33 picture of noise whose first pixels are black, white, greys and pure colours.
std::unique_ptr<Picture> TestPicture();
// A 1 x 1 picture of one colour, given red first.
std::unique_ptr<Picture> OnePixel(int red, int green, int blue);
Bgr Rgb(int red, int green, int blue);

// The zone of the full comparisons; it leaves a border on every side and spans rows 10 and 20.
inline constexpr Corners kZone{4, 3, 37, 29};

// Round below: halves up for v >= 0, truncation toward zero below 0.
inline long long RoundRef(long double v) { return (long long)(v >= 0 ? std::floor(v + 0.5L) : std::trunc(v)); }
inline uint8_t ClampRef(long long v) { return uint8_t(std::clamp<long long>(v, 0, 255)); }
inline int MeanRef(Bgr p) { return (p.red + p.green + p.blue) / 3; }
inline uint8_t LowByte(long long v) { return uint8_t(((v % 256) + 256) % 256); }

// Applies entry over kZone of TestPicture() at the frame offset and expects result 1, every
// zone pixel equal to reference(input pixel, x, y) and every other pixel unchanged.
void ExpectMatchesReference(const Entry& entry, const std::function<Bgr(Bgr, int, int)>& reference,
                            int32_t frame_offset = 0);

// Applies entry to one pixel (whole picture) and returns the result pixel.
Bgr ApplyToPixel(const Entry& entry, Bgr pixel, int32_t frame_offset = 0);

}  // namespace pal_test
