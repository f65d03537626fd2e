// The editor's pictures without windows: both resizes and the fit that chooses between them,
// the preview's zoom steps, inversion, the main window's choice of pictures, the bitmap the
// preview saves (read back by the import code and by GraphicsMagick) and the test render's
// refusals.
#include <Magick++.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "core/settings/settings.h"
#include "editor/model/picture_areas.h"
#include "editor/model/picture_fit.h"
#include "editor/model/picture_invert.h"
#include "editor/model/picture_save.h"
#include "editor/model/preview_zoom.h"
#include "editor/model/test_render.h"
#include "gui/scripted_dialogs.h"
#include "tests/editor/editor_test_support.h"
#include "tools/picture-reader/read_picture.h"

namespace {

using namespace ombrix;
using namespace ombrix::editor;

void Fill(Picture& picture, int width, int height, uint8_t (*value)(int x, int y, int c)) {
  ASSERT_TRUE(picture.Create(width, height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c) picture.Row(y)[3 * x + c] = value(x, y, c);
}

uint8_t Pattern(int x, int y, int c) { return uint8_t(x * 37 + y * 11 + c * 80); }

bool SamePixels(const Picture& a, const Picture& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.Row(y), b.Row(y), 3 * size_t(a.Width())) != 0) return false;
  return true;
}

TEST(PictureResize, ThePointResizeFollowsItsSinglePrecisionSumsOnOddSizes) {
  Picture source;
  Fill(source, 7, 5, Pattern);
  auto resized = PointResize(source, 3, 11);
  ASSERT_NE(resized, nullptr);
  float sum_y = 0;
  for (int y = 0; y < 11; ++y, sum_y += 5.0f / 11.0f) {
    float sum_x = 0;
    for (int x = 0; x < 3; ++x, sum_x += 7.0f / 3.0f)
      EXPECT_EQ(std::memcmp(resized->Row(y) + 3 * ptrdiff_t(x), source.Row(int(sum_y)) + 3 * ptrdiff_t(sum_x), 3), 0)
          << x << "," << y;
  }
}

TEST(PictureResize, TheTwoPassResizeInterpolatesEnlargingAndAveragesShrinking) {
  // A row 0, 100, 200 stretched to five pixels puts the sources on pixels 0, 2 and 4.
  Picture row;
  Fill(row, 3, 1, [](int x, int, int) { return uint8_t(100 * x); });
  auto stretched = TwoPassResize(row, 5, 1);
  ASSERT_NE(stretched, nullptr);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(stretched->Row(0)[3 * ptrdiff_t(x)], 50 * x) << x;
  // Three rows 0, 90, 180 squeezed into two: each covers one and a half source rows.
  Picture column;
  Fill(column, 1, 3, [](int, int y, int) { return uint8_t(90 * y); });
  auto squeezed = TwoPassResize(column, 1, 2);
  ASSERT_NE(squeezed, nullptr);
  EXPECT_EQ(squeezed->Row(0)[0], 30);   // (0 + 90 / 2) / 1.5
  EXPECT_EQ(squeezed->Row(1)[0], 150);  // (90 / 2 + 180) / 1.5
  // Halving the width of 0, 100, 200, 41 averages pairs, rounding halves up.
  Picture pairs;
  Fill(pairs, 4, 1, [](int x, int, int) { return uint8_t(x == 3 ? 41 : 100 * x); });
  auto halved = TwoPassResize(pairs, 2, 1);
  ASSERT_NE(halved, nullptr);
  EXPECT_EQ(halved->Row(0)[0], 50);
  EXPECT_EQ(halved->Row(0)[3], 121);  // 120.5
  EXPECT_EQ(TwoPassResize(row, 0, 1), nullptr);
}

