// The direct PNG and TIFF paths against GraphicsMagick: what we write GraphicsMagick reads back
// sample for sample (alpha included) and so do we, and what GraphicsMagick writes in every layout
// (grey, palette, alpha, 16 bits, interlaced) we read as GraphicsMagick does. Damaged files give
// one reason and no picture.
#include <Magick++.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/import/png_file.h"
#include "core/import/tiff_file.h"
#include "core/platform/files.h"
#include "tools/ombrix-render/frame.h"

namespace {

using namespace ombrix;
using namespace ombrix::render;

Frame Pattern(int w, int h, bool alpha) {
  Frame f;
  f.Resize(w, h);
  f.has_alpha = alpha;
  for (size_t i = 0; i < f.red.size(); ++i) {
    f.red[i] = uint8_t(i * 7 + 1);
    f.green[i] = uint8_t(i * 13 + 5);
    f.blue[i] = uint8_t(200 - i * 3);
    if (alpha) f.alpha[i] = uint8_t(i * 31 + 2);
  }
  return f;
}

// GraphicsMagick's reading of a file, as RGBA bytes (alpha 255 when the file has none). Samples
// of 16 bits are taken as GraphicsMagick reads them and rounded to 8 bits here: its own
// reduction truncates, ours rounds.
std::vector<uint8_t> MagickRgba(const std::string& data, bool* has_alpha = nullptr, bool round_wide = true) {
  Magick::Image image;
  try {
    image.read(Magick::Blob(data.data(), data.size()));
  } catch (const Magick::Warning&) {
  }
  const size_t n = size_t(image.columns()) * image.rows() * 4;
  std::vector<uint8_t> rgba(n);
  if (image.depth() > 8 && round_wide) {
    std::vector<uint16_t> wide(n);
    image.write(0, 0, image.columns(), image.rows(), "RGBA", Magick::ShortPixel, wide.data());
    for (size_t i = 0; i < n; ++i) rgba[i] = uint8_t((wide[i] * 255u + 32767u) / 65535u);
  } else {
    image.write(0, 0, image.columns(), image.rows(), "RGBA", Magick::CharPixel, rgba.data());
  }
  if (has_alpha != nullptr) *has_alpha = image.matte();
  if (!image.matte())
    for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
  return rgba;
}

std::vector<uint8_t> FrameRgba(const Frame& f) {
  std::vector<uint8_t> rgba;
  for (size_t i = 0; i < f.red.size(); ++i) rgba.insert(rgba.end(), {f.red[i], f.green[i], f.blue[i], f.alpha[i]});
  return rgba;
}

PlaneAllocator Into(Frame& frame) {
  return [&frame](int w, int h, bool alpha, PicturePlanes& planes) {
    frame.Resize(w, h);
    frame.has_alpha = alpha;
    planes.width = w;
    planes.height = h;
    planes.has_alpha = alpha;
    for (int i = 0; i < 4; ++i) planes.planes[i] = frame.Plane(i);
    return true;
  };
}

class PictureFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { StartPictureLibrary(nullptr); }
  void SetUp() override {
    dir_ = platform::MakeTemporaryDirectory(std::string(OMBRIX_TEST_OUTPUT_DIR) + "/picture-files.XXXXXX");
    ASSERT_FALSE(dir_.empty());
  }
  std::string dir_;
};

struct WriteCase {
  const char* extension;
  FrameWriteOptions options;
  const char* label;
};

std::vector<WriteCase> WriteCases() {
  std::vector<WriteCase> cases;
  for (int level : {0, 1, 2, 6, 9}) {
    WriteCase c{".png", {}, "PNG"};
    c.options.png_compression = level;
    cases.push_back(c);
  }
  for (TiffCompression t : {TiffCompression::kNone, TiffCompression::kLzw, TiffCompression::kDeflate}) {
    WriteCase c{".tif", {}, "TIFF"};
    c.options.tiff_compression = t;
    cases.push_back(c);
  }
  return cases;
}

