// Generated pictures and PPM files.
#include "bench/pictures.h"

#include <string>

#include "core/platform/files.h"

namespace ombrix::bench {

bool MakeBenchPicture(Picture& picture, int width, int height, uint32_t seed, bool noise) {
  if (!picture.Create(width, height)) return false;
  uint32_t state = seed * 2654435761u + 1;
  auto draw = [&state, noise] {
    if (!noise) return 0;
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return int(state >> 27) - 16;  // -16 .. 15
  };
  auto byte = [](int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); };
  for (int y = 0; y < height; ++y) {
    uint8_t* p = picture.Row(y);
    for (int x = 0; x < width; ++x, p += 3) {
      const int across = 255 * x / (width > 1 ? width - 1 : 1);
      const int down = 255 * y / (height > 1 ? height - 1 : 1);
      p[0] = byte(across + draw());
      p[1] = byte(down + draw());
      p[2] = byte((across + down) / 2 + ((x / 64 + y / 64) % 2) * 48 - 24 + draw());
    }
  }
  return true;
}

bool WritePpmFile(const Picture& picture, const std::string& path) {
  if (picture.IsEmpty()) return false;
  std::string data = "P6\n" + std::to_string(picture.Width()) + " " + std::to_string(picture.Height()) + "\n255\n";
  data.reserve(data.size() + size_t(picture.Width()) * size_t(picture.Height()) * 3);
  for (int y = 0; y < picture.Height(); ++y) {
    const uint8_t* p = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x, p += 3) {
      data += char(p[2]);
      data += char(p[1]);
      data += char(p[0]);
    }
  }
  return platform::ReplaceFileAtomically(path.c_str(), data);
}

}  // namespace ombrix::bench
