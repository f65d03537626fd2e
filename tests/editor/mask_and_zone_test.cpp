// The mask settings and the zone drawing without windows: the information text, the alpha
// texts, the buttons read from and written to the record, the confirm with and without a
// pending picture, the corner exchange, the picture point under the cursor and the outline
// drawn and undrawn on a picture.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <tuple>
#include <vector>

#include "core/plugin/plugin_host.h"
#include "editor/model/x_alpha_settings.h"
#include "editor/model/zone_drawing.h"

namespace {

using namespace ombrix;
using namespace ombrix::editor;

// A picture whose every byte differs from its neighbours, so a moved or missed byte shows.
std::unique_ptr<Picture> Pattern(int width, int height) {
  auto picture = std::make_unique<Picture>();
  EXPECT_TRUE(picture->Create(width, height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < 3 * width; ++x) picture->Row(y)[x] = uint8_t(7 * y + 3 * x + 1);
  return picture;
}

std::vector<uint8_t> Bytes(const Picture& picture) {
  std::vector<uint8_t> bytes;
  for (int y = 0; y < picture.Height(); ++y)
    bytes.insert(bytes.end(), picture.Row(y), picture.Row(y) + 3 * ptrdiff_t(picture.Width()));
  return bytes;
}

// A chain entry as the editor holds one: its own records, freed with its mask picture.
struct Entry {
  FilterDescriptor d{};
  ParameterRecord parameters[1]{};
  OptionRecord options[1]{};
  XAlphaRecord x{};
  Entry() {
    d.xalpha = &x;
    d.alpha_init = 10;
    d.alpha_step = 2;
  }
  ~Entry() { delete x.picture; }
};

TEST(XAlphaInformation, NamesThePictureAndItsMemoryInWholeKilobytes) {
  EXPECT_EQ(XAlphaInformation(nullptr), "(no picture loaded)");
  Picture empty;
  EXPECT_EQ(XAlphaInformation(&empty), "(no picture loaded)");
  auto picture = Pattern(320, 240);
  picture->SetSourceText("/masks/soft edge.tga");
  picture->SetTypeText("Targa");
  EXPECT_EQ(XAlphaInformation(picture.get()),
            "soft edge.tga\n   Type = Targa\n   Width = 320\n   Height = 240\n   Mem. Size = 225 Kb\n");
  // 33 x 17 x 3 = 1683 bytes: one whole kilobyte, the rest dropped.
  auto small = Pattern(33, 17);
  EXPECT_NE(XAlphaInformation(small.get()).find("Mem. Size = 1 Kb"), std::string::npos);
}

TEST(XAlphaTexts, AlphaShowsOneDecimalAndReadsBackWithoutItsPercentSign) {
  EXPECT_EQ(AlphaText(50), "50.0 %");
  EXPECT_EQ(AlphaText(12.39f), "12.3 %");  // cut, not rounded
  EXPECT_FLOAT_EQ(ReadAlphaText("33.5 %", 7), 33.5f);
  EXPECT_FLOAT_EQ(ReadAlphaText("", 7), 7.0f);
  EXPECT_FLOAT_EQ(ReadAlphaText("half", 7), 7.0f);
}

TEST(XAlphaButtons, ReadFromTheRecordAndWrittenBackAsTheRenderReadsThem) {
  XAlphaRecord record{};
  record.type = 2;
  record.negative = 2;  // any value but 0 inverts in a render, so it shows on
  record.stretch = 1;
  record.percent = 33;
  const XAlphaButtons shown = ShowXAlphaButtons(record);
  EXPECT_FALSE(shown.gradual);
  EXPECT_TRUE(shown.negative);
  EXPECT_TRUE(shown.stretch);
  TakeXAlphaButtons(record, shown);
  EXPECT_EQ(record.type, 2);
  EXPECT_EQ(record.negative, 1);
  EXPECT_EQ(record.stretch, 1);
  EXPECT_EQ(record.percent, 33);  // not the buttons' business
  // An unknown type shows "Clip Map" and is stored as 2; "Reset" is X Alpha, positive, repeated.
  record.type = 7;
  EXPECT_FALSE(ShowXAlphaButtons(record).gradual);
  TakeXAlphaButtons(record, ResetXAlphaButtons());
  EXPECT_EQ(record.type, 1);
  EXPECT_EQ(record.negative, 0);
  EXPECT_EQ(record.stretch, 0);
}

TEST(XAlphaConfirm, StoresACopyOfThePendingMaskOrEmptiesTheEntrysMask) {
  Entry entry;
  auto pending = Pattern(6, 5);
  XAlphaConfirmation confirm;
  confirm.buttons = {false, true, true};
  confirm.init_text = "40.0 %";
  confirm.step_text = "not a number";
  confirm.pending = pending.get();
  confirm.pending_name = "/masks/m.bmp";
  // No mask picture object yet: one is made, holding its own copy.
  ASSERT_TRUE(ConfirmXAlpha(entry.d, confirm));
  ASSERT_NE(entry.x.picture, nullptr);
  EXPECT_NE(entry.x.picture, pending.get());
  EXPECT_EQ(Bytes(*entry.x.picture), Bytes(*pending));
  EXPECT_STREQ(entry.x.picture_path, "/masks/m.bmp");
  EXPECT_EQ(entry.x.type, 2);
  EXPECT_EQ(entry.x.negative, 1);
  EXPECT_EQ(entry.x.stretch, 1);
  EXPECT_FLOAT_EQ(entry.d.alpha_init, 40);
  EXPECT_FLOAT_EQ(entry.d.alpha_step, 2);  // the step did not read: kept
  pending.reset();
  EXPECT_EQ(MaskPictureOf(entry.d)->Width(), 6);  // the entry's copy outlives the window's

  // After "Clear" there is no pending picture: the name goes with the picture.
  Picture* kept = entry.x.picture;
  confirm.pending = nullptr;
  ASSERT_TRUE(ConfirmXAlpha(entry.d, confirm));
  EXPECT_STREQ(entry.x.picture_path, "");
  EXPECT_EQ(entry.x.picture, kept);
  EXPECT_TRUE(entry.x.picture->IsEmpty());
  EXPECT_EQ(MaskPictureOf(entry.d), nullptr);
  // A name that could not be loaded stays pending, but without a picture it is not stored.
  confirm.pending_name = "/masks/gone.bmp";
  Picture empty;
  confirm.pending = &empty;
  ASSERT_TRUE(ConfirmXAlpha(entry.d, confirm));
  EXPECT_STREQ(entry.x.picture_path, "");
}

TEST(ZoneDrawing, EachButtonSetsItsCornerAndTheZoneStaysOrdered) {
  // The right button first, then the left one to the right of it and below it.
  Zone zone = MoveZoneCorner({}, ZoneCorner::kRightBottom, 100, 80);
  EXPECT_EQ(zone.right, 100);
  EXPECT_EQ(zone.bottom, 80);
  zone = MoveZoneCorner(zone, ZoneCorner::kLeftTop, 150, 120);
  EXPECT_EQ(zone.left, 100);
  EXPECT_EQ(zone.right, 150);
  EXPECT_EQ(zone.top, 80);
  EXPECT_EQ(zone.bottom, 120);
  // Held on and moved to the left: Left follows, Right stays.
  zone = MoveZoneCorner(zone, ZoneCorner::kLeftTop, 20, 10);
  EXPECT_EQ(zone.left, 20);
  EXPECT_EQ(zone.right, 150);
  EXPECT_EQ(zone.top, 10);
  // The right button above and left of the left corner turns the zone round the other way.
  zone = MoveZoneCorner(zone, ZoneCorner::kRightBottom, 5, 2);
  EXPECT_EQ(zone.left, 5);
  EXPECT_EQ(zone.right, 20);
  EXPECT_EQ(zone.top, 2);
  EXPECT_EQ(zone.bottom, 10);
}

TEST(ZoneDrawing, ThePicturePointUnderTheCursorIsExact) {
  PicturePoint point;
  // A tenth is no exact float: dividing by it would give 299 for 300.
  const DisplayScale tenth{1000, 1000, 100, 100};
  ASSERT_TRUE(PicturePointAt(tenth, 30, 70, &point));
  EXPECT_EQ(point.x, 300);
  EXPECT_EQ(point.y, 700);
  EXPECT_EQ(CoordinateText(point), "( x, y ) = ( 300, 700 )");
  const DisplayScale fitted{640, 480, 170, 127};
  ASSERT_TRUE(PicturePointAt(fitted, 169, 126, &point));
  EXPECT_EQ(point.x, 636);
  EXPECT_EQ(point.y, 476);
  EXPECT_FALSE(PicturePointAt(fitted, 170, 0, &point));
  EXPECT_FALSE(PicturePointAt(fitted, -1, 0, &point));
  EXPECT_FALSE(PicturePointAt(DisplayScale{}, 0, 0, &point));
  EXPECT_EQ(ShownX(fitted, 640), 170);
  EXPECT_EQ(ShownY(fitted, 240), 63);
}

TEST(ZoneDrawing, AnOutlineDrawnTwiceLeavesThePictureAsItWas) {
  auto picture = Pattern(7, 6);
  const std::vector<uint8_t> before = Bytes(*picture);
  InvertOutline(*picture, 1, 1, 4, 3);
  // The border pixels are inverted, the inside and the outside are not.
  for (const auto& [x, y, inverted] : std::vector<std::tuple<int, int, bool>>{{1, 1, true},
                                                                              {4, 1, true},
                                                                              {1, 3, true},
                                                                              {4, 3, true},
                                                                              {2, 1, true},
                                                                              {1, 2, true},
                                                                              {2, 2, false},
                                                                              {3, 2, false},
                                                                              {0, 0, false},
                                                                              {5, 1, false},
                                                                              {1, 4, false}}) {
    const size_t at = size_t(y) * 21 + size_t(x) * 3;
    EXPECT_EQ(picture->Row(y)[3 * ptrdiff_t(x)], inverted ? 255 - before[at] : before[at]) << x << "," << y;
  }
  InvertOutline(*picture, 1, 1, 4, 3);
  EXPECT_EQ(Bytes(*picture), before);
  // A zone of one pixel, one row or one column: each pixel once, so once more restores it.
  for (const auto& [x0, y0, x1, y1] :
       std::vector<std::tuple<int, int, int, int>>{{2, 2, 2, 2}, {0, 3, 6, 3}, {5, 0, 5, 5}, {4, 3, 1, 1}}) {
    InvertOutline(*picture, x0, y0, x1, y1);
    EXPECT_NE(Bytes(*picture), before);
    InvertOutline(*picture, x0, y0, x1, y1);
    EXPECT_EQ(Bytes(*picture), before) << x0 << "," << y0 << " " << x1 << "," << y1;
  }
  // Zones that reach past the picture draw what lies inside.
  InvertOutline(*picture, -40, -3, 3, 100000);
  EXPECT_EQ(picture->Row(5)[9], 255 - before[5 * 21 + 9]);
  InvertOutline(*picture, -40, -3, 3, 100000);
  EXPECT_EQ(Bytes(*picture), before);
}

}  // namespace
