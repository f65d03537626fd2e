// Row kernels of the fast merge. Each works on n bytes of one row piece of the zone and gives
// the same bytes as the per-pixel steps of the plain merge; on x86-64 the bulk of a row goes 16
// bytes at a time (SSE2) or 32 (AVX2), as far as the level in force (core/kit/simd.h) allows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ombrix::engine {

// Gradual mask stage for weights k = 255 - grey, one weight per byte:
// work = input + truncate((work - input) * k * c). With c the single-precision value nearest to
// 1/255 and |work - input| * k at most 65025, that product truncates exactly as the integer
// quotient (work - input) * k / 255 (truncated toward zero), which is what the kernel computes.
// When also is not null the merged bytes go there too (INPUT, when no alpha stage follows); it
// may be input itself, since each byte is read before it is written.
void GradualMaskRow(const uint8_t* input, uint8_t* work, const uint8_t* weights, size_t n, uint8_t* also = nullptr);
// Threshold mask stage: where keep is 0xFF the WORK byte becomes the INPUT byte; where it is 0
// the filtered byte stays. also as above.
void ThresholdMaskRow(const uint8_t* input, uint8_t* work, const uint8_t* keep, size_t n, uint8_t* also = nullptr);

// The weight of each of count mask pixels (blue, green, red) from its grey level g = sum / 3:
// 255 - g for the gradual mask (type 1), 0xFF where g > 128 and 0 elsewhere for the threshold
// mask (type 2). copies is 1 (one byte per pixel) or 3 (the weight for each byte of the pixel).
void PixelWeights(const uint8_t* pixels, size_t count, int type, int copies, uint8_t* out);

// Spreads one weight per mask column over the three bytes of every zone pixel through a fixed
// column map: out[3i..3i+2] = weights[source[i]]. The map is the same for every row of a merge,
// so it is turned once into 16-byte shuffles; pieces whose sources lie too far apart are copied
// byte by byte. The weights handed to Row need 16 readable bytes beyond the highest source.
class WeightSpread {
 public:
  explicit WeightSpread(const std::vector<int>& source);
  void Row(const uint8_t* weights, uint8_t* out) const;

 private:
  std::vector<int> source_;
  std::vector<int> base_;          // per 16-byte piece: first weight it reads, -1 byte by byte
  std::vector<uint8_t> shuffles_;  // per piece: 16 offsets from its base
  std::vector<size_t> by_byte_;    // the pieces whose base is -1
};

// The alpha stage for one alpha other than 0: l = 255 - 255 * alpha; where l >= 0 the merged
// byte is INPUT + truncate((WORK - INPUT) * l * c), otherwise WORK + truncate((INPUT - WORK) *
// -l * c), stored modulo 256. The truncated products are tabulated once; when one integer
// multiplier reproduces the whole table (m * |d| >> 16, checked for every |d|), rows are
// computed with it, else from the table.
class AlphaBlend {
 public:
  explicit AlphaBlend(float alpha);
  // Writes the merged bytes into both rows: INPUT takes the result, and WORK, which the merge
  // refreshes from INPUT anyway, takes it too.
  void Row(uint8_t* input, uint8_t* work, size_t n) const;
  // What the plain alpha stage computes for one byte pair.
  uint8_t Merged(uint8_t input, uint8_t work) const;
  bool HasMultiplier() const { return has_multiplier_; }

 private:
  bool from_input_ = true;  // l >= 0
  bool has_multiplier_ = false;
  uint16_t multiplier_ = 0;
  int16_t shift_[511] = {};  // truncate(d * weight * c) for d in -255..255, at d + 255
};

}  // namespace ombrix::engine
