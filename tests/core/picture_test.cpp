// Picture buffer: layout arithmetic, block copies, pixel access and packed-DIB import.
#include "core/picture/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// A packed DIB with a 40-byte header, `table_bytes` of colour table or masks, then `rows`.
std::vector<uint8_t> MakeDib(int32_t width, int32_t height, int bits, uint32_t compression, uint32_t colours_used,
                             size_t table_bytes, size_t pixel_bytes) {
  std::vector<uint8_t> b(40 + table_bytes + pixel_bytes, 0);
  Put32(b, 0, 40);
  Put32(b, 4, uint32_t(width));
  Put32(b, 8, uint32_t(height));
  b[12] = 1;
  b[14] = uint8_t(bits);
  Put32(b, 16, compression);
  Put32(b, 32, colours_used);
  return b;
}

std::vector<uint8_t> PixelAt(const Picture& p, int x, int y) {
  uint8_t bgr[3];
  p.GetPixel(x, y, bgr);
  return {bgr[0], bgr[1], bgr[2]};
}

TEST(PictureLayout, StrideBlockSizeAndRowTable) {
  Picture one;
  ASSERT_TRUE(one.Create(1, 1));
  EXPECT_EQ(one.Stride(), 4);
  EXPECT_EQ(one.Info()->block_size, 49u);
  EXPECT_EQ(one.Row(0), one.Bits());
  EXPECT_EQ(one.Info()->bit_count, 24);

  Picture five;
  ASSERT_TRUE(five.Create(5, 3));
  EXPECT_EQ(five.Stride(), 16);
  // Rows are stored bottom-up: the last row is the first in the block.
  EXPECT_EQ(five.Row(2), five.Bits());
  EXPECT_EQ(five.Row(0), five.Bits() + 2 * 16);
  EXPECT_EQ(five.rows[3], nullptr);
  EXPECT_EQ(five.rows[4], nullptr);
  EXPECT_EQ(Picture::RowBytes(8, 5), 8);
  EXPECT_EQ(Picture::RowBytes(16, 3), 8);

  // The header written by Create.
  uint32_t header[6];
  std::memcpy(header, five.Dib(), sizeof header);
  EXPECT_EQ(header[0], 40u);
  EXPECT_EQ(header[1], 5u);
  EXPECT_EQ(header[2], 3u);
  EXPECT_EQ(header[5], 48u);
  EXPECT_EQ(five.Dib()[14], 24);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(PixelAt(five, 4, y), (std::vector<uint8_t>{0, 0, 0}));
}

TEST(PictureLayout, ResetKeepsInfoAndRestoresDefaults) {
  Picture p;
  EXPECT_TRUE(p.IsEmpty());
  EXPECT_STREQ(p.TypeText(), "Raw Memory");
  ASSERT_TRUE(p.Create(4, 4));
  p.SetTypeText("Truevision Targa Format (TGA)");
  p.SetSourceText("/tmp/x.tga");
  p.Reset();
  EXPECT_TRUE(p.IsEmpty());
  EXPECT_EQ(p.Width(), 0);
  EXPECT_EQ(p.Info()->stride, 0);
  EXPECT_STREQ(p.TypeText(), "Raw Memory");
  EXPECT_STREQ(p.SourceText(), "");
  std::string long_text(400, 'x');
  p.SetSourceText(long_text.c_str());
  EXPECT_EQ(std::strlen(p.SourceText()), 255u);
  EXPECT_FALSE(p.Create(0, 5));
  EXPECT_FALSE(p.Create(70000, 1));
}

TEST(PicturePixels, AccessOutsideIsRefused) {
  Picture p;
  ASSERT_TRUE(p.Create(3, 2));
  const uint8_t red[3] = {0, 0, 255};
  EXPECT_TRUE(p.SetPixel(2, 1, red));
  EXPECT_EQ(p.Row(1)[6 + 2], 255);
  EXPECT_EQ(PixelAt(p, 2, 1), (std::vector<uint8_t>{0, 0, 255}));
  uint8_t out[3] = {9, 9, 9};
  EXPECT_FALSE(p.GetPixel(3, 0, out));
  EXPECT_EQ(out[0] + out[1] + out[2], 0);
  EXPECT_FALSE(p.SetPixel(-1, 0, red));  // -1 is 65535 as an unsigned 16-bit coordinate
  EXPECT_FALSE(p.SetPixel(0, 2, red));
  // Coordinates are 16-bit: 65536 + 1 addresses column 1.
  EXPECT_TRUE(p.SetPixel(65537, 0, red));
  EXPECT_EQ(PixelAt(p, 1, 0), (std::vector<uint8_t>{0, 0, 255}));
  Picture empty;
  EXPECT_FALSE(empty.GetPixel(0, 0, out));
}

