// The arithmetic every filter shares: conversions from floating point to integers and bytes,
// the rounding rule, clamping, the mean of a pixel and setting a pixel's intensity.
#pragma once

#include <cstdint>

namespace ombrix::kit {

// Byte offsets of the channels inside a pixel; pixels are stored blue, green, red.
inline constexpr int kBlue = 0;
inline constexpr int kGreen = 1;
inline constexpr int kRed = 2;

// v truncated toward zero. A value that does not fit saturates to the nearest end of the int32
// range and NaN gives 0, so no conversion is ever undefined.
int32_t TruncateToInt(long double v);

// The rounding rule ("round below"): with t = v truncated toward zero, t + 1 when
// (t + 1) - v <= v - t, else t. Halves round up for v >= 0; negative values truncate toward
// zero. Saturates like TruncateToInt.
int32_t RoundBelow(long double v);

// Limits to 0..255.
inline uint8_t Clamp(int64_t v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

// The low 8 bits of v truncated toward zero, exact for every finite v (results outside 0..255
// wrap modulo 256); infinities and NaN give 0.
uint8_t WrapToByte(long double v);

// (blue + green + red) / 3, integer division.
inline int32_t Mean(const uint8_t* bgr) { return (int32_t(bgr[0]) + bgr[1] + bgr[2]) / 3; }

// Gives the pixel the intensity `level` and keeps its tint: a black pixel becomes grey
// clamp(level); level 0 makes the pixel black; otherwise every channel c becomes
// clamp(round(q * c)) with q = level / mean, both quotient and product in single precision.
void SetIntensity(uint8_t* bgr, int32_t level);

}  // namespace ombrix::kit
