// End to end: an effect script that composes a PNG logo over a frame sequence, rendered by the
// staged command-line host through the image-filter module, gives the frames the test host
// computes with the same entry.
#include <Magick++.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/platform/files.h"
#include "core/script/effect_script.h"
#include "tests/com/com_test_support.h"

namespace com_test {
namespace {

constexpr Corners kLogoZone{20, 10, 36, 22};

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

std::unique_ptr<Picture> ReadPng(const std::string& path) {
  Magick::Image image;
  image.read(path);
  const int w = int(image.columns()), h = int(image.rows());
  std::string rgb(size_t(w) * size_t(h) * 3, '\0');
  image.write(0, 0, unsigned(w), unsigned(h), "RGB", Magick::CharPixel, rgb.data());
  return MakePicture(w, h, [&](int x, int y) {
    const size_t i = 3 * (size_t(y) * size_t(w) + size_t(x));
    return Rgb(uint8_t(rgb[i]), uint8_t(rgb[i + 1]), uint8_t(rgb[i + 2]));
  });
}

std::unique_ptr<Picture> Frame(int number) { return NoisePicture(64, 48, 100 + uint32_t(number)); }

class ComRender : public ComTest {};

TEST_F(ComRender, EffectComposingAPngLogoOverFramesRendersThroughOmbrixRender) {
  // A 16 x 12 logo: a ring of colours on the neutral blue, which stays transparent.
  auto logo = MakePicture(16, 12, [](int x, int y) {
    const int d = (x - 8) * (x - 8) + (y - 6) * (y - 6);
    return d >= 9 && d <= 25 ? Rgb(250, 16 * x, 20 * y) : Rgb(0, 0, 255);
  });
  const std::string logo_path = WritePng(*logo, "logo.png");
  for (int n = 1; n <= 3; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "in.%04d.png", n);
    WritePng(*Frame(n), name);
  }

  // The logo laid at (20, 10): the zone covers it and the offsets move the sample point back.
  Entry entry = Com().MakeEntry("Compose");
  entry.Value(1, logo_path).Value(2, "-20").Value(3, "-10");
  FilterDescriptor& d = entry.descriptor();
  d.zone[0] = kLogoZone.x0, d.zone[1] = kLogoZone.y0, d.zone[2] = kLogoZone.x1, d.zone[3] = kLogoZone.y1;
  d.full_screen = 0;
  d.all_frames = 1;
  d.start_frame = 0;
  const FilterDescriptor* entries[] = {&d};
  ombrix::ScriptHeader header;
  header.based_width = 64;
  header.based_height = 48;
  ASSERT_EQ(ombrix::WriteScript(Path("logo.Oms").c_str(), entries, 1, 1, header), 1);

  // An installation of the staged pieces. The progress module is the staged one when there is
  // one, else a stand-in without windows.
  const std::string stage = OMBRIX_STAGE_DIR;
  const std::string root = Path("root");
  namespace fs = std::filesystem;
  fs::create_directories(root + "/Programs/Temp");  // where the module keeps the instance's script
  fs::create_directory_symlink(stage + "/Plugins", root + "/Plugins");
  fs::create_directory_symlink(stage + "/UGIO", root + "/UGIO");
  fs::create_symlink(stage + "/Programs/ombrix-filter.p", root + "/Programs/ombrix-filter.p");
  const std::string progress = stage + "/Programs/OmOutX.Omw";
  fs::create_symlink(fs::exists(progress) ? progress : std::string(PROGRESS_STAND_IN), root + "/Programs/OmOutX.Omw");

  // Without OMBRIX_REGISTRY_DIR and with --root, the host makes a private settings store of the
  // installation's defaults in TMPDIR; the clipboard store stays the test's own.
  const std::string command = "env -u OMBRIX_REGISTRY_DIR ASAN_OPTIONS=detect_leaks=0 TMPDIR=" + Quoted(dir_) + " " +
                              Quoted(stage + "/Programs/ombrix-render") + " --root " + Quoted(root) +
                              " --no-progress --frames 1-3 " + Quoted(Path("logo.Oms")) + " " +
                              Quoted(Path("in.%04d.png")) + " " + Quoted(Path("out.%04d.png")) + " 2> " +
                              Quoted(Path("render.log"));
  const int status = std::system(command.c_str());
  const auto log = ombrix::platform::ReadWholeFile(Path("render.log").c_str());
  ASSERT_EQ(status, 0) << (log ? *log : std::string("(no log)"));
  if (!fs::exists(progress)) {
    // The filter told the render what it loads; the engine shows it as the progress info text.
    EXPECT_NE(log->find("progress info: Loading \"logo.png\"..."), std::string::npos) << *log;
  }

  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    char name[32];
    std::snprintf(name, sizeof name, "out.%04d.png", n);
    auto rendered = ReadPng(Path(name));
    auto input = Frame(n);
    ApplyCall call;
    call.zone = kLogoZone;
    const Outcome expected = Com().Apply(entry, *input, call);
    ASSERT_EQ(expected.result, 1);
    EXPECT_EQ(CheckUnchanged(*expected.work, *rendered), "");
    // The ring shows, the blue around it does not, and nothing outside the zone changed.
    EXPECT_GE(PixelAt(*rendered, 20 + 8, 10 + 2).red, 249);
    EXPECT_EQ(PixelAt(*rendered, 20, 10), PixelAt(*input, 20, 10));
    EXPECT_EQ(
        CheckPixels(*input, *rendered, kLogoZone, [&](Bgr, int x, int y) { return PixelAt(*expected.work, x, y); }),
        "");
  }
}

}  // namespace
}  // namespace com_test