TEST(PictureCopy, EmptyNullAndDeepCopies) {
  Picture target, empty;
  ASSERT_TRUE(target.Create(2, 2));
  EXPECT_TRUE(target.CopyFrom(&empty));
  EXPECT_TRUE(target.IsEmpty());
  ASSERT_TRUE(target.Create(2, 2));
  EXPECT_FALSE(target.CopyFrom(nullptr));

  Picture source;
  ASSERT_TRUE(source.Create(7, 5));
  source.SetSourceText("Test Picture");
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      const uint8_t c[3] = {uint8_t(x), uint8_t(y), uint8_t(x * y)};
      source.SetPixel(x, y, c);
    }
  ASSERT_TRUE(source.AllocExtraPlane());
  source.ExtraPlane()[7 * 5 - 1] = 77;

  Picture copy;
  ASSERT_TRUE(copy.CopyFrom(&source));
  EXPECT_NE(copy.Dib(), source.Dib());
  EXPECT_EQ(std::memcmp(copy.Dib(), source.Dib(), source.Info()->block_size), 0);
  EXPECT_STREQ(copy.SourceText(), "Test Picture");
  ASSERT_NE(copy.ExtraPlane(), nullptr);
  EXPECT_EQ(copy.ExtraPlane()[34], 77);
  EXPECT_EQ(PixelAt(copy, 6, 4), (std::vector<uint8_t>{6, 4, 24}));

  // A second copy into the same picture keeps its block; a copy without an extra plane drops it.
  uint8_t* block = copy.Dib();
  Picture plain;
  ASSERT_TRUE(plain.Create(7, 5));
  ASSERT_TRUE(copy.CopyFrom(&plain));
  EXPECT_EQ(copy.Dib(), block);
  EXPECT_EQ(copy.ExtraPlane(), nullptr);
  EXPECT_EQ(PixelAt(copy, 6, 4), (std::vector<uint8_t>{0, 0, 0}));

  // A smaller picture of another width reuses the block with new rows.
  Picture small;
  ASSERT_TRUE(small.Create(2, 9));
  const uint8_t c[3] = {1, 2, 3};
  small.SetPixel(1, 8, c);
  ASSERT_TRUE(copy.CopyFrom(&small));
  EXPECT_EQ(copy.Width(), 2);
  EXPECT_EQ(copy.Height(), 9);
  EXPECT_EQ(PixelAt(copy, 1, 8), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(copy.Row(8), copy.Bits());

  // A larger one needs a new block.
  Picture large;
  ASSERT_TRUE(large.Create(300, 200));
  ASSERT_TRUE(copy.CopyFrom(&large));
  EXPECT_EQ(copy.Width(), 300);
  EXPECT_EQ(copy.Row(199), copy.Bits());
}

