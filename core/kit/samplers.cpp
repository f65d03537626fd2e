// The plain bilinear and wrap-around samplers, and the alpha samplers.
#include "core/kit/samplers.h"

#include <cmath>

namespace ombrix::kit {
namespace {

using detail::BlendPixelPlain;
using detail::Corners;

// The neighbour and fractions of a point by std::floor: the samplers in this file, against which
// the inline ones are checked, and the alpha samplers.
Corners Locate(float u, float v) {
  Corners c{};
  if (!(std::fabs(u) < kFarAway && std::fabs(v) < kFarAway)) {
    c.far = true;
    return c;
  }
  const float fu = std::floor(u), fv = std::floor(v);
  c.xa = int(fu);
  c.ya = int(fv);
  c.fx = u - fu;
  c.fy = v - fv;
  return c;
}

bool Inside(const Picture& p, int x, int y) { return uint16_t(x) < p.Width() && uint16_t(y) < p.Height(); }

const uint8_t* PixelOr(const Picture& p, int x, int y, const uint8_t* outside) {
  return Inside(p, x, y) ? p.Row(uint16_t(y)) + 3 * size_t(uint16_t(x)) : outside;
}

}  // namespace

void SampleBilinearPlain(const Picture& p, float u, float v, const uint8_t outside[3], uint8_t out[3]) {
  const Corners c = Locate(u, v);
  if (c.far) {
    out[0] = outside[0], out[1] = outside[1], out[2] = outside[2];
    // All four neighbours are the outside colour; the interpolation of equal values keeps it.
    return;
  }
  const uint8_t* p00 = PixelOr(p, c.xa, c.ya, outside);
  const uint8_t* p10 = PixelOr(p, c.xa + 1, c.ya, outside);
  const uint8_t* p01 = PixelOr(p, c.xa, c.ya + 1, outside);
  const uint8_t* p11 = PixelOr(p, c.xa + 1, c.ya + 1, outside);
  BlendPixelPlain(p00, p10, p01, p11, c.fx, c.fy, out);
}

void SampleWrappedPlain(const Picture& p, float u, float v, uint8_t out[3]) {
  Corners c = Locate(u, v);
  if (c.far) c = Corners{0, 0, 0.0f, 0.0f, false};
  const int w = p.Width(), h = p.Height();
  const int xa = WrapInto(c.xa, w), xb = WrapInto(c.xa + 1, w);
  const int ya = WrapInto(c.ya, h), yb = WrapInto(c.ya + 1, h);
  const uint8_t* p00 = p.Row(ya) + 3 * size_t(xa);
  const uint8_t* p10 = p.Row(ya) + 3 * size_t(xb);
  const uint8_t* p01 = p.Row(yb) + 3 * size_t(xa);
  const uint8_t* p11 = p.Row(yb) + 3 * size_t(xb);
  BlendPixelPlain(p00, p10, p01, p11, c.fx, c.fy, out);
}

uint8_t SampleAlpha(const Picture& p, float u, float v, AlphaOutside outside) {
  const uint8_t* plane = p.ExtraPlane();
  const int w = p.Width(), h = p.Height();
  const uint8_t missing = outside == AlphaOutside::kOpaque ? 255 : 0;
  Corners c = Locate(u, v);
  if (c.far) {
    if (outside != AlphaOutside::kWrap) return missing;
    c = Corners{0, 0, 0.0f, 0.0f, false};
  }
  auto at = [&](int x, int y) -> float {
    if (outside == AlphaOutside::kWrap) return plane[size_t(WrapInto(y, h)) * w + size_t(WrapInto(x, w))];
    if (!(uint16_t(x) < w && uint16_t(y) < h)) return missing;
    return plane[size_t(uint16_t(y)) * w + uint16_t(x)];
  };
  return Blend(at(c.xa, c.ya), at(c.xa + 1, c.ya), at(c.xa, c.ya + 1), at(c.xa + 1, c.ya + 1), c.fx, c.fy);
}

}  // namespace ombrix::kit
