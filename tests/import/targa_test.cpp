// Built-in Targa reader: row order, the fourth byte, run-length packets, 8-bit indices and
// refusal of everything it must not read.
#include "core/import/targa.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/picture/picture.h"
#include "tests/import/import_test_support.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Header(int type, int width, int height, int bits, int descriptor, int id_length = 0, int colour_map = 0) {
  Bytes h(18, 0);
  h[0] = uint8_t(id_length);
  h[1] = uint8_t(colour_map);
  h[2] = uint8_t(type);
  h[12] = uint8_t(width);
  h[13] = uint8_t(width >> 8);
  h[14] = uint8_t(height);
  h[15] = uint8_t(height >> 8);
  h[16] = uint8_t(bits);
  h[17] = uint8_t(descriptor);
  for (int i = 0; i < id_length; ++i) h.push_back(uint8_t(0xEE));
  return h;
}

void Append(Bytes* b, std::initializer_list<int> bytes) {
  for (int v : bytes) b->push_back(uint8_t(v));
}

Bytes Pixel(const Picture& p, int x, int y) {
  uint8_t bgr[3];
  p.GetPixel(x, y, bgr);
  return {bgr[0], bgr[1], bgr[2]};
}

int Decode(const Bytes& file, Picture* picture) {
  // An exact-size copy, so the sanitizer sees any read past the end.
  Bytes copy(file);
  return ombrix::DecodeTarga(copy.data(), copy.size(), picture);
}

// 3 x 2, 24 bits: file row 0 holds pixels 1, 2, 3 and file row 1 holds 4, 5, 6.
Bytes SixPixels(int descriptor, int id_length) {
  Bytes file = Header(2, 3, 2, 24, descriptor, id_length);
  for (int i = 1; i <= 6; ++i) Append(&file, {i, 10 + i, 20 + i});
  return file;
}

TEST(TargaRead, FirstFileRowIsBottomUnlessDescriptorBit5) {
  Picture bottom_up;
  ASSERT_EQ(Decode(SixPixels(0, 7), &bottom_up), 1);
  EXPECT_EQ(bottom_up.Width(), 3);
  EXPECT_EQ(bottom_up.Height(), 2);
  EXPECT_EQ(Pixel(bottom_up, 0, 1), (Bytes{1, 11, 21}));  // first file row is the bottom row
  EXPECT_EQ(Pixel(bottom_up, 2, 0), (Bytes{6, 16, 26}));
  EXPECT_EQ(bottom_up.ExtraPlane(), nullptr);

  Picture top_down;
  ASSERT_EQ(Decode(SixPixels(32, 0), &top_down), 1);
  EXPECT_EQ(Pixel(top_down, 0, 0), (Bytes{1, 11, 21}));
  EXPECT_EQ(Pixel(top_down, 2, 1), (Bytes{6, 16, 26}));

  // The alpha-depth bits of the descriptor do not change the order: 15 and 47 are the limits.
  Picture edge;
  EXPECT_EQ(Decode(SixPixels(15, 0), &edge), 1);
  EXPECT_EQ(Pixel(edge, 0, 1), (Bytes{1, 11, 21}));
  EXPECT_EQ(Decode(SixPixels(47, 0), &edge), 1);
  EXPECT_EQ(Pixel(edge, 0, 0), (Bytes{1, 11, 21}));
}

TEST(TargaRead, ThirtyTwoBitsPutTheFourthByteInTheExtraPlane) {
  for (int descriptor : {8, 40}) {
    Bytes file = Header(2, 2, 2, 32, descriptor);
    Append(&file, {1, 2, 3, 100, 4, 5, 6, 101});  // file row 0
    Append(&file, {7, 8, 9, 102, 10, 11, 12, 103});
    Picture p;
    ASSERT_EQ(Decode(file, &p), 1) << descriptor;
    ASSERT_NE(p.ExtraPlane(), nullptr);
    const bool top_down = descriptor >= 32;
    const int first = top_down ? 0 : 1;  // picture row of the first file row
    EXPECT_EQ(Pixel(p, 1, first), (Bytes{4, 5, 6}));
    EXPECT_EQ(Pixel(p, 0, 1 - first), (Bytes{7, 8, 9}));
    // The plane follows the picture's rows, top row first.
    EXPECT_EQ(p.ExtraPlane()[first * 2 + 0], 100);
    EXPECT_EQ(p.ExtraPlane()[first * 2 + 1], 101);
    EXPECT_EQ(p.ExtraPlane()[(1 - first) * 2 + 1], 103);
  }
}