// CopyFromOutside copies only around a rectangle the caller has already made equal; the result
// must be what CopyFrom gives, byte for byte, for every rectangle.
TEST(PictureCopy, CopyFromOutsideEqualsCopyFrom) {
  auto fill = [](Picture& p, int w, int h, int seed) {
    ASSERT_TRUE(p.Create(w, h));
    for (size_t i = 0; i < p.Info()->block_size - 40; ++i) p.Bits()[i] = uint8_t(i * 31 + seed);  // padding too
  };
  struct Rect {
    int x0, y0, x1, y1;
  };
  const Rect rects[] = {{0, 0, 5, 3}, {1, 1, 4, 2},     {0, 2, 5, 3},   {4, 0, 5, 3},
                        {2, 1, 2, 3}, {-3, -3, 99, 99}, {9, 9, 12, 12}, {3, 0, 1, 3}};
  for (int width : {5, 8}) {
    for (const Rect& r : rects) {
      Picture source, target, expected;
      fill(source, width, 3, 1);
      fill(target, width, 3, 2);
      source.SetSourceText("source");
      // The caller's part: the rectangle (as clipped) already equal in both.
      for (int y = std::max(r.y0, 0); y < std::min(r.y1, 3); ++y)
        for (int x = std::max(r.x0, 0); x < std::min(r.x1, width); ++x)
          std::memcpy(target.Row(y) + 3 * x, source.Row(y) + 3 * x, 3);
      uint8_t* block = target.Dib();
      ASSERT_TRUE(target.CopyFromOutside(&source, r.x0, r.y0, r.x1, r.y1));
      expected.CopyFrom(&source);
      EXPECT_EQ(target.Dib(), block);
      EXPECT_EQ(std::memcmp(target.Dib(), expected.Dib(), source.Info()->block_size), 0)
          << width << " wide, rectangle " << r.x0 << " " << r.y0 << " " << r.x1 << " " << r.y1;
      EXPECT_EQ(std::memcmp(target.Info(), expected.Info(), sizeof(PictureInfo)), 0);
      for (int y = 0; y < 3; ++y) EXPECT_EQ(target.Row(y) - target.Dib(), expected.Row(y) - expected.Dib());
    }
  }

  // Pictures of another layout, or with an extra plane, are refused and left alone.
  Picture a, b, wide;
  fill(a, 5, 3, 3);
  fill(b, 5, 3, 4);
  fill(wide, 6, 3, 5);
  const uint8_t before = b.Bits()[0];
  EXPECT_FALSE(b.CopyFromOutside(&wide, 0, 0, 1, 1));
  EXPECT_FALSE(b.CopyFromOutside(nullptr, 0, 0, 1, 1));
  EXPECT_FALSE(b.CopyFromOutside(&b, 0, 0, 1, 1));
  ASSERT_TRUE(a.AllocExtraPlane());
  EXPECT_FALSE(b.CopyFromOutside(&a, 0, 0, 1, 1));
  EXPECT_EQ(b.Bits()[0], before);
  EXPECT_EQ(b.Width(), 5);
}

TEST(PictureLoadDib, EightBitWithFullTableAndBottomUpRows) {
  // colours used 0: a 256-entry table; rows of (2 + 3) & ~3 = 4 bytes.
  auto dib = MakeDib(2, 2, 8, 0, 0, 256 * 4, 2 * 4);
  for (int i = 0; i < 256; ++i) {
    dib[40 + 4 * i] = uint8_t(i);            // blue
    dib[40 + 4 * i + 1] = uint8_t(255 - i);  // green
    dib[40 + 4 * i + 2] = 7;                 // red
  }
  const size_t pixels = 40 + 1024;
  dib[pixels + 0] = 200;  // first stored row is the bottom row
  dib[pixels + 1] = 255;
  dib[pixels + 4] = 1;
  Picture p;
  ASSERT_TRUE(p.LoadDib(dib.data(), dib.size()));
  EXPECT_EQ(p.Width(), 2);
  EXPECT_EQ(PixelAt(p, 0, 1), (std::vector<uint8_t>{200, 55, 7}));
  EXPECT_EQ(PixelAt(p, 1, 1), (std::vector<uint8_t>{255, 0, 7}));
  EXPECT_EQ(PixelAt(p, 0, 0), (std::vector<uint8_t>{1, 254, 7}));
}

TEST(PictureLoadDib, EightBitIndexBeyondShortTableIsBlack) {
  auto dib = MakeDib(1, 1, 8, 0, 2, 8, 4);
  dib[40 + 4 + 2] = 99;  // entry 1 red
  dib[48] = 5;           // index 5 is past the two entries
  Picture p;
  ASSERT_TRUE(p.LoadDib(dib.data(), dib.size()));
  EXPECT_EQ(PixelAt(p, 0, 0), (std::vector<uint8_t>{0, 0, 0}));
  dib[48] = 1;
  ASSERT_TRUE(p.LoadDib(dib.data(), dib.size()));
  EXPECT_EQ(PixelAt(p, 0, 0), (std::vector<uint8_t>{0, 0, 99}));
}

