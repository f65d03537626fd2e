// Shared helpers of the import tests: a private clipboard store and registry per test, pictures
// made from a pixel function, and file helpers.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/picture/picture.h"

namespace import_test {

inline std::string MakeTempDir(const char* name) {
  std::string pattern = std::string(OMBRIX_TEST_OUTPUT_DIR) + "/" + name + ".XXXXXX";
  const char* made = mkdtemp(pattern.data());
  return made != nullptr ? made : std::string();
}

// Every test gets its own clipboard store and registry, so nothing of the user's is touched and
// tests running side by side do not meet.
class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = MakeTempDir("import");
    ASSERT_FALSE(dir_.empty());
    clipboard_dir_ = dir_ + "/clipboard";
    setenv("OMBRIX_CLIPBOARD_DIR", clipboard_dir_.c_str(), 1);
    setenv("OMBRIX_REGISTRY_DIR", (dir_ + "/registry").c_str(), 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
  }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  std::string dir_;
  std::string clipboard_dir_;
};

inline bool WriteBytes(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  return WriteBytes(path, std::string(bytes.begin(), bytes.end()));
}

inline std::string ReadBytes(const std::string& path) {
  std::string data;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return data;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) data.append(buffer, n);
  std::fclose(file);
  return data;
}

struct Bgr {
  uint8_t b, g, r;
};
using PixelFunction = std::function<Bgr(int x, int y)>;

inline void FillPicture(Picture* picture, int width, int height, const PixelFunction& pixel) {
  ASSERT_TRUE(picture->Create(width, height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const Bgr p = pixel(x, y);
      const uint8_t bgr[3] = {p.b, p.g, p.r};
      picture->SetPixel(x, y, bgr);
    }
}

// Pixels of the same size and values; the first difference is reported.
inline ::testing::AssertionResult SamePixels(const Picture& a, const Picture& b, int tolerance = 0) {
  if (a.Width() != b.Width() || a.Height() != b.Height())
    return ::testing::AssertionFailure() << "sizes " << a.Width() << "x" << a.Height() << " and " << b.Width() << "x"
                                         << b.Height();
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      for (int c = 0; c < 3; ++c) {
        const int d = int(a.Row(y)[3 * x + c]) - int(b.Row(y)[3 * x + c]);
        if (d > tolerance || -d > tolerance)
          return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") byte " << c << ": "
                                               << int(a.Row(y)[3 * x + c]) << " vs " << int(b.Row(y)[3 * x + c]);
      }
  return ::testing::AssertionSuccess();
}

// An executable shell script.
inline bool WriteScript(const std::string& path, const std::string& body) {
  if (!WriteBytes(path, "#!/bin/sh\n" + body)) return false;
  return chmod(path.c_str(), 0755) == 0;
}

}  // namespace import_test
