// Conversions, the rounding rule and pixel intensity shared by the filters.
#include "core/kit/pixel_math.h"

#include <cmath>
#include <limits>

namespace ombrix::kit {

int32_t RoundBelowWide(long double v) {
  const long double t = std::trunc(v);
  return TruncateToInt((t + 1) - v <= v - t ? t + 1 : t);
}

int32_t RoundBelowSingle(float v) {
  if (!(v > -2147483648.0f && v < 2147483648.0f)) return RoundBelow(v);
  const int32_t t = int32_t(v);
  return v > 0.0f && v - float(t) >= 0.5f ? t + 1 : t;
}

uint8_t WrapToByte(long double v) {
  if (!std::isfinite(v)) return 0;
  if (v > -2147483649.0L && v < 2147483648.0L) return uint8_t(TruncateInRange(v));
  const long double t = std::trunc(v);
  long double low = std::fmod(t, 256.0L);  // exact
  if (low < 0) low += 256;
  return uint8_t(int32_t(low));
}

uint8_t IntensityChannel(int32_t c, int32_t mean, int32_t level) {
  if (mean == 0) return Clamp(level);
  if (level == 0) return 0;
  const float q = float(level) / float(mean);
  const float scaled = q * float(c);
  return Clamp(RoundBelowSingle(scaled));
}

void SetIntensity(uint8_t* bgr, int32_t level) {
  const int32_t mean = Mean(bgr);
  for (int i = 0; i < 3; ++i) bgr[i] = IntensityChannel(bgr[i], mean, level);
}

}  // namespace ombrix::kit
