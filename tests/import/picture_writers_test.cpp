// Picture writers: the bitmap file read back as a packed DIB, Targa files read back by the
// built-in reader, and atomic replacement.
#include "core/import/picture_writers.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/import/targa.h"
#include "tests/import/import_test_support.h"

namespace {

using import_test::Bgr;
using import_test::SamePixels;

uint32_t U32(const std::string& b, size_t at) {
  uint32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}
uint16_t U16(const std::string& b, size_t at) {
  uint16_t v;
  std::memcpy(&v, b.data() + at, 2);
  return v;
}

Bgr Pattern(int x, int y) { return {uint8_t(x * 40 + y), uint8_t(y * 70), uint8_t(255 - x * 9 - y)}; }

TEST(BitmapFile, HeadersAndBottomUpRowsReadBackThroughLoadDib) {
  Picture picture;
  import_test::FillPicture(&picture, 5, 3, Pattern);
  const std::string file = ombrix::EncodeBitmapFile(picture);
  // 5 pixels make a row of 16 bytes.
  ASSERT_EQ(file.size(), 54u + 3 * 16);
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(U32(file, 2), 54u + 48);
  EXPECT_EQ(U32(file, 6), 0u);
  EXPECT_EQ(U32(file, 10), 54u);
  EXPECT_EQ(U32(file, 14), 40u);
  EXPECT_EQ(U32(file, 18), 5u);
  EXPECT_EQ(U32(file, 22), 3u);
  EXPECT_EQ(U16(file, 26), 1);
  EXPECT_EQ(U16(file, 28), 24);
  EXPECT_EQ(U32(file, 30), 0u);
  EXPECT_EQ(U32(file, 34), 48u);
  for (size_t at = 38; at < 54; at += 4) EXPECT_EQ(U32(file, at), 0u);
  // The first stored row is the bottom row.
  EXPECT_EQ(uint8_t(file[54]), picture.Row(2)[0]);

  Picture back;
  ASSERT_TRUE(back.LoadDib(reinterpret_cast<const uint8_t*>(file.data()) + 14, file.size() - 14));
  EXPECT_TRUE(SamePixels(picture, back));
}

TEST(BitmapFile, WritesReplaceAtomicallyAndEmptyPicturesAreNotWritten) {
  const std::string dir = import_test::MakeTempDir("bitmap");
  const std::string path = dir + "/out.bmp";
  Picture small, large;
  import_test::FillPicture(&small, 1, 1, Pattern);
  import_test::FillPicture(&large, 7, 4, Pattern);
  ASSERT_TRUE(ombrix::WriteBitmapFile(small, path.c_str()));
  ASSERT_TRUE(ombrix::WriteBitmapFile(large, path.c_str()));
  const std::string written = import_test::ReadBytes(path);
  EXPECT_EQ(written, ombrix::EncodeBitmapFile(large));

  Picture empty;
  EXPECT_TRUE(ombrix::EncodeBitmapFile(empty).empty());
  EXPECT_FALSE(ombrix::WriteBitmapFile(empty, path.c_str()));
  EXPECT_EQ(import_test::ReadBytes(path), written);
  EXPECT_FALSE(ombrix::WriteBitmapFile(large, (dir + "/missing/out.bmp").c_str()));
}

TEST(TargaWriter, TwentyFourAndThirtyTwoBitsReadBackByTheReader) {
  Picture picture;
  import_test::FillPicture(&picture, 6, 5, Pattern);
  ASSERT_TRUE(picture.AllocExtraPlane());
  for (int i = 0; i < 30; ++i) picture.ExtraPlane()[i] = uint8_t(i * 8);

  const std::string plain = ombrix::EncodeTargaFile(picture, 24);
  ASSERT_EQ(plain.size(), 18u + 6 * 5 * 3);
  Picture back;
  ASSERT_EQ(ombrix::DecodeTarga(reinterpret_cast<const uint8_t*>(plain.data()), plain.size(), &back), 1);
  EXPECT_TRUE(SamePixels(picture, back));
  EXPECT_EQ(back.ExtraPlane(), nullptr);

  const std::string alpha = ombrix::EncodeTargaFile(picture, 32);
  ASSERT_EQ(alpha.size(), 18u + 6 * 5 * 4);
  EXPECT_EQ(alpha[17], 8);  // eight alpha bits, bottom row first
  ASSERT_EQ(ombrix::DecodeTarga(reinterpret_cast<const uint8_t*>(alpha.data()), alpha.size(), &back), 1);
  EXPECT_TRUE(SamePixels(picture, back));
  ASSERT_NE(back.ExtraPlane(), nullptr);
  EXPECT_EQ(std::memcmp(back.ExtraPlane(), picture.ExtraPlane(), 30), 0);

  // Without an extra plane the picture is written opaque.
  Picture opaque;
  import_test::FillPicture(&opaque, 2, 2, Pattern);
  const std::string file = ombrix::EncodeTargaFile(opaque, 32);
  ASSERT_EQ(ombrix::DecodeTarga(reinterpret_cast<const uint8_t*>(file.data()), file.size(), &back), 1);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(back.ExtraPlane()[i], 255);

  EXPECT_TRUE(ombrix::EncodeTargaFile(opaque, 16).empty());
  const std::string dir = import_test::MakeTempDir("targa-writer");
  EXPECT_TRUE(ombrix::WriteTargaFile(picture, (dir + "/a.tga").c_str(), 32));
  EXPECT_EQ(import_test::ReadBytes(dir + "/a.tga"), alpha);
  EXPECT_FALSE(ombrix::WriteTargaFile(picture, (dir + "/a.tga").c_str(), 8));
}

}  // namespace
