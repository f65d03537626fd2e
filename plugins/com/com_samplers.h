// The composition filters' own bilinear samplers: the kit's colour and wrap-around samplers
// (same neighbours, same single-precision arithmetic, same truncation), inline and reading a
// picture through its row table held in locals, so a pixel loop keeps them free of calls.
// kit::SampleBilinear and kit::SampleWrapped remain the plain path; the tests compare both.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "core/kit/samplers.h"
#include "core/picture/picture.h"

namespace ombrix::com {

// A picture's row table, size and extra plane, copied out of the picture so that a loop storing
// bytes does not reload them after every store.
struct PictureView {
  const uint8_t* const* rows = nullptr;  // row 0 the top row
  int32_t width = 0;
  int32_t height = 0;
  const uint8_t* plane = nullptr;  // width bytes a row, top row first, or null

  PictureView() = default;
  explicit PictureView(const Picture& p) : rows(p.rows), width(p.Width()), height(p.Height()), plane(p.ExtraPlane()) {}
};

// The neighbour cell of a point: columns xa, xa + 1 and rows ya, ya + 1 around the true floor,
// and the fractions of the point inside it.
struct Cell {
  int32_t xa = 0;
  int32_t ya = 0;
  float fx = 0.0f;
  float fy = 0.0f;
};

// Points this far away have no neighbour inside any picture (the kit samplers treat them so).
inline constexpr float kFarAway = 1.0e9f;

// False for a point at or beyond kFarAway on either axis, or NaN. Otherwise the floor is taken
// as the truncation, one less when that lies above the point: exact below 2^31, and the same
// value std::floor gives.
inline bool LocateCell(float u, float v, Cell& c) {
  if (!(std::fabs(u) < kFarAway && std::fabs(v) < kFarAway)) return false;
  int32_t xa = int32_t(u), ya = int32_t(v);
  xa -= float(xa) > u ? 1 : 0;
  ya -= float(ya) > v ? 1 : 0;
  c.xa = xa;
  c.ya = ya;
  c.fx = u - float(xa);
  c.fy = v - float(ya);
  return true;
}

inline float Lerp(float a, float b, float t) { return a + (b - a) * t; }

// Per channel the mean of both interpolation orders, truncated to a byte. The twelve bytes are
// read before `out` is written, so out may be any pixel, even one of the four.
inline void BlendCell(const uint8_t* p00, const uint8_t* p10, const uint8_t* p01, const uint8_t* p11, float fx,
                      float fy, uint8_t* out) {
  float c00[3], c10[3], c01[3], c11[3];
  for (int ch = 0; ch < 3; ++ch) c00[ch] = p00[ch], c10[ch] = p10[ch], c01[ch] = p01[ch], c11[ch] = p11[ch];
  uint8_t result[3];
  for (int ch = 0; ch < 3; ++ch) {
    const float by_rows = Lerp(Lerp(c00[ch], c01[ch], fy), Lerp(c10[ch], c11[ch], fy), fx);
    const float by_columns = Lerp(Lerp(c00[ch], c10[ch], fx), Lerp(c01[ch], c11[ch], fx), fy);
    result[ch] = uint8_t(int32_t(0.5f * (by_rows + by_columns)));
  }
  out[0] = result[0], out[1] = result[1], out[2] = result[2];
}

// kit::SampleBilinear: neighbours outside the picture (coordinates compared as unsigned 16-bit
// values) take `outside`.
inline void SampleBilinearAt(const PictureView& p, float u, float v, const uint8_t* outside, uint8_t* out) {
  Cell c;
  if (!LocateCell(u, v, c)) {
    out[0] = outside[0], out[1] = outside[1], out[2] = outside[2];
    return;
  }
  const uint16_t x0 = uint16_t(c.xa), x1 = uint16_t(c.xa + 1);
  const uint16_t y0 = uint16_t(c.ya), y1 = uint16_t(c.ya + 1);
  const bool in_x0 = x0 < p.width, in_x1 = x1 < p.width;
  const uint8_t* row0 = y0 < p.height ? p.rows[y0] : nullptr;
  const uint8_t* row1 = y1 < p.height ? p.rows[y1] : nullptr;
  const uint8_t* p00 = row0 != nullptr && in_x0 ? row0 + 3 * size_t(x0) : outside;
  const uint8_t* p10 = row0 != nullptr && in_x1 ? row0 + 3 * size_t(x1) : outside;
  const uint8_t* p01 = row1 != nullptr && in_x0 ? row1 + 3 * size_t(x0) : outside;
  const uint8_t* p11 = row1 != nullptr && in_x1 ? row1 + 3 * size_t(x1) : outside;
  BlendCell(p00, p10, p01, p11, c.fx, c.fy, out);
}

// kit::SampleWrapped: every neighbour wrapped into the picture; a far point samples at (0, 0).
inline void SampleWrappedAt(const PictureView& p, float u, float v, uint8_t* out) {
  Cell c;
  if (!LocateCell(u, v, c)) c = Cell{};
  const int32_t xa = kit::WrapInto(c.xa, p.width), xb = kit::WrapInto(c.xa + 1, p.width);
  const uint8_t* row0 = p.rows[kit::WrapInto(c.ya, p.height)];
  const uint8_t* row1 = p.rows[kit::WrapInto(c.ya + 1, p.height)];
  BlendCell(row0 + 3 * size_t(xa), row0 + 3 * size_t(xb), row1 + 3 * size_t(xa), row1 + 3 * size_t(xb), c.fx, c.fy,
            out);
}

}  // namespace ombrix::com
