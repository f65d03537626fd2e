// The staged converter Im_pp end to end: pictures written by GraphicsMagick in many formats load
// through "load picture file" to the same pixels with the right type text; damaged files never
// crash it; its command line.
#include <Magick++.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/import/converter.h"
#include "core/import/picture_import.h"
#include "core/import/picture_writers.h"
#include "core/import/targa.h"
#include "core/platform/clipboard.h"
#include "core/platform/process.h"
#include "tests/import/import_test_support.h"

namespace {

using import_test::Bgr;
using import_test::SamePixels;

const std::string kConverter = std::string(OMBRIX_STAGE_DIR) + "/UGIO/Im_pp";

// 64 colours, so palette formats (GIF, 8-bit bitmaps, PCX) hold the picture exactly; an odd
// width exercises row padding.
Bgr FewColours(int x, int y) {
  return {uint8_t((x % 4) * 85), uint8_t((y % 4) * 85), uint8_t(((x / 4 + y / 4) % 4) * 85)};
}

// Flat grey blocks of 16 x 16 pixels: with quality 100 every JPEG block keeps only its exact
// average, and grey needs no colour conversion, so the JPEG decodes to the very same bytes.
Bgr GreyBlocks(int x, int y) {
  const uint8_t v = uint8_t(((x / 16) * 3 + (y / 16) * 5) % 8 * 32 + 16);
  return {v, v, v};
}

Magick::Image ToMagick(const Picture& picture) {
  std::string rgb;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      const uint8_t* p = picture.Row(y) + 3 * x;
      rgb += char(p[2]);
      rgb += char(p[1]);
      rgb += char(p[0]);
    }
  return Magick::Image(unsigned(picture.Width()), unsigned(picture.Height()), "RGB", Magick::CharPixel, rgb.data());
}

class ImPp : public import_test::ImportTest {
 protected:
  void SetUp() override {
    ImportTest::SetUp();
    Magick::InitializeMagick(nullptr);
    ombrix::SetConverterPath(kConverter.c_str());
    ombrix::ForgetPictureReport();
    import_test::FillPicture(&few_, 37, 23, FewColours);
  }
  void TearDown() override {
    ombrix::SetConverterPath(nullptr);
    ombrix::ForgetPictureReport();
  }

  // Writes the picture with GraphicsMagick; `prefix` may name a format ("BMP3:").
  std::string Write(const Picture& picture, const std::string& name, const std::string& prefix = "",
                    const std::function<void(Magick::Image&)>& adjust = {}) {
    Magick::Image image = ToMagick(picture);
    if (adjust) adjust(image);
    const std::string path = Path(name);
    image.write(prefix + path);
    return path;
  }

  std::unique_ptr<Picture> Load(const std::string& path) { return ombrix::LoadPictureFile(path.c_str()); }

  // Runs the converter directly; its standard error goes to a file.
  int RunIm_pp(const std::vector<std::string>& arguments, std::string* errors = nullptr) {
    std::string script = "\"$0\"";
    for (size_t i = 1; i <= arguments.size(); ++i) script += " \"$" + std::to_string(i) + "\"";
    script += " 2> '" + Path("stderr") + "'";
    ombrix::platform::StartRequest request;
    request.program = "/bin/sh";
    request.arguments = {"-c", script, kConverter};
    request.arguments.insert(request.arguments.end(), arguments.begin(), arguments.end());
    ombrix::platform::Process process;
    if (!process.Start(request) || !process.Wait()) return -1;
    if (errors != nullptr) *errors = import_test::ReadBytes(Path("stderr"));
    // sh reports a child killed by a signal as 128 + the signal.
    return process.ExitCode();
  }

  Picture few_;
};