TEST(PictureResize, TheTwoPassResizeKeepsUniformPicturesAndSameSizesExact) {
  Picture uniform;
  Fill(uniform, 13, 7, [](int, int, int c) { return uint8_t(c == 0 ? 201 : c == 1 ? 3 : 254); });
  for (const auto& [w, h] : {std::pair{31, 17}, {5, 3}, {29, 2}, {1, 1}, {13, 20}}) {
    auto resized = TwoPassResize(uniform, w, h);
    ASSERT_NE(resized, nullptr);
    ASSERT_EQ(resized->Width(), w);
    ASSERT_EQ(resized->Height(), h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(std::memcmp(resized->Row(y) + 3 * ptrdiff_t(x), uniform.Row(0), 3), 0)
            << w << "x" << h << " at " << x;
  }
  Picture source;
  Fill(source, 9, 6, Pattern);
  source.SetSourceText("/pictures/a.bmp");
  auto same = TwoPassResize(source, 9, 6);
  ASSERT_NE(same, nullptr);
  EXPECT_TRUE(SamePixels(*same, source));
  EXPECT_STREQ(same->SourceText(), "/pictures/a.bmp");
  // Only the width changes: every row is resized on its own, the rows are not mixed.
  auto wider = TwoPassResize(source, 17, 6);
  ASSERT_NE(wider, nullptr);
  for (int y = 0; y < 6; ++y) {
    EXPECT_EQ(std::memcmp(wider->Row(y), source.Row(y), 3), 0);
    EXPECT_EQ(std::memcmp(wider->Row(y) + ptrdiff_t(3 * 16), source.Row(y) + ptrdiff_t(3 * 8), 3), 0);
  }
}

TEST(PictureResize, FittingChoosesTheResizeByTheComputeExtraOption) {
  Picture source;
  Fill(source, 40, 30, Pattern);
  auto point = FitPicture(source, 30, 30, false);
  auto two_pass = FitPicture(source, 30, 30, true);
  ASSERT_NE(point, nullptr);
  ASSERT_NE(two_pass, nullptr);
  EXPECT_EQ(point->Width(), 30);
  EXPECT_EQ(point->Height(), 22);
  EXPECT_EQ(two_pass->Width(), 30);
  EXPECT_EQ(two_pass->Height(), 22);
  EXPECT_TRUE(SamePixels(*point, *PointResize(source, 30, 22)));
  EXPECT_TRUE(SamePixels(*two_pass, *TwoPassResize(source, 30, 22)));
  EXPECT_FALSE(SamePixels(*point, *two_pass));
}

TEST(PreviewZoomSteps, StartByHalvingForTheHeightThenTheWidth) {
  const PreviewZoom large = PreviewZoom::Start(2000, 1500, 400, 300);
  EXPECT_EQ(large.Label(), "1:8");  // 1500 / 4 = 375 does not fit, 187.5 does; 250 fits the width
  EXPECT_EQ(PreviewZoom::Start(400, 300, 400, 300).Label(), "1:1");
  EXPECT_EQ(PreviewZoom::Start(10, 10, 400, 300).Label(), "1:1");
  // The height fits at once; the width alone asks for 1/16.
  EXPECT_EQ(PreviewZoom::Start(6000, 100, 400, 300).Label(), "1:16");
  EXPECT_EQ(large.Scaled(2000), 250);

  PreviewZoom zoom = large;
  int steps = 0;
  while (zoom.ZoomIn()) ++steps;
  EXPECT_EQ(steps, 8);  // 1:8 up to 32:1
  EXPECT_EQ(zoom.Label(), "32:1");
  EXPECT_EQ(zoom.Scaled(3), 96);
  EXPECT_FALSE(zoom.ZoomIn());
  EXPECT_EQ(zoom.Label(), "32:1");
  while (zoom.ZoomOut()) {
  }
  EXPECT_EQ(zoom.Label(), "1:65536");
  EXPECT_EQ(zoom.Scaled(65535), 0);
}

TEST(PictureInversion, EveryColourByteTurnsAroundAndTwiceRestores) {
  Picture picture;
  Fill(picture, 5, 3, Pattern);  // 5 pixels: rows padded by one byte
  Picture original;
  ASSERT_TRUE(original.CopyFrom(&picture));
  InvertPicture(picture);
  for (int y = 0; y < 3; ++y)
    for (int i = 0; i < 15; ++i) ASSERT_EQ(picture.Row(y)[i], 255 - original.Row(y)[i]);
  InvertPicture(picture);
  EXPECT_EQ(std::memcmp(picture.Dib(), original.Dib(), original.DibBytes()), 0);
  Picture empty;
  InvertPicture(empty);
  EXPECT_TRUE(empty.IsEmpty());
}

TEST(PictureAreas, ThePreviewPrefersTheLastRenderAndTheSmallAreasDiffer) {
  const PictureAreaChoice none = ChoosePictureAreas(false, false, true);
  EXPECT_STREQ(none.preview_label, "No picture");
  EXPECT_EQ(none.preview, AreaPicture::kNone);
  const PictureAreaChoice original = ChoosePictureAreas(true, false, false);
  EXPECT_STREQ(original.preview_label, "Original");
  EXPECT_EQ(original.preview, AreaPicture::kTestPicture);
  EXPECT_EQ(original.options, AreaPicture::kTestPicture);
  const PictureAreaChoice both = ChoosePictureAreas(true, true, true);
  EXPECT_STREQ(both.preview_label, "Last Render");
  EXPECT_EQ(both.preview, AreaPicture::kLastRender);
  EXPECT_EQ(both.parameters, AreaPicture::kTestPicture);
  EXPECT_EQ(both.options, AreaPicture::kTestPicture);
  // With the parameter rows shown, the option area shows the render.
  EXPECT_EQ(ChoosePictureAreas(true, true, false).options, AreaPicture::kLastRender);
  const PictureAreaChoice render_only = ChoosePictureAreas(false, true, true);
  EXPECT_EQ(render_only.parameters, AreaPicture::kLastRender);
  EXPECT_EQ(render_only.options, AreaPicture::kLastRender);
}

class PictureModel : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    test::UsePrivateStores(name_);
    gui::InstallDialogs(&dialogs_);
  }
  void TearDown() override { gui::InstallDialogs(nullptr); }
  std::string name_;
  gui::ScriptedDialogs dialogs_;
};

