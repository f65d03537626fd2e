// Conversions, the rounding rule and pixel intensity shared by the filters.
#include "core/kit/pixel_math.h"

#include <cmath>
#include <limits>

namespace ombrix::kit {

int32_t RoundBelowWide(long double v) {
  const long double t = std::trunc(v);
  return TruncateToInt((t + 1) - v <= v - t ? t + 1 : t);
}

uint8_t WrapToByte(long double v) {
  if (!std::isfinite(v)) return 0;
  if (v > -2147483649.0L && v < 2147483648.0L) return uint8_t(TruncateInRange(v));
  const long double t = std::trunc(v);
  long double low = std::fmod(t, 256.0L);  // exact
  if (low < 0) low += 256;
  return uint8_t(int32_t(low));
}

}  // namespace ombrix::kit
