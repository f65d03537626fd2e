// The row loops of the palette filters. Each takes the address of the blue byte of a row's first
// pixel and a pixel count. Where the level in force (core/kit/simd.h) allows SSSE3, the loops work
// 16 pixels (48 bytes) a step with byte shuffles and finish the row with the plain per-pixel
// loop; at the plain level the per-pixel loop does the whole row. Both give the same bytes (the
// tests compare them).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/kit/pixel_math.h"

namespace ombrix::pal {

// Channel ch of every pixel takes the value channel from[ch] had (offsets kBlue, kGreen, kRed).
void PermuteRow(uint8_t* p, size_t count, const int (&from)[3]);

// What picks a pixel's entry in a colour table: the sum of its channels (0..765), their mean
// (integer division) or one channel.
enum class ColourIndex { kSum, kMean, kBlue, kGreen, kRed };
// Every pixel becomes colours[index]: blue in bits 0-7, green in 8-15, red in 16-23. The table
// holds 766 entries for kSum, 256 for the others.
void ColourByIndexRow(uint8_t* p, size_t count, ColourIndex index, const uint32_t* colours);
inline uint32_t PackColour(uint8_t blue, uint8_t green, uint8_t red) {
  return uint32_t(blue) | uint32_t(green) << 8 | uint32_t(red) << 16;
}

// The mean-table rules of Negative Light, Overexposure and Contrast as single-precision
// arithmetic on vectors: per channel v = x * a + b, x being the channel value c (for Contrast
// c * (mean - 128)) and a, b numbers of the pixel's mean; then the rounding rule, plus c for
// Contrast, clamped. Single precision is not the filters' own arithmetic, so a rule is only
// used after it has given every reachable entry of the filter's exact table.
// kAddRoundedMean rounds b on its own and adds it to c as an integer, which is Overexposure's
// rule too wherever the rounding of c + b in the exact table does not decide otherwise.
// kPushFromGreyShifted is Contrast's rule in integers when its factor is a power of two
// (Coefficient 2, 1, 4, ...): the rounding becomes a biased arithmetic shift.
enum class MeanRule { kNone, kInvertIntensity, kAddMean, kPushFromGrey, kAddRoundedMean, kPushFromGreyShifted };
struct MeanArithmetic {
  MeanRule rule = MeanRule::kNone;
  float parameter = 0;  // Overexposure (both rules): Intensity; Contrast: Coefficient / 128
};
// The rule's value for one channel value c of a pixel of mean `mean`, as the vectors compute it.
uint8_t ArithmeticValue(const MeanArithmetic& arithmetic, int32_t mean, int32_t c);
// `arithmetic` when it agrees with table.value[mean][c] for every mean and every c a pixel of
// that mean can have; otherwise kNone.
MeanArithmetic Checked(const MeanArithmetic& arithmetic, const kit::MeanChannelTable& table);

// The exact table of a mean-table filter with its checked arithmetic, kept from one apply to the
// next: filling and checking take 65536 extended-precision evaluations, as long as a frame's
// pixels take in the vectors, and a parameter without a step gives the same table every frame.
// Like the filters' tables before it, it is one per filter and process.
class MeanTableCache {
 public:
  // The table and arithmetic for `parameter` (compared bit for bit); fill(table) builds the
  // table and returns the arithmetic to check against it when the parameter changed.
  template <typename Fill>
  void Prepare(float parameter, Fill&& fill) {
    uint32_t bits;
    static_assert(sizeof bits == sizeof parameter);
    std::memcpy(&bits, &parameter, sizeof bits);
    if (valid_ && bits == bits_) return;
    valid_ = false;
    arithmetic_ = Checked(fill(table_), table_);
    bits_ = bits;
    valid_ = true;
  }
  const kit::MeanChannelTable& table() const { return table_; }
  const MeanArithmetic& arithmetic() const { return arithmetic_; }

 private:
  kit::MeanChannelTable table_;
  MeanArithmetic arithmetic_;
  uint32_t bits_ = 0;
  bool valid_ = false;
};

// Every channel c of a pixel whose mean is m becomes table.value[m][c]; the vector steps compute
// it with `arithmetic` when that is not kNone (and was checked against the table), eight lanes to
// a register at the AVX2 level, four below.
void MeanTableRow(uint8_t* p, size_t count, const kit::MeanChannelTable& table, const MeanArithmetic& arithmetic = {});

// Channel `channel` of every pixel takes the same channel of the pixel at the same place in
// `source`, or 0 when source is null; the other channels stay.
void CopyChannelRow(uint8_t* p, const uint8_t* source, size_t count, int channel);

// A pixel matches when every channel lies within its tolerance of `match` (a negative tolerance
// matches nothing). A matching pixel becomes `with` when solid, else every channel becomes
// clamp(with - (mean of with - mean of the pixel)).
struct Replacement {
  uint8_t match[3] = {};  // blue, green, red
  int64_t tolerance[3] = {};
  uint8_t with[3] = {};
  bool solid = true;
};
void ReplaceRow(uint8_t* p, size_t count, const Replacement& replacement);

}  // namespace ombrix::pal