TEST(TargaRead, RunLengthPacketsRunsAndLiteralsWithinRows) {
  // 5 x 2, top row first. Row 0: a run of 3 then 2 literals; row 1: 1 literal then a run of 4.
  Bytes file = Header(10, 5, 2, 24, 32);
  Append(&file, {0x82, 9, 8, 7, 0x01, 1, 1, 1, 2, 2, 2});
  Append(&file, {0x00, 5, 5, 5, 0x83, 6, 6, 6});
  Picture p;
  ASSERT_EQ(Decode(file, &p), 1);
  EXPECT_EQ(Pixel(p, 0, 0), (Bytes{9, 8, 7}));
  EXPECT_EQ(Pixel(p, 2, 0), (Bytes{9, 8, 7}));
  EXPECT_EQ(Pixel(p, 3, 0), (Bytes{1, 1, 1}));
  EXPECT_EQ(Pixel(p, 4, 0), (Bytes{2, 2, 2}));
  EXPECT_EQ(Pixel(p, 0, 1), (Bytes{5, 5, 5}));
  EXPECT_EQ(Pixel(p, 4, 1), (Bytes{6, 6, 6}));

  // A 32-bit run repeats the fourth byte too.
  Bytes alpha = Header(10, 3, 1, 32, 8);
  Append(&alpha, {0x82, 1, 2, 3, 77});
  ASSERT_EQ(Decode(alpha, &p), 1);
  EXPECT_EQ(p.ExtraPlane()[0], 77);
  EXPECT_EQ(p.ExtraPlane()[2], 77);

  // The largest packet: 128 pixels.
  Bytes wide = Header(10, 128, 1, 24, 0);
  Append(&wide, {0xFF, 4, 5, 6});
  ASSERT_EQ(Decode(wide, &p), 1);
  EXPECT_EQ(Pixel(p, 127, 0), (Bytes{4, 5, 6}));
}

TEST(TargaRead, PacketsThatRunPastTheirRowAreRefused) {
  Picture p;
  // 4 x 2 as one run of 8: the packet would continue into the next row.
  Bytes run = Header(10, 4, 2, 24, 0);
  Append(&run, {0x87, 1, 2, 3});
  Append(&run, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // enough bytes that only the packet is wrong
  EXPECT_EQ(Decode(run, &p), 0);
  EXPECT_TRUE(p.IsEmpty());

  // A literal packet of 3 at column 2 of a 4-pixel row.
  Bytes literal = Header(10, 4, 1, 24, 0);
  Append(&literal, {0x01, 1, 1, 1, 1, 1, 1, 0x02, 2, 2, 2, 3, 3, 3, 4, 4, 4});
  EXPECT_EQ(Decode(literal, &p), 0);
}

TEST(TargaRead, EveryTruncationIsRefusedWithoutReadingPastTheEnd) {
  Bytes rle = Header(10, 5, 2, 32, 0, 3);
  Append(&rle, {0x84, 1, 2, 3, 4});
  Append(&rle, {0x01, 1, 1, 1, 1, 2, 2, 2, 2, 0x82, 3, 3, 3, 3});
  const Bytes plain = SixPixels(0, 2);
  Bytes eight_bit = Header(2, 2, 1, 8, 0);
  eight_bit.resize(eight_bit.size() + 768, 0);
  Append(&eight_bit, {0, 1});
  for (const Bytes* file : std::vector<const Bytes*>{&rle, &plain, &eight_bit}) {
    Picture p;
    ASSERT_EQ(Decode(*file, &p), 1);
    for (size_t length = 0; length < file->size(); ++length) {
      const Bytes cut(file->begin(), file->begin() + long(length));
      EXPECT_EQ(Decode(cut, &p), 0) << "length " << length;
      EXPECT_TRUE(p.IsEmpty());
    }
    // Bytes after the picture (a footer, an extension area) are not looked at.
    Bytes longer(*file);
    Append(&longer, {1, 2, 3});
    EXPECT_EQ(Decode(longer, &p), 1);
  }
}

TEST(TargaRead, HeadersTheReaderDoesNotTakeAreRefused) {
  struct Case {
    const char* what;
    Bytes header;
  };
  const Case cases[] = {
      {"colour map present", Header(2, 1, 1, 24, 0, 0, 1)},
      {"colour-mapped image type", Header(1, 1, 1, 24, 0)},
      {"greyscale image type", Header(3, 1, 1, 24, 0)},
      {"run-length colour-mapped", Header(9, 1, 1, 24, 0)},
      {"16 bits", Header(2, 1, 1, 16, 0)},
      {"right to left", Header(2, 1, 1, 24, 16)},
      {"interleaved", Header(2, 1, 1, 24, 48)},
      {"zero width", Header(2, 0, 1, 24, 0)},
      {"zero height", Header(2, 1, 0, 24, 0)},
  };
  for (const Case& c : cases) {
    Bytes file = c.header;
    file.resize(file.size() + 64, 0x11);
    Picture p;
    EXPECT_EQ(Decode(file, &p), 0) << c.what;
    EXPECT_FALSE(ombrix::ParseTargaHeader(file.data(), file.size()).has_value()) << c.what;
  }
  Picture p;
  EXPECT_EQ(ombrix::DecodeTarga(nullptr, 0, &p), 0);
}

TEST(TargaRead, EightBitIndicesGoThroughTheTableAfterTheIdentification) {
  // Table entry i is (i, 255 - i, 7) in blue, green, red order; it follows the identification
  // field, and the indices follow the table.
  for (int type : {2, 10}) {
    Bytes file = Header(type, 3, 1, 8, 32, 2);
    for (int i = 0; i < 256; ++i) Append(&file, {i, 255 - i, 7});
    if (type == 2) {
      Append(&file, {0, 200, 255});
    } else {
      Append(&file, {0x00, 0, 0x81, 200});
    }
    Picture p;
    ASSERT_EQ(Decode(file, &p), 1) << type;
    EXPECT_EQ(Pixel(p, 0, 0), (Bytes{0, 255, 7}));
    EXPECT_EQ(Pixel(p, 1, 0), (Bytes{200, 55, 7}));
    EXPECT_EQ(Pixel(p, 2, 0), (type == 2 ? Bytes{255, 0, 7} : Bytes{200, 55, 7}));
  }
}

TEST(TargaRead, SizesAbove32767AreReadAsTheyAre) {
  Bytes file = Header(10, 40000, 1, 24, 0);
  // 312 packets of 128 pixels and one of 64.
  for (int i = 0; i < 312; ++i) Append(&file, {0xFF, 1, 2, 3});
  Append(&file, {0xBF, 4, 5, 6});
  Picture p;
  ASSERT_EQ(Decode(file, &p), 1);
  EXPECT_EQ(p.Width(), 40000);
  EXPECT_EQ(Pixel(p, 39999, 0), (Bytes{4, 5, 6}));
}

TEST(TargaFile, ReadsFilesAndChecksHeadersOnly) {
  const std::string dir = import_test::MakeTempDir("targa");
  const std::string good = dir + "/six.tga";
  ASSERT_TRUE(import_test::WriteBytes(good, SixPixels(32, 0)));
  Picture p;
  EXPECT_EQ(ombrix::ReadTargaFile(good.c_str(), &p), 1);
  EXPECT_EQ(Pixel(p, 1, 0), (Bytes{2, 12, 22}));
  EXPECT_TRUE(ombrix::IsAcceptedTargaFile(good.c_str()));

  // The header check does not look at the pixels; the reader does.
  const std::string cut = dir + "/cut.tga";
  Bytes header_only = Header(2, 100, 100, 24, 0);
  ASSERT_TRUE(import_test::WriteBytes(cut, header_only));
  EXPECT_TRUE(ombrix::IsAcceptedTargaFile(cut.c_str()));
  EXPECT_EQ(ombrix::ReadTargaFile(cut.c_str(), &p), 0);
  EXPECT_TRUE(p.IsEmpty());

  const std::string mapped = dir + "/mapped.tga";
  ASSERT_TRUE(import_test::WriteBytes(mapped, Header(1, 1, 1, 8, 0, 0, 1)));
  EXPECT_FALSE(ombrix::IsAcceptedTargaFile(mapped.c_str()));
  EXPECT_FALSE(ombrix::IsAcceptedTargaFile((dir + "/missing.tga").c_str()));
  EXPECT_FALSE(ombrix::IsAcceptedTargaFile(dir.c_str()));
  EXPECT_EQ(ombrix::ReadTargaFile((dir + "/missing.tga").c_str(), &p), 0);
  EXPECT_EQ(ombrix::ReadTargaFile(dir.c_str(), &p), 0);
}

}  // namespace