TEST_F(ImPp, EveryFormatLoadsToTheSamePixelsWithItsTypeText) {
  const auto true_colour = [](Magick::Image& image) { image.type(Magick::TrueColorType); };
  const auto palette = [](Magick::Image& image) { image.type(Magick::PaletteType); };
  const auto palette_rle = [](Magick::Image& image) {
    image.type(Magick::PaletteType);
    image.compressType(Magick::RLECompression);
  };
  struct Case {
    std::string path;
    const char* type_text;
  };
  std::vector<Case> cases = {
      {Write(few_, "a.png"), "Unknown Format (?)"},
      {Write(few_, "a.pcx"), "Zsoft PaintBrush (PCX)"},
      {Write(few_, "a.gif"), "CompuServe Graphic Interchange Format (GIF)"},
      {Write(few_, "a.tif"), "Tagged Image File Format (TIFF,TIF)"},
      {Write(few_, "a.bmp", "BMP3:", true_colour), "Windows bitmap (BMP)"},
      {Write(few_, "a.rle", "BMP3:", palette_rle), "Windows compressed bitmap (RLE)"},
      {Write(few_, "a.os2", "BMP2:", palette), "OS2 Bitmap (OS2,BMP)"},
  };
  // A DIB file: a bitmap without its 14-byte file header.
  const std::string bitmap = import_test::ReadBytes(cases[4].path);
  ASSERT_TRUE(import_test::WriteBytes(Path("a.dib"), bitmap.substr(14)));
  cases.push_back({Path("a.dib"), "Windows bitmap (BMP)"});

  for (const Case& c : cases) {
    std::unique_ptr<Picture> loaded = Load(c.path);
    ASSERT_NE(loaded, nullptr) << c.path;
    EXPECT_TRUE(SamePixels(few_, *loaded)) << c.path;
    EXPECT_STREQ(loaded->TypeText(), c.type_text) << c.path;
    EXPECT_STREQ(loaded->SourceText(), c.path.c_str());
    EXPECT_EQ(loaded->ExtraPlane(), nullptr);
  }
  // The run-length bitmap really is run-length compressed, and the OS/2 one has the small header.
  const std::string rle = import_test::ReadBytes(cases[5].path);
  EXPECT_EQ(rle[30], 1);
  EXPECT_EQ(import_test::ReadBytes(cases[6].path)[14], 12);

  ombrix::PictureReport report;
  ASSERT_TRUE(ombrix::GetPictureReport(cases[5].path.c_str(), &report));
  EXPECT_EQ(report.width, 37);
  EXPECT_EQ(report.height, 23);
  EXPECT_EQ(report.bits_per_pixel, 8);
  ASSERT_TRUE(ombrix::GetPictureReport(cases[4].path.c_str(), &report));
  EXPECT_EQ(report.bits_per_pixel, 24);
}

TEST_F(ImPp, IconsLoadTheirFirstImage) {
  // A Windows icon holding one 24-bit image of 16 x 16: directory, entry, bitmap header with the
  // doubled height, colour rows bottom-up, then the transparency mask (all opaque).
  Picture icon;
  import_test::FillPicture(&icon, 16, 16, FewColours);
  std::string file;
  auto u16 = [&](int v) { file += char(v & 0xFF), file += char((v >> 8) & 0xFF); };
  auto u32 = [&](uint32_t v) { u16(int(v & 0xFFFF)), u16(int(v >> 16)); };
  const uint32_t colour_bytes = 16 * 48, mask_bytes = 16 * 4;
  u16(0), u16(1), u16(1);
  file += char(16), file += char(16), file += char(0), file += char(0);
  u16(1), u16(24), u32(40 + colour_bytes + mask_bytes), u32(22);
  u32(40), u32(16), u32(32), u16(1), u16(24), u32(0), u32(colour_bytes + mask_bytes), u32(0), u32(0), u32(0), u32(0);
  for (int y = 15; y >= 0; --y) file.append(reinterpret_cast<const char*>(icon.Row(y)), 48);
  file.append(mask_bytes, '\0');
  ASSERT_TRUE(import_test::WriteBytes(Path("a.ico"), file));

  std::unique_ptr<Picture> loaded = Load(Path("a.ico"));
  ASSERT_NE(loaded, nullptr);
  EXPECT_TRUE(SamePixels(icon, *loaded));
  EXPECT_STREQ(loaded->TypeText(), "Windows Icon (ICO)");
}

