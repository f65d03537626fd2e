// The arithmetic every filter shares: conversions from floating point to integers and bytes,
// the rounding rule, clamping, the mean of a pixel and setting a pixel's intensity.
#pragma once

#include <cstdint>

namespace ombrix::kit {

// Byte offsets of the channels inside a pixel; pixels are stored blue, green, red.
inline constexpr int kBlue = 0;
inline constexpr int kGreen = 1;
inline constexpr int kRed = 2;

// v truncated toward zero, for |v| < 2^31 + 1. Converting an extended value to an integer
// directly reloads the x87 control word twice, which costs more than the rest of a pixel; a
// conversion through double is cheap and lands on trunc(v) or one step further from zero
// (rounding to double is monotonic and every integer of this range is a double), so one exact
// comparison in extended precision corrects it.
inline int64_t TruncateInRange(long double v) {
  int64_t t = int64_t(double(v));
  if (v >= 0) {
    if (static_cast<long double>(t) > v) --t;
  } else if (static_cast<long double>(t) < v) {
    ++t;
  }
  return t;
}
// The plain conversion TruncateInRange stands for; kept for the tests that compare the two.
inline int64_t TruncateInRangePlain(long double v) { return int64_t(v); }

// v truncated toward zero. A value that does not fit saturates to the nearest end of the int32
// range and NaN gives 0, so no conversion is ever undefined.
inline int32_t TruncateToInt(long double v) {
  if (v > -2147483649.0L && v < 2147483648.0L) return int32_t(TruncateInRange(v));  // NaN fails
  if (v >= 2147483648.0L) return INT32_MAX;
  if (v <= -2147483649.0L) return INT32_MIN;
  return 0;
}

// The rounding rule ("round below"): with t = v truncated toward zero, t + 1 when
// (t + 1) - v <= v - t, else t. Halves round up for v >= 0; negative values truncate toward
// zero. Saturates like TruncateToInt.
int32_t RoundBelowWide(long double v);  // the rule for values beyond the int32 range, and NaN
inline int32_t RoundBelow(long double v) {
  // Every float and every value of a filter's extended arithmetic is exact in long double, so
  // both differences are exact and the comparison decides halves precisely.
  if (v > -2147483649.0L && v < 2147483648.0L) {  // the common case; NaN fails both tests
    const int64_t t = TruncateInRange(v);
    const long double lt = static_cast<long double>(t);
    const int64_t r = (lt + 1) - v <= v - lt ? t + 1 : t;
    return r > INT32_MAX ? INT32_MAX : int32_t(r);
  }
  return RoundBelowWide(v);
}
// The same result for a single-precision value, without extended arithmetic: for v >= 0 the
// rule gives t + 1 exactly when v - t >= 0.5, and v - t is exact in single precision; below zero
// it gives t. Used in pixel loops; NaN and values beyond the int32 range take RoundBelow.
inline int32_t RoundBelowSingle(float v) {
  if (!(v > -2147483648.0f && v < 2147483648.0f)) return RoundBelow(v);
  const int32_t t = int32_t(v);
  return v > 0.0f && v - float(t) >= 0.5f ? t + 1 : t;
}

// Limits to 0..255.
inline uint8_t Clamp(int64_t v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

// The low 8 bits of v truncated toward zero, exact for every finite v (results outside 0..255
// wrap modulo 256); infinities and NaN give 0.
uint8_t WrapToByte(long double v);

// (blue + green + red) / 3, integer division.
inline int32_t Mean(const uint8_t* bgr) { return (int32_t(bgr[0]) + bgr[1] + bgr[2]) / 3; }

// Gives the pixel the intensity `level` and keeps its tint: a black pixel (mean 0) becomes grey
// clamp(level); level 0 makes the pixel black; otherwise every channel c becomes
// clamp(round(q * c)) with q = level / mean, both quotient and product in single precision.
// IntensityChannel is that for one channel c of a pixel whose mean is `mean`.
inline uint8_t IntensityChannel(int32_t c, int32_t mean, int32_t level) {
  if (mean == 0) return Clamp(level);
  if (level == 0) return 0;
  const float q = float(level) / float(mean);
  const float scaled = q * float(c);
  return Clamp(RoundBelowSingle(scaled));
}
inline void SetIntensity(uint8_t* bgr, int32_t level) {
  const int32_t mean = Mean(bgr);
  const int32_t b = bgr[0], g = bgr[1], r = bgr[2];
  bgr[0] = IntensityChannel(b, mean, level);
  bgr[1] = IntensityChannel(g, mean, level);
  bgr[2] = IntensityChannel(r, mean, level);
}

// A channel formula that depends only on the pixel's mean and the channel's own value,
// tabulated once per apply so that the pixel loop does three look-ups instead of extended
// arithmetic. It holds 64 KB: keep it in static storage, not on the stack (modules are not
// re-entrant, so one table per filter is enough).
struct MeanChannelTable {
  uint8_t value[256][256];  // [mean][channel value]

  template <typename Formula>
  void Fill(Formula&& formula) {
    for (int32_t mean = 0; mean < 256; ++mean)
      for (int32_t c = 0; c < 256; ++c) value[mean][c] = formula(mean, c);
  }
  void Apply(uint8_t* bgr) const {
    const uint8_t* row = value[Mean(bgr)];
    bgr[0] = row[bgr[0]];
    bgr[1] = row[bgr[1]];
    bgr[2] = row[bgr[2]];
  }
};

}  // namespace ombrix::kit
