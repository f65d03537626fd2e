// Per-channel byte maps over a row: every blue, green and red value c becomes its channel's
// table[c]. Tables are what filters compute exactly; when all three are one of a few arithmetic
// shapes (found by checking every entry), rows go 48 bytes at a time through SSE2 instead of
// one look-up per byte, where the level in force (core/kit/simd.h) allows. Both ways give the
// same bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ombrix::kit {

class ChannelMaps {
 public:
  // The shapes a table can take, each with one constant a per channel:
  //   kScale: min(255, (c * a) >> (16 - k)), a factor a / 2^(16 - k) with a below 65536 and
  //     k from 0 to 8 (the smallest k that fits, so the factor keeps the most bits)
  //   kSubtract: max(0, a - c); kWrapSubtract: (a - c) mod 256; kDistance: |a - c|;
  //   kWrapAdd: (c + a) mod 256.
  enum class Shape { kTable, kScale, kSubtract, kWrapSubtract, kDistance, kWrapAdd };

  // tables[0] maps blue, [1] green, [2] red.
  explicit ChannelMaps(const uint8_t (&tables)[3][256]);
  // Maps `bytes` bytes of a row; p points at the blue byte of a pixel.
  void Row(uint8_t* p, size_t bytes) const;
  Shape ShapeFound() const { return shape_; }
  // Tests switch the arithmetic off to compare it with the look-ups.
  void UseTablesOnly() { shape_ = Shape::kTable; }

 private:
  uint8_t tables_[3][256];
  Shape shape_ = Shape::kTable;
  uint16_t constants_[3] = {};
  uint16_t powers_[3] = {};  // kScale: 2^k
};

}  // namespace ombrix::kit
