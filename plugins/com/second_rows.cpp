// The second picture's samples a row at a time.
#include "plugins/com/second_rows.h"

#include <cmath>
#include <cstring>

#include "core/kit/simd.h"

namespace ombrix::com {
namespace {

using kit::FloorToInt;
using kit::kFarAway;

// Neighbour indices of the samplers with an outside colour: compared as unsigned 16-bit values,
// -1 outside. A far point has both neighbours outside, so all four take the outside colour, as
// the plain sampler does.
AxisStep OutsideStep(float t, int32_t size) {
  if (!(std::fabs(t) < kFarAway)) return AxisStep{-1, -1, 0.0f, false};
  const int32_t a = FloorToInt(t);
  const uint16_t ua = uint16_t(a), ub = uint16_t(a + 1);
  return AxisStep{ua < size ? int32_t(ua) : -1, ub < size ? int32_t(ub) : -1, t - float(a), false};
}

AxisStep WrappedStep(float t, int32_t size) {
  if (!(std::fabs(t) < kFarAway)) return AxisStep{0, kit::WrapInto(1, size), 0.0f, true};
  const int32_t a = FloorToInt(t);
  return AxisStep{kit::WrapInto(a, size), kit::WrapInto(a + 1, size), t - float(a), false};
}

// Both neighbours of a whole point: the fraction is 0, so only `a` counts.
AxisStep PixelStep(int32_t index) { return AxisStep{index, index, 0.0f, false}; }

}  // namespace

SecondRows::SecondRows(const Picture& picture, float scale_x, float scale_y, Addressing mode, RepeatSampling repeat,
                       long double dx, long double dy, bool negative, int32_t x0, int32_t x1)
    : view_(picture),
      lanes_(kit::simd::Uses(kit::simd::Level::kSse2)),
      mode_(mode),
      repeat_(repeat),
      dy_(dy),
      scale_y_(scale_y),
      flip_(negative ? 0xFF : 0x00),
      origin_x_(WrappedStep(0.0f, view_.width)),
      origin_y_(WrappedStep(0.0f, view_.height)) {
  columns_.reserve(size_t(x1 > x0 ? x1 - x0 : 0));
  for (int32_t x = x0; x < x1; ++x) columns_.push_back(StepOf(x, dx, scale_x, view_.width));
  for (size_t i = 0; i < columns_.size(); ++i) {
    const AxisStep& c = columns_[i];
    if (c.f != 0.0f || c.far) {
      runs_.clear();
      break;
    }
    Run* last = runs_.empty() ? nullptr : &runs_.back();
    if (last != nullptr &&
        (c.a < 0 ? last->source < 0 : last->source >= 0 && c.a == last->source + int32_t(last->count)))
      ++last->count;
    else
      runs_.push_back(Run{i, 1, c.a < 0 ? -1 : c.a});
  }
}

AxisStep SecondRows::StepOf(int32_t position, long double offset, float scale, int32_t size) const {
  switch (mode_) {
    case Addressing::kNormal:
      return OutsideStep(NormalPoint(position, offset), size);
    case Addressing::kStretch:
      return OutsideStep(StretchPoint(position, offset, scale), size);
    case Addressing::kRepeat:
      if (repeat_ == RepeatSampling::kWrapAroundSampler) return WrappedStep(NormalPoint(position, offset), size);
      return PixelStep(RepeatIndex(position, offset, size));
  }
  return AxisStep{};
}

void SecondRows::Colours(int32_t y, uint8_t* out) const {
  static constexpr uint8_t kBlack[3] = {0, 0, 0};
  const AxisStep row = StepOf(y, dy_, scale_y_, view_.height);
  const uint8_t* const r0 = row.a >= 0 ? view_.rows[row.a] : nullptr;
  const uint8_t* const r1 = row.b >= 0 ? view_.rows[row.b] : nullptr;
  const float fy = row.f;
  const bool wraps = Wraps();
  if (!runs_.empty() && fy == 0.0f && !row.far) {
    // Every pixel of the row lies on a whole point: the neighbours at (xa, ya) themselves.
    for (const Run& run : runs_) {
      uint8_t* s = out + 3 * run.start;
      if (r0 == nullptr || run.source < 0)
        std::memset(s, 0, 3 * run.count);
      else
        std::memcpy(s, r0 + 3 * size_t(run.source), 3 * run.count);
    }
    Invert(out, 3 * columns_.size());
    return;
  }
  const AxisStep* column = columns_.data();
  uint8_t* const end = out + 3 * columns_.size();
  for (uint8_t* s = out; s != end; s += 3, ++column) {
    AxisStep cx = *column;
    const uint8_t* q0 = r0;
    const uint8_t* q1 = r1;
    float f = fy;
    if (wraps && (cx.far || row.far)) {
      // A far point on either axis samples the cell at (0, 0).
      cx = origin_x_;
      q0 = view_.rows[origin_y_.a];
      q1 = view_.rows[origin_y_.b];
      f = origin_y_.f;
    }
    const uint8_t* p00 = q0 != nullptr && cx.a >= 0 ? q0 + 3 * size_t(cx.a) : kBlack;
    if (cx.f == 0.0f && f == 0.0f) {
      // A whole point: the interpolation gives the neighbour at (xa, ya) itself.
      s[0] = p00[0], s[1] = p00[1], s[2] = p00[2];
      continue;
    }
    const uint8_t* p10 = q0 != nullptr && cx.b >= 0 ? q0 + 3 * size_t(cx.b) : kBlack;
    const uint8_t* p01 = q1 != nullptr && cx.a >= 0 ? q1 + 3 * size_t(cx.a) : kBlack;
    const uint8_t* p11 = q1 != nullptr && cx.b >= 0 ? q1 + 3 * size_t(cx.b) : kBlack;
    kit::BlendCell(p00, p10, p01, p11, cx.f, f, s, lanes_);
  }
  Invert(out, 3 * columns_.size());
}

void SecondRows::Invert(uint8_t* bytes, size_t count) const {
  if (flip_ != 0)
    for (size_t i = 0; i < count; ++i) bytes[i] ^= flip_;
}

void SecondRows::Alphas(int32_t y, uint8_t* out) const {
  const uint8_t* const plane = view_.plane;
  const size_t width = size_t(view_.width);
  // What a neighbour outside the plane takes (Repeat never has one).
  const float missing = mode_ == Addressing::kStretch ? 255.0f : 0.0f;
  const AxisStep row = StepOf(y, dy_, scale_y_, view_.height);
  const bool wraps = mode_ == Addressing::kRepeat;
  const AxisStep* column = columns_.data();
  for (uint8_t *a = out, *const end = out + columns_.size(); a != end; ++a, ++column) {
    AxisStep cx = *column, cy = row;
    if (wraps && (cx.far || cy.far)) cx = origin_x_, cy = origin_y_;
    auto at = [&](int32_t col, int32_t r) -> float {
      return col >= 0 && r >= 0 ? float(plane[size_t(r) * width + size_t(col)]) : missing;
    };
    const float a00 = at(cx.a, cy.a);
    if (cx.f == 0.0f && cy.f == 0.0f) {
      *a = uint8_t(int32_t(a00));
      continue;
    }
    *a = kit::Blend(a00, at(cx.b, cy.a), at(cx.a, cy.b), at(cx.b, cy.b), cx.f, cy.f);
  }
}

}  // namespace ombrix::com