namespace {

// Whole uncompressed files of every depth through the file reader: rows of an odd width (the
// picture pads its rows, the file does not), both row orders, and bytes after the pixels, which
// the reader leaves unread; every pixel as the in-memory decoder gives it.
TEST(TargaFile, UncompressedFilesOfEveryDepthReadAsDecoded) {
  const std::string dir = import_test::MakeTempDir("targa_depths");
  for (int bits : {8, 24, 32})
    for (int descriptor : {0, 32}) {
      const int width = 5, height = 4;
      Bytes file = Header(2, width, height, bits, descriptor | (bits == 32 ? 8 : 0), 3);
      if (bits == 8)
        for (int i = 0; i < 256; ++i) Append(&file, {i, (i * 7) % 256, 255 - i});
      for (int i = 0; i < width * height * (bits / 8); ++i) file.push_back(uint8_t(i * 13 + bits));
      Bytes with_tail = file;
      Append(&with_tail, {1, 2, 3, 4, 5});
      const std::string path = dir + "/depth" + std::to_string(bits) + "_" + std::to_string(descriptor) + ".tga";
      ASSERT_TRUE(import_test::WriteBytes(path, with_tail));
      Picture read, decoded;
      ASSERT_EQ(ombrix::ReadTargaFile(path.c_str(), &read), 1) << path;
      ASSERT_EQ(Decode(file, &decoded), 1) << path;
      ASSERT_EQ(read.Width(), width);
      ASSERT_EQ(read.Height(), height);
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
          EXPECT_EQ(Pixel(read, x, y), Pixel(decoded, x, y)) << path << " " << x << "," << y;
      ASSERT_EQ(read.ExtraPlane() != nullptr, bits == 32);
      if (bits == 32) {
        for (int i = 0; i < width * height; ++i) EXPECT_EQ(read.ExtraPlane()[i], decoded.ExtraPlane()[i]) << path;
      }
    }
}

}  // namespace
