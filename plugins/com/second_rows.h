// What the zone pixels of one row see of the second picture, a row at a time: colours (already
// inverted under Negative) and alpha values. The sample point of a pixel is separable (its u
// depends on the column only, its v on the row only), so the neighbours and fractions of every
// column are found once per call and those of a row once per row; a pixel then only fetches and
// blends. The results are those of kit::SampleBilinear, kit::SampleWrapped and
// kit::SampleAlpha at the points composition_frame.h describes; the blends are the kit's.
#pragma once

#include <cstdint>
#include <vector>

#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "core/kit/samplers.h"

namespace ombrix::com {

enum class Addressing { kNormal, kStretch, kRepeat };

// Sample coordinates along one axis. A point is formed in extended precision from the integer
// pixel position, the offset (a single-precision parameter, or an integer for Compose) and, in
// Stretch mode, the single-precision scale factor, and is rounded to single precision once, as
// the samplers take it. Repeat (all filters but Compose) truncates position + offset toward zero
// in extended precision, so a point between -1 and 0 addresses index 0.
inline float NormalPoint(int32_t position, long double offset) { return float(position + offset); }
inline float StretchPoint(int32_t position, long double offset, float scale) {
  return float((position + offset) * scale);
}
inline int32_t RepeatIndex(int32_t position, long double offset, int32_t size) {
  return kit::WrapInto(kit::TruncateToInt(position + offset), size);
}

// How Repeat samples: Displace Map, Combinate and Rub take the pixel at the truncated point
// wrapped into the picture; Compose samples at the point with the wrap-around sampler.
enum class RepeatSampling { kWrappedPixel, kWrapAroundSampler };

// One axis of the neighbour cell of a point: the two neighbour indices inside the picture (-1
// for one outside it, under the samplers with an outside colour) and the fraction.
struct AxisStep {
  int32_t a = 0;
  int32_t b = 0;
  float f = 0.0f;
  bool far = false;  // the wrap-around sampler's far point: the whole sample moves to (0, 0)
};

class SecondRows {
 public:
  // The columns are those of the zone, x0 .. x1 - 1; scale_x and scale_y serve Stretch.
  SecondRows(const Picture& picture, float scale_x, float scale_y, Addressing mode, RepeatSampling repeat,
             long double dx, long double dy, bool negative, int32_t x0, int32_t x1);

  int32_t Columns() const { return int32_t(columns_.size()); }
  // Fills 3 bytes a column: the colour the pixels of zone row y see.
  void Colours(int32_t y, uint8_t* out) const;
  // Fills 1 byte a column: the alpha sample of the extra plane (which must be present), with
  // what a neighbour outside the plane takes: 0 in Normal, 255 in Stretch, wrapped in Repeat.
  void Alphas(int32_t y, uint8_t* out) const;

 private:
  AxisStep StepOf(int32_t position, long double offset, float scale, int32_t size) const;
  // 255 - v under Negative.
  void Invert(uint8_t* bytes, size_t count) const;
  bool Wraps() const { return mode_ == Addressing::kRepeat && repeat_ == RepeatSampling::kWrapAroundSampler; }

  // Columns x0 + start .. x0 + start + count - 1 see the consecutive pixels from index `source`
  // on (-1: outside, black). Made when every column lies on a whole point, so that a row on a
  // whole point is a few block copies.
  struct Run {
    size_t start;
    size_t count;
    int32_t source;
  };

  kit::PictureView view_;
  bool lanes_;  // blend the channels in vector lanes (the level in force allows SSE2)
  Addressing mode_;
  RepeatSampling repeat_;
  long double dy_;
  float scale_y_;
  uint8_t flip_;
  std::vector<AxisStep> columns_;
  std::vector<Run> runs_;         // empty unless every column lies on a whole point
  AxisStep origin_x_, origin_y_;  // the wrap-around sampler's cell of a far point
};

}  // namespace ombrix::com