TEST_F(PictureFiles, WrittenFramesReadBackIdenticallyHereAndInGraphicsMagick) {
  for (const WriteCase& c : WriteCases()) {
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {7, 3}, {67, 45}}) {
      for (bool alpha : {false, true}) {
        SCOPED_TRACE(std::string(c.label) + " level " + std::to_string(c.options.png_compression) + " tiff " +
                     std::to_string(int(c.options.tiff_compression)) + " " + std::to_string(w) + "x" +
                     std::to_string(h) + (alpha ? " with alpha" : ""));
        const Frame in = Pattern(w, h, alpha);
        const std::string path = dir_ + "/frame" + c.extension;
        std::string error;
        ASSERT_TRUE(WriteFrame(path, in, error, c.options)) << error;
        const std::string data = platform::ReadWholeFile(path.c_str()).value_or("");
        bool magick_alpha = false;
        EXPECT_EQ(MagickRgba(data, &magick_alpha), FrameRgba(in));
        EXPECT_EQ(magick_alpha, alpha);
        Frame out;
        ASSERT_TRUE(ReadFrame(path, out, error)) << error;
        EXPECT_EQ(out.width, w);
        EXPECT_EQ(out.height, h);
        EXPECT_EQ(out.has_alpha, alpha);
        EXPECT_EQ(FrameRgba(out), FrameRgba(in));
      }
    }
  }
}

TEST_F(PictureFiles, CompressionLevelsTradeSizeForTime) {
  // A smooth picture: the levels must differ in what they make of it, and none may grow it past
  // the stored rows.
  Frame in;
  in.Resize(256, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 256; ++x) {
      const size_t i = size_t(y) * 256 + size_t(x);
      in.red[i] = uint8_t(x), in.green[i] = uint8_t(y * 4), in.blue[i] = uint8_t((x + y) / 2);
    }
  auto size_at = [&](const FrameWriteOptions& options, const char* extension) {
    std::string error;
    const std::string path = dir_ + "/level" + extension;
    EXPECT_TRUE(WriteFrame(path, in, error, options)) << error;
    return platform::ReadWholeFile(path.c_str()).value_or("").size();
  };
  FrameWriteOptions stored, fast, small;
  stored.png_compression = 0, fast.png_compression = 1, small.png_compression = 9;
  EXPECT_GT(size_at(stored, ".png"), size_t(256 * 64 * 3));
  EXPECT_LT(size_at(fast, ".png"), size_at(stored, ".png") / 4);
  EXPECT_LE(size_at(small, ".png"), size_at(fast, ".png"));
  FrameWriteOptions none, lzw, deflate;
  lzw.tiff_compression = TiffCompression::kLzw, deflate.tiff_compression = TiffCompression::kDeflate;
  EXPECT_GT(size_at(none, ".tif"), size_t(256 * 64 * 3));
  EXPECT_LT(size_at(lzw, ".tif"), size_at(none, ".tif") / 2);
  EXPECT_LT(size_at(deflate, ".tif"), size_at(none, ".tif") / 2);
}

// A file GraphicsMagick writes from 16-bit samples in the layout a setter chooses.
std::string MagickFile(const char* format, int w, int h, bool alpha, int depth,
                       const std::function<void(Magick::Image&)>& layout) {
  std::vector<uint16_t> samples(size_t(w) * size_t(h) * 4);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = uint16_t(i * 40503u + 977u);
  // The reduction to 8 bits rounds: these sit just around the halfway points between two steps.
  for (size_t i = 0; i < samples.size() && i < 8; ++i) samples[i] = uint16_t(257 * i + 128 + (i % 2));
  Magick::Image image(unsigned(w), unsigned(h), "RGBA", Magick::ShortPixel, samples.data());
  image.matte(alpha);
  image.depth(unsigned(depth));
  layout(image);
  image.magick(format);
  Magick::Blob blob;
  try {
    image.write(&blob);
  } catch (const Magick::Warning&) {
    // A palette without a background entry is still written whole.
  }
  return std::string(static_cast<const char*>(blob.data()), blob.length());
}