TEST_F(PictureModel, TheSavedBitmapReadsBackThroughTheImportCodeAndGraphicsMagick) {
  const std::string folder = test::FreshDirectory(name_);
  const gui::FileDialogRequest first = SavePictureRequest("/content/");
  EXPECT_EQ(first.title, "Save Picture");
  EXPECT_EQ(first.default_extension, "BMP");
  EXPECT_EQ(first.filter, "BMP - Windows Bitmap (*.Bmp)|*.Bmp||");
  EXPECT_EQ(first.start_path, "/content/");

  Picture picture;
  Fill(picture, 7, 3, Pattern);  // 21 bytes a row, padded to 24
  picture.SetSourceText("Render");
  const std::string path = folder + "/render.bmp";
  ASSERT_TRUE(SavePictureAs(picture, path));
  EXPECT_STREQ(picture.SourceText(), path.c_str());
  EXPECT_EQ(SavePictureRequest("/content/").start_path, folder);

  FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  std::string bytes(200, '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  std::fclose(file);
  ASSERT_EQ(bytes.size(), 54u + 3 * 24);
  Picture back;
  ASSERT_TRUE(back.LoadDib(reinterpret_cast<const uint8_t*>(bytes.data()) + 14, bytes.size() - 14));
  EXPECT_TRUE(SamePixels(back, picture));

  Magick::InitializeMagick(nullptr);
  Magick::Image image;
  picture_reader::ReadPicture(path, &image);
  picture_reader::MakeRgb8(image);
  ASSERT_EQ(int(image.columns()), 7);
  ASSERT_EQ(int(image.rows()), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) {
      const Magick::ColorRGB colour = image.pixelColor(size_t(x), size_t(y));
      const uint8_t* bgr = picture.Row(y) + 3 * ptrdiff_t(x);
      EXPECT_EQ(int(std::lround(colour.red() * 255)), bgr[2]) << x << "," << y;
      EXPECT_EQ(int(std::lround(colour.green() * 255)), bgr[1]);
      EXPECT_EQ(int(std::lround(colour.blue() * 255)), bgr[0]);
    }

  // A file that cannot be written says so and leaves the picture's name.
  EXPECT_FALSE(SavePictureAs(picture, folder + "/missing/render.bmp"));
  EXPECT_STREQ(picture.SourceText(), path.c_str());
}

TEST_F(PictureModel, TheTestRenderRefusesWithoutAPictureARenderExportOrItsScript) {
  EditorSession session;
  session.paths.render_script = test::FreshDirectory(name_) + "/Render.Oms";
  EXPECT_FALSE(RenderTestPicture(session, session.chain.Entries(), 1, 0));
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, "There is no test picture.");
  EXPECT_EQ(dialogs_.messages[0].caption, "Ombrix - Error");

  session.test_picture = std::make_unique<Picture>();
  ASSERT_TRUE(session.test_picture->Create(4, 4));
  EXPECT_FALSE(session.filter_module.Open("/no/such/ombrix-filter.p", nullptr));
  EXPECT_FALSE(RenderTestPicture(session, session.chain.Entries(), 1, 0));
  EXPECT_EQ(dialogs_.messages.back().text, "Cannot find Render module in file\n\"/no/such/ombrix-filter.p\".");

  ASSERT_TRUE(session.filter_module.Open(std::string(OMBRIX_STAGE_DIR) + "/Programs/ombrix-filter.p", nullptr));
  session.paths.render_script = "/no/such/folder/Render.Oms";
  EXPECT_FALSE(RenderTestPicture(session, session.chain.Entries(), 1, 0));
  EXPECT_EQ(dialogs_.messages.back().text, "Cannot save script\n\"/no/such/folder/Render.Oms\".");
  EXPECT_TRUE(session.last_render.IsEmpty());
}

}  // namespace
