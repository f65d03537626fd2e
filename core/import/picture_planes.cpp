// Rows between interleaved samples and the four planes.
#include "core/import/picture_planes.h"

#include <cstddef>
#include <cstring>

namespace ombrix {

void SplitRow(const uint8_t* in, int channels, const PicturePlanes& planes, int y) {
  const size_t at = size_t(y) * size_t(planes.width);
  uint8_t* r = planes.planes[0] + at;
  uint8_t* g = planes.planes[1] + at;
  uint8_t* b = planes.planes[2] + at;
  uint8_t* a = planes.planes[3] + at;
  const int w = planes.width;
  if (channels == 4) {
    for (int x = 0; x < w; ++x, in += 4) {
      r[x] = in[0];
      g[x] = in[1];
      b[x] = in[2];
      a[x] = in[3];
    }
  } else {
    for (int x = 0; x < w; ++x, in += 3) {
      r[x] = in[0];
      g[x] = in[1];
      b[x] = in[2];
    }
    std::memset(a, 255, size_t(w));
  }
}

void JoinRow(const PicturePlanes& planes, int y, int channels, uint8_t* out) {
  const size_t at = size_t(y) * size_t(planes.width);
  const uint8_t* r = planes.planes[0] + at;
  const uint8_t* g = planes.planes[1] + at;
  const uint8_t* b = planes.planes[2] + at;
  const uint8_t* a = planes.planes[3] + at;
  const int w = planes.width;
  if (channels == 4) {
    for (int x = 0; x < w; ++x, out += 4) {
      out[0] = r[x];
      out[1] = g[x];
      out[2] = b[x];
      out[3] = a[x];
    }
  } else {
    for (int x = 0; x < w; ++x, out += 3) {
      out[0] = r[x];
      out[1] = g[x];
      out[2] = b[x];
    }
  }
}

}  // namespace ombrix
