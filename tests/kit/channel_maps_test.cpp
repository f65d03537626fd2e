// Channel maps: the arithmetic rows give the bytes the tables give, for every shape and row
// length, and the tables of the palette filters' usual settings are recognised.
#include "core/kit/channel_maps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

using ombrix::kit::ChannelMaps;
using Shape = ChannelMaps::Shape;
using Tables = uint8_t[3][256];

// Maps a row holding every value in every channel (and some noise), with the arithmetic and
// with the tables, for lengths that end anywhere in a 48-byte step and inside a pixel.
void ExpectSameBytes(const Tables& tables, const char* what) {
  ChannelMaps fast(tables), plain(tables);
  plain.UseTablesOnly();
  std::mt19937 rng(5);
  for (size_t bytes :
       {size_t(0), size_t(2), size_t(3), size_t(47), size_t(48), size_t(50), size_t(96), size_t(771), size_t(5760)}) {
    std::vector<uint8_t> row(bytes + 1);
    for (size_t i = 0; i < row.size(); ++i) row[i] = i < 768 ? uint8_t(i / 3) : uint8_t(rng());
    std::vector<uint8_t> expected = row;
    fast.Row(row.data(), bytes);
    plain.Row(expected.data(), bytes);
    ASSERT_EQ(row, expected) << what << ", " << bytes << " bytes";
  }
}

TEST(ChannelMaps, EveryShapeGivesTheTableBytes) {
  std::mt19937 rng(9);
  for (int round = 0; round < 40; ++round) {
    Tables t;
    const int a[3] = {int(rng() % 256), int(rng() % 256), int(rng() % 256)};
    const int f[3] = {int(rng() % 65536), int(rng() % 65536), int(rng() % 65536)};
    const int k[3] = {int(rng() % 9), int(rng() % 9), int(rng() % 9)};
    for (int c = 0; c < 256; ++c)
      for (int ch = 0; ch < 3; ++ch) t[ch][c] = uint8_t(std::min(255, (c * f[ch]) >> (16 - k[ch])));
    ExpectSameBytes(t, "scale");
    for (int c = 0; c < 256; ++c)
      for (int ch = 0; ch < 3; ++ch) t[ch][c] = uint8_t(std::max(0, a[ch] - c));
    ExpectSameBytes(t, "subtract");
    for (int c = 0; c < 256; ++c)
      for (int ch = 0; ch < 3; ++ch) t[ch][c] = uint8_t(a[ch] - c);
    ExpectSameBytes(t, "wrapping subtract");
    for (int c = 0; c < 256; ++c)
      for (int ch = 0; ch < 3; ++ch) t[ch][c] = uint8_t(std::abs(a[ch] - c));
    ExpectSameBytes(t, "distance");
    for (int c = 0; c < 256; ++c)
      for (int ch = 0; ch < 3; ++ch) t[ch][c] = uint8_t(c + a[ch]);
    ExpectSameBytes(t, "wrapping add");
    for (int c = 0; c < 256; ++c)
      for (int ch = 0; ch < 3; ++ch) t[ch][c] = uint8_t(rng());
    ExpectSameBytes(t, "no shape");
  }
}

TEST(ChannelMaps, RecognisesThePaletteFiltersUsualTables) {
  auto shape_of = [](auto&& formula) {
    Tables t;
    for (int ch = 0; ch < 3; ++ch)
      for (int c = 0; c < 256; ++c) t[ch][c] = uint8_t(formula(ch, c));
    ExpectSameBytes(t, "filter table");
    return ChannelMaps(t).ShapeFound();
  };
  // Brightness: truncate(min(c * Factor, 255)) in extended precision, Factor a float.
  for (float factor : {1.4f, 0.5f, 2.0f, 1.0f, 0.0f, 3.7f}) {
    EXPECT_EQ(shape_of([factor](int, int c) {
                const long double v = c * static_cast<long double>(factor);
                return v >= 255 ? 255 : int(v);
              }),
              Shape::kScale)
        << factor;
  }
  // Gamma Correction: one factor 1 + 0.01 * percent per channel.
  EXPECT_EQ(shape_of([](int ch, int c) {
              const long double f = static_cast<float>(1.0L + static_cast<long double>(0.01) * (10 + 5 * ch));
              return std::min(255, int(c * f));
            }),
            Shape::kScale);
  // Negative: check, circular and absolute overflow against targets inside 0..255.
  EXPECT_EQ(shape_of([](int, int c) { return 255 - c; }), Shape::kSubtract);
  EXPECT_EQ(shape_of([](int ch, int c) { return std::max(0, 100 + ch - c); }), Shape::kSubtract);
  EXPECT_EQ(shape_of([](int, int c) { return ((100 - c) % 256 + 256) % 256; }), Shape::kWrapSubtract);
  EXPECT_EQ(shape_of([](int, int c) { return std::abs(100 - c); }), Shape::kDistance);
  // RGB Calculations, Add with whole values.
  EXPECT_EQ(shape_of([](int ch, int c) { return (c + 100 * ch) & 255; }), Shape::kWrapAdd);
  // A table of no shape stays a table.
  EXPECT_EQ(shape_of([](int, int c) { return (c * c) & 255; }), Shape::kTable);
}

}  // namespace