TEST(PictureLoadDib, SixteenTwentyFourAndThirtyTwoBits) {
  // 16 bits, 5-5-5: red 31, green 1, blue 2.
  auto d16 = MakeDib(1, 1, 16, 0, 0, 0, 4);
  const uint16_t w = uint16_t(31 << 10 | 1 << 5 | 2);
  d16[40] = uint8_t(w);
  d16[41] = uint8_t(w >> 8);
  Picture p;
  ASSERT_TRUE(p.LoadDib(d16.data(), d16.size()));
  EXPECT_EQ(PixelAt(p, 0, 0), (std::vector<uint8_t>{16, 8, 248}));

  // 24 bits with bit-field masks: pixels start 12 bytes after the header; image size 0.
  auto d24 = MakeDib(2, 2, 24, 3, 0, 12, 16);
  d24[52] = 10;          // bottom row, first pixel blue
  d24[52 + 8 + 5] = 20;  // top row, second pixel red
  ASSERT_TRUE(p.LoadDib(d24.data(), d24.size()));
  EXPECT_EQ(PixelAt(p, 0, 1), (std::vector<uint8_t>{10, 0, 0}));
  EXPECT_EQ(PixelAt(p, 1, 0), (std::vector<uint8_t>{0, 0, 20}));

  // 32 bits: byte 3 dropped; a negative height stores the top row first.
  auto d32 = MakeDib(1, -2, 32, 0, 0, 0, 8);
  d32[40] = 1, d32[41] = 2, d32[42] = 3, d32[43] = 4;
  ASSERT_TRUE(p.LoadDib(d32.data(), d32.size()));
  EXPECT_EQ(p.Height(), 2);
  EXPECT_EQ(PixelAt(p, 0, 0), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(PixelAt(p, 0, 1), (std::vector<uint8_t>{0, 0, 0}));
}

TEST(PictureLoadDib, RoundTripThroughOwnBlock) {
  Picture a;
  ASSERT_TRUE(a.Create(13, 7));
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 13; ++x) {
      const uint8_t c[3] = {uint8_t(x * 19), uint8_t(y * 31), uint8_t(x ^ y)};
      a.SetPixel(x, y, c);
    }
  Picture b;
  ASSERT_TRUE(b.LoadDib(a.Dib(), a.DibBytes()));
  EXPECT_EQ(std::memcmp(a.Bits(), b.Bits(), size_t(a.Stride()) * 7), 0);
}

TEST(PictureLoadDib, RefusesWhatDoesNotFitAndKeepsThePicture) {
  Picture p;
  ASSERT_TRUE(p.Create(3, 3));
  const uint8_t mark[3] = {1, 2, 3};
  p.SetPixel(0, 0, mark);
  auto keeps = [&](const std::vector<uint8_t>& dib, size_t size) {
    EXPECT_FALSE(p.LoadDib(dib.data(), size));
    EXPECT_EQ(p.Width(), 3);
    EXPECT_EQ(PixelAt(p, 0, 0), (std::vector<uint8_t>{1, 2, 3}));
  };
  auto ok24 = MakeDib(4, 4, 24, 0, 0, 0, 48);
  keeps(ok24, ok24.size() - 1);  // last row cut short
  keeps(ok24, 39);               // not even a header
  EXPECT_FALSE(p.LoadDib(nullptr, 100));
  keeps(MakeDib(0, 4, 24, 0, 0, 0, 48), 88);  // width 0
  keeps(MakeDib(4, 0, 24, 0, 0, 0, 48), 88);  // height 0
  keeps(MakeDib(70000, 1, 24, 0, 0, 0, 48), 88);
  keeps(MakeDib(4, 4, 24, 1, 0, 0, 48), 88);  // run-length compressed
  keeps(MakeDib(4, 4, 4, 0, 0, 0, 48), 88);   // 4 bits
  auto huge_table = MakeDib(1, 1, 8, 0, 0x40000000, 0, 4);
  keeps(huge_table, huge_table.size());
  auto big_header = MakeDib(1, 1, 24, 0, 0, 0, 4);
  big_header[0] = 0xFF, big_header[1] = 0xFF;
  keeps(big_header, big_header.size());
  // A lying image size copies no more than the rows of the picture.
  auto lying = MakeDib(1, 1, 24, 0, 0, 0, 4);
  Put32(lying, 20, 0x7FFFFFFF);
  EXPECT_TRUE(p.LoadDib(lying.data(), lying.size()));
}

}  // namespace