TEST_F(ImPp, PngJpegAndTargaLoadIntoIdenticalPictures) {
  Picture grey;
  import_test::FillPicture(&grey, 64, 48, GreyBlocks);
  const std::string png = Write(grey, "same.png");
  const std::string jpeg = Write(grey, "same.jpg", "", [](Magick::Image& image) { image.quality(100); });
  const std::string targa = Path("same.tga");
  ASSERT_TRUE(ombrix::WriteTargaFile(grey, targa.c_str(), 24));

  std::unique_ptr<Picture> from_png = Load(png);
  std::unique_ptr<Picture> from_jpeg = Load(jpeg);
  std::unique_ptr<Picture> from_targa = Load(targa);
  ASSERT_NE(from_png, nullptr);
  ASSERT_NE(from_jpeg, nullptr);
  ASSERT_NE(from_targa, nullptr);
  EXPECT_TRUE(SamePixels(grey, *from_targa));
  EXPECT_TRUE(SamePixels(*from_targa, *from_png));
  EXPECT_TRUE(SamePixels(*from_targa, *from_jpeg));
  EXPECT_EQ(std::memcmp(from_targa->Dib(), from_jpeg->Dib(), from_targa->DibBytes()), 0);
  EXPECT_EQ(std::memcmp(from_targa->Dib(), from_png->Dib(), from_targa->DibBytes()), 0);
  EXPECT_STREQ(from_png->TypeText(), "Unknown Format (?)");
  EXPECT_STREQ(from_jpeg->TypeText(), "Join Photographic Expert Group (JPEG,JPG)");
  EXPECT_STREQ(from_targa->TypeText(), "Truevision Targa Format (TGA)");
  // Nothing but the test's own store was used.
  EXPECT_TRUE(ombrix::platform::Clipboard::HasFormat(ombrix::platform::kClipboardDib));
  EXPECT_EQ(ombrix::platform::ClipboardDirectory(), clipboard_dir_);
}

TEST_F(ImPp, ColourJpegStaysCloseToItsSource) {
  // A smooth colour picture at quality 100 comes back within a few steps per byte (colour
  // conversion and rounding); this bounds the error rather than asking for equality.
  Picture smooth;
  import_test::FillPicture(&smooth, 48, 40, [](int x, int y) {
    return Bgr{uint8_t(40 + 3 * x), uint8_t(30 + 4 * y), uint8_t(200 - 2 * x - y)};
  });
  const std::string jpeg = Write(smooth, "smooth.jpg", "", [](Magick::Image& image) { image.quality(100); });
  std::unique_ptr<Picture> loaded = Load(jpeg);
  ASSERT_NE(loaded, nullptr);
  EXPECT_TRUE(SamePixels(smooth, *loaded, 4));
}

TEST_F(ImPp, TargaFilesTheReaderRefusesGoThroughTheConverter) {
  // Colour-mapped, written by GraphicsMagick from a palette picture.
  const std::string mapped =
      Write(few_, "mapped.tga", "TGA:", [](Magick::Image& image) { image.type(Magick::PaletteType); });
  ASSERT_EQ(import_test::ReadBytes(mapped)[1], 1) << "expected a colour map";
  Picture refused;
  EXPECT_EQ(ombrix::ReadTargaFile(mapped.c_str(), &refused), 0);
  std::unique_ptr<Picture> loaded = Load(mapped);
  ASSERT_NE(loaded, nullptr);
  EXPECT_TRUE(SamePixels(few_, *loaded));
  EXPECT_STREQ(loaded->TypeText(), "Unknown Format (?)");

  // 4 x 3 with a run of 6 pixels that covers row 0 and half of row 1: refused by the reader,
  // read by the converter, which lets packets continue into the next row.
  std::string across(18, '\0');
  across[2] = 10;
  across[12] = 4;
  across[14] = 3;
  across[16] = 24;
  across[17] = 32;                                           // top row first
  across += std::string("\x85\x01\x02\x03", 4);              // 6 pixels: row 0 and half of row 1
  across += std::string("\x01\x04\x05\x06\x07\x08\x09", 7);  // 2 pixels: the end of row 1
  across += std::string("\x83\x0a\x0b\x0c", 4);              // row 2
  ASSERT_TRUE(import_test::WriteBytes(Path("across.tga"), across));
  EXPECT_EQ(ombrix::ReadTargaFile(Path("across.tga").c_str(), &refused), 0);
  loaded = Load(Path("across.tga"));
  ASSERT_NE(loaded, nullptr);
  ASSERT_EQ(loaded->Width(), 4);
  uint8_t bgr[3];
  loaded->GetPixel(1, 1, bgr);
  EXPECT_EQ(bgr[0], 1);
  loaded->GetPixel(3, 1, bgr);
  EXPECT_EQ(bgr[0], 7);
  loaded->GetPixel(0, 2, bgr);
  EXPECT_EQ(bgr[2], 12);
}

