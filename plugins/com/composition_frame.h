// The frame every composition filter runs in: the second picture (loaded from the file its
// first parameter names, or a copy of the WORK zone), its slot, the scale factors, and where a
// zone pixel samples the second picture under the addressing options Normal, Stretch, Repeat.
// Where the points lie and how they are sampled: second_rows.h.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "core/kit/samplers.h"
#include "core/picture/picture.h"
#include "plugins/com/second_rows.h"

namespace ombrix::com {

// The slots every composition filter shares: the second picture's file name, and the addressing
// options.
enum FrameSlot : int32_t { kPictureName = 1 };
enum FrameOption : int32_t { kNormal = 8, kStretch = 9, kRepeat = 10 };

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
// file name part of the "Picture Name" value text, after its last separator of either kind),
// releases a picture a stopped call left in the slot, loads the picture file named by parameter
// value text through the kit's picture files (then calls ShowProgress(1)) or else copies the
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

// Options "Normal", "Stretch", "Repeat": the first set one; none set counts as Normal.
Addressing AddressingOf(const ApplyContext& context);

// Walks the zone with the progress cadence and calls row(y, p, s, count) for every zone row: p
// the WORK pixels of the row, s the colours of the second picture at their addressed points
// (Normal and Stretch: bilinear, black outside; Repeat: the pixel at the truncated, wrapped
// point), already inverted (255 - value) when `negative`, count the pixels. Used by every filter
// but Compose, whose Repeat mode samples with the wrap-around sampler.
template <typename RowFunction>
int32_t WalkWithSampleRows(const kit::Zone& zone, const SecondPicture& second, Addressing mode, long double dx,
                           long double dy, bool negative, RowFunction&& row) {
  const SecondRows samples(second.picture, second.scale_x, second.scale_y, mode, RepeatSampling::kWrappedPixel, dx, dy,
                           negative, zone.x0, zone.x1);
  std::vector<uint8_t> colours(3 * size_t(samples.Columns()));
  return kit::WalkRows(zone, [&](int32_t y, uint8_t* p) {
    samples.Colours(y, colours.data());
    row(y, p, static_cast<const uint8_t*>(colours.data()), samples.Columns());
  });
}

// The same a pixel at a time: pixel(x, y, p, s) with p the WORK pixel and s its sample.
template <typename PixelFunction>
int32_t WalkWithSamples(const kit::Zone& zone, const SecondPicture& second, Addressing mode, long double dx,
                        long double dy, bool negative, PixelFunction&& pixel) {
  return WalkWithSampleRows(zone, second, mode, dx, dy, negative,
                            [&](int32_t y, uint8_t* p, const uint8_t* s, int32_t count) {
                              for (int32_t x = zone.x0, end = zone.x0 + count; x < end; ++x, p += 3, s += 3)
                                pixel(x, y, p, s);
                            });
}

}  // namespace ombrix::com
