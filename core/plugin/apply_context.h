// One chain entry's apply context at one frame: the zone, the parameter values and option states
// a filter gets, with the arrays they live in. Every host that applies a filter (the render
// engine, the editor, the test and timing hosts) builds it here, so they all hand a filter the
// same numbers.
#pragma once

#include <cstdint>
#include <vector>

#include "core/records.h"

namespace ombrix {

// What proportional entries scale by: the picture the entry is applied to and the based size of
// the script header (the picture size on which zones and position parameters were set). A based
// size of 0 does not scale.
struct ProportionalScale {
  int32_t width = 0;
  int32_t height = 0;
  int32_t based_width = 0;
  int32_t based_height = 0;
};

// x * size / based in extended precision, rounded to single precision; x itself when based <= 0.
float ScaleToPicture(float x, int32_t size, int32_t based);

// An ApplyContext with its value and option arrays. Movable, not copyable: `context` points
// into the arrays and at the descriptor it was built from, which must outlive it.
struct BuiltApplyContext {
  ApplyContext context{};
  std::vector<float> values;    // parameter count + 1 entries, the last 0
  std::vector<int16_t> states;  // option count + 1 entries, the last 0

  BuiltApplyContext() = default;
  BuiltApplyContext(BuiltApplyContext&&) = default;
  BuiltApplyContext& operator=(BuiltApplyContext&&) = default;
  BuiltApplyContext(const BuiltApplyContext&) = delete;
  BuiltApplyContext& operator=(const BuiltApplyContext&) = delete;
};

// The context of `entry` at frame offset s (frames since its start frame):
// - zone: the whole picture when the entry is full screen, else its zone, each corner scaled to
//   the picture and truncated when proportional; the zone steps scaled likewise (not truncated)
//   when proportional; then each corner truncate(s * step + corner) in single precision, neither
//   ordered nor clipped;
// - values: for slot k below the parameter count, step * s + value in single precision, the two
//   texts read as the C "%f" conversion reads them in the "C" locale whatever the process
//   locale (no number: 0); colour and file kinds give 0; horizontal and vertical kinds scale
//   both numbers by width or height when the entry is proportional;
// - option states: the state of every option slot.
// The descriptor is read, never changed; file parameters are completed by the caller.
BuiltApplyContext BuildApplyContext(const FilterDescriptor& entry, int32_t frame_offset,
                                    const ProportionalScale& scale);

}  // namespace ombrix