TEST_F(PictureFiles, EveryLayoutReadsAsGraphicsMagickReadsIt) {
  struct Layout {
    const char* name;
    bool alpha;
    int depth;
    std::function<void(Magick::Image&)> set;
  };
  const auto none = [](Magick::Image&) {};
  const std::vector<Layout> layouts = {
      {"RGB", false, 8, none},
      {"RGBA", true, 8, none},
      {"RGB 16-bit", false, 16, none},
      {"RGBA 16-bit", true, 16, none},
      {"grey", false, 8, [](Magick::Image& i) { i.type(Magick::GrayscaleType); }},
      {"grey 16-bit", false, 16, [](Magick::Image& i) { i.type(Magick::GrayscaleType); }},
      {"grey with alpha", true, 8, [](Magick::Image& i) { i.type(Magick::GrayscaleMatteType); }},
      {"palette", false, 8, [](Magick::Image& i) { i.quantizeColors(16), i.quantize(), i.type(Magick::PaletteType); }},
      {"palette with alpha", true, 8,
       [](Magick::Image& i) { i.quantizeColors(16), i.quantize(), i.type(Magick::PaletteMatteType); }},
      {"interlaced", false, 8, [](Magick::Image& i) { i.interlaceType(Magick::LineInterlace); }},
  };
  for (const char* format : {"PNG", "TIFF"}) {
    for (const Layout& layout : layouts) {
      for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {7, 3}, {33, 20}}) {
        SCOPED_TRACE(std::string(format) + " " + layout.name + " " + std::to_string(w) + "x" + std::to_string(h));
        const std::string data = MagickFile(format, w, h, layout.alpha, layout.depth, layout.set);
        const std::string path = dir_ + "/in." + format;
        ASSERT_TRUE(platform::ReplaceFileAtomically(path.c_str(), data));
        // Palette TIFF files are GraphicsMagick's to read, with its own reduction.
        const bool direct_path =
            std::string(format) == "PNG" || std::string(layout.name).find("palette") == std::string::npos;
        bool magick_alpha = false;
        const std::vector<uint8_t> expected = MagickRgba(data, &magick_alpha, direct_path);
        Frame out;
        std::string error;
        ASSERT_TRUE(ReadFrame(path, out, error)) << error;
        EXPECT_EQ(FrameRgba(out), expected);
        EXPECT_EQ(out.has_alpha, magick_alpha);
        // Every PNG, and the TIFF layouts a render pipeline writes, take the direct path.
        Frame direct;
        const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
        if (std::string(format) == "PNG") {
          EXPECT_TRUE(DecodePng(bytes, data.size(), Into(direct), nullptr, error)) << error;
        } else if (direct_path) {
          EXPECT_EQ(DecodeTiff(bytes, data.size(), Into(direct), nullptr, error), TiffDecode::kDecoded) << error;
        }
      }
    }
  }
}

TEST_F(PictureFiles, DamagedFilesGiveOneReasonAndNoPicture) {
  std::string error;
  const Frame in = Pattern(40, 30, true);
  ASSERT_TRUE(WriteFrame(dir_ + "/good.png", in, error));
  FrameWriteOptions lzw;
  lzw.tiff_compression = TiffCompression::kLzw;
  ASSERT_TRUE(WriteFrame(dir_ + "/good.tif", in, error, lzw));
  const std::string png = platform::ReadWholeFile((dir_ + "/good.png").c_str()).value_or("");
  const std::string tiff = platform::ReadWholeFile((dir_ + "/good.tif").c_str()).value_or("");
  std::string flipped = png;
  flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x5A);  // inside the picture data
  const std::vector<std::pair<std::string, std::string>> damaged = {
      {"cut.png", png.substr(0, png.size() / 2)},   {"header-only.png", png.substr(0, 40)},  {"flipped.png", flipped},
      {"cut.tif", tiff.substr(0, tiff.size() / 2)}, {"header-only.tif", tiff.substr(0, 12)},
  };
  for (const auto& [name, bytes] : damaged) {
    SCOPED_TRACE(name);
    const std::string path = dir_ + "/" + name;
    ASSERT_TRUE(platform::ReplaceFileAtomically(path.c_str(), bytes));
    Frame out;
    error.clear();
    EXPECT_FALSE(ReadFrame(path, out, error));
    EXPECT_NE(error.find("cannot read \"" + path + "\""), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

}  // namespace