TEST_F(ImPp, DamagedFilesNeverCrashItAndLeaveNoBitmap) {
  const std::vector<std::string> sources = {
      Write(few_, "d.png"), Write(few_, "d.gif"),
      Write(few_, "d.pcx"), Write(few_, "d.tif"),
      Write(few_, "d.jpg"), Write(few_, "d.bmp", "BMP3:", [](Magick::Image& i) { i.type(Magick::PaletteType); }),
  };
  int variant = 0;
  for (const std::string& source : sources) {
    const std::string bytes = import_test::ReadBytes(source);
    const std::string extension = source.substr(source.rfind('.'));
    std::vector<std::string> damaged = {bytes.substr(0, bytes.size() / 2), bytes.substr(0, 20)};
    std::string flipped = bytes;
    for (size_t i = 10; i < flipped.size(); i += 7) flipped[i] = char(flipped[i] ^ 0x5A);
    damaged.push_back(flipped);
    for (const std::string& data : damaged) {
      const std::string path = Path("damaged" + std::to_string(variant++) + extension);
      ASSERT_TRUE(import_test::WriteBytes(path, data));
      ASSERT_TRUE(import_test::WriteBytes(Path("report"), std::string()));
      const int load = RunIm_pp({"[Load]", "[" + path + "]", "[]"});
      EXPECT_TRUE(load == 0 || load == 1) << path << " exit " << load;
      if (load != 0) {
        EXPECT_FALSE(ombrix::platform::Clipboard::HasFormat(ombrix::platform::kClipboardDib)) << path;
      }
      const int info = RunIm_pp({"[Info]", "[" + path + "]", "[" + Path("report") + "]"});
      EXPECT_TRUE(info == 0 || info == 1) << path << " exit " << info;
    }
  }
}

TEST_F(ImPp, CommandLineAndFailureMessages) {
  std::string errors;
  EXPECT_EQ(RunIm_pp({"--help"}), 0);
  EXPECT_EQ(RunIm_pp({}), 2);
  EXPECT_EQ(RunIm_pp({"[Save]", "[x]", "[]"}, &errors), 2);
  EXPECT_NE(errors.find("unknown command"), std::string::npos);
  EXPECT_EQ(RunIm_pp({"[Info]", "[" + Write(few_, "x.png") + "]", "[]"}), 2);

  ASSERT_TRUE(import_test::WriteBytes(Path("notes.txt"), std::string("plain words, no picture\n")));
  EXPECT_EQ(RunIm_pp({"[Load]", "[" + Path("notes.txt") + "]", "[]"}, &errors), 1);
  EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;  // exactly one line
  EXPECT_EQ(errors.rfind("Im_pp: cannot read \"" + Path("notes.txt") + "\"", 0), 0u) << errors;
  EXPECT_EQ(RunIm_pp({"[Load]", "[" + Path("missing.png") + "]", "[]"}, &errors), 1);
  EXPECT_EQ(errors.find('\n'), errors.size() - 1) << errors;

  // Brackets are optional, and "[" or "]" inside a name is part of the name.
  const std::string odd = Path("odd[1].png");
  ASSERT_TRUE(import_test::WriteBytes(odd, import_test::ReadBytes(Write(few_, "odd.png"))));
  EXPECT_EQ(RunIm_pp({"Info", odd, Path("report")}), 0);
  const std::string report = import_test::ReadBytes(Path("report"));
  EXPECT_EQ(report.rfind("Width = 37\nHeight = 23\nBPP = ", 0), 0u) << report;
  EXPECT_NE(report.find("\nFormat = PNG\n"), std::string::npos) << report;
}

}  // namespace
