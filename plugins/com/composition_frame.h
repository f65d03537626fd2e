// The frame every composition filter runs in: the second picture (loaded from the file its
// first parameter names, or a copy of the WORK zone), its slot, the scale factors, and where a
// zone pixel samples the second picture under the addressing options Normal, Stretch, Repeat.
//
// Precision of sample points. The samplers take their point in single precision. A point is
// formed in extended precision (long double) from the integer pixel position, the offset (a
// single-precision parameter, or an integer for Compose) and, in Stretch mode, the
// single-precision scale factor, and is rounded to single precision once, when it is handed to
// the sampler. Repeat (all filters but Compose) truncates x + offset toward zero in extended
// precision, so a point between -1 and 0 addresses column 0.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "core/kit/samplers.h"
#include "core/picture/picture.h"

namespace ombrix::com {

// One slot per filter for its second picture. A call stopped through the progress callback
// leaves its picture in the slot; the next call of the same filter releases it first.
enum class PictureSlot { kOfCompose, kOfDisplaceMap, kOfCombinate, kOfRub };

struct SecondPicture {
  const Picture& picture;
  // Second picture size over host picture size, divided in single precision.
  float scale_x;
  float scale_y;
};

using SecondPictureWalk = std::function<int32_t(const SecondPicture&)>;

// The common frame after zone clipping, in this order: shows "Loading "<file name>"..." (the
// file name part of parameter 1's value text, after its last separator of either kind),
// releases a picture a stopped call left in the slot, loads the picture file named by parameter
// 1's value text through the picture import (then calls ShowProgress(1)) or else copies the
// WORK zone, works out the scale factors, clears the message and runs `walk`, which walks the
// zone with the progress cadence. When `walk` returns 1 the picture is released; when it
// returns 0 (stopped) the picture stays in the slot. 0 as well when the fallback copy cannot be
// allocated.
int32_t RunWithSecondPicture(const ApplyContext& context, PictureSlot slot, const SecondPictureWalk& walk);

// The copy of the WORK zone that stands in for a second picture that cannot be loaded: columns
// x0..x1 and rows y0..y1 of the context's corners, sorted and each clamped into the picture,
// both ends inclusive, with the matching part of WORK's extra plane when it has one. Null when
// there is no WORK picture or the copy cannot be allocated.
std::unique_ptr<Picture> CopyOfWorkZone(const ApplyContext& context);

enum class Addressing { kNormal, kStretch, kRepeat };

// Options 8 "Normal", 9 "Stretch", 10 "Repeat": the first set one; none set counts as Normal.
Addressing AddressingOf(const ApplyContext& context);

// Sample coordinates along one axis (see the precision note above).
inline float NormalPoint(int32_t position, long double offset) { return float(position + offset); }
inline float StretchPoint(int32_t position, long double offset, float scale) {
  return float((position + offset) * scale);
}
inline int32_t RepeatIndex(int32_t position, long double offset, int32_t size) {
  return kit::WrapInto(kit::TruncateToInt(position + offset), size);
}

inline constexpr uint8_t kBlack[3] = {0, 0, 0};

// Walks the zone with the progress cadence and calls pixel(x, y, p, s) for every zone pixel: p the
// WORK pixel, s the colour of the second picture at the pixel's addressed point (Normal and
// Stretch: bilinear, black outside; Repeat: the pixel at the truncated, wrapped point), already
// inverted (255 - value) when `negative`. Used by every filter but Compose, whose Repeat mode
// samples with the wrap-around sampler.
template <typename PixelFunction>
int32_t WalkWithSamples(const kit::Zone& zone, const SecondPicture& second, Addressing mode, long double dx,
                        long double dy, bool negative, PixelFunction&& pixel) {
  const Picture& picture = second.picture;
  // 255 - v equals v XOR 255 for a byte.
  const uint8_t flip = negative ? 0xFF : 0x00;
  // row_sampler(y) works out what depends on the row once and gives the sampler of its pixels.
  auto walk = [&](auto&& row_sampler) {
    return kit::WalkRows(zone, [&](int32_t y, uint8_t* p) {
      const auto sample = row_sampler(y);
      for (int32_t x = zone.x0; x < zone.x1; ++x, p += 3) {
        uint8_t s[3];
        sample(x, s);
        s[0] ^= flip, s[1] ^= flip, s[2] ^= flip;
        pixel(x, y, p, s);
      }
    });
  };
  switch (mode) {
    case Addressing::kNormal:
      return walk([&](int32_t y) {
        const float v = NormalPoint(y, dy);
        return [&picture, dx, v](int32_t x, uint8_t* s) {
          kit::SampleBilinear(picture, NormalPoint(x, dx), v, kBlack, s);
        };
      });
    case Addressing::kStretch:
      return walk([&](int32_t y) {
        const float v = StretchPoint(y, dy, second.scale_y);
        return [&picture, dx, v, scale = second.scale_x](int32_t x, uint8_t* s) {
          kit::SampleBilinear(picture, StretchPoint(x, dx, scale), v, kBlack, s);
        };
      });
    case Addressing::kRepeat:
      // At a whole point the bilinear interpolation gives the pixel itself, so the pixel is read.
      return walk([&](int32_t y) {
        const uint8_t* row = picture.Row(RepeatIndex(y, dy, picture.Height()));
        return [row, dx, width = picture.Width()](int32_t x, uint8_t* s) {
          const uint8_t* q = row + 3 * size_t(RepeatIndex(x, dx, width));
          s[0] = q[0], s[1] = q[1], s[2] = q[2];
        };
      });
  }
  return 0;
}

}  // namespace ombrix::com
