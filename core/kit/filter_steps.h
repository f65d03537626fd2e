// The steps every apply routine takes: the zone it works on, the row walk with its progress
// cadence, and reading numbers, options and colours out of the apply context.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>

#include "core/records.h"

namespace ombrix::kit {

// A half-open rectangle of pixels: columns x0 <= x < x1, rows y0 <= y < y1.
struct Zone {
  int32_t x0 = 0;
  int32_t y0 = 0;
  int32_t x1 = 0;
  int32_t y1 = 0;

  int32_t Width() const { return x1 - x0; }
  int32_t Height() const { return y1 - y0; }
  bool Contains(int32_t x, int32_t y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
  friend bool operator==(const Zone&, const Zone&) = default;
};

// Orders the corners (swapping x0 and x1 when x1 < x0, likewise y) and clips them against a
// width x height picture. nullopt when the zone lies wholly outside: width < x0, height < y0,
// x1 < 0 or y1 < 0. A zone that only touches the right or bottom edge is kept with no columns
// or no rows, so its rows are still walked and progress still reported.
std::optional<Zone> ClipZone(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t width, int32_t height);

// The zone of the apply call in progress, clipped against the host's picture size. nullopt when
// there is nothing to do: an empty zone, or no context, host block or WORK picture.
std::optional<Zone> ZoneOf(const ApplyContext* context);

// The apply routine of a filter that works inside its zone: `Body` runs with the clipped zone,
// and a call with nothing to do (ZoneOf gives no zone) returns 1 without it. The zone goes by
// value: a copy of its own, which no pixel store can alias, stays in registers in the loops.
template <int32_t (*Body)(const ApplyContext& context, Zone zone)>
int32_t ApplyInZone(ApplyContext* context) {
  const std::optional<Zone> zone = ZoneOf(context);
  if (!zone) return 1;
  return Body(*context, *zone);
}

// The host's pictures and size for the apply call in progress (null or 0 when it gives none).
Picture* InputPicture();
Picture* WorkPicture();
int32_t PictureWidth();
int32_t PictureHeight();
// Row tables (row 0 the top row) of the two pictures, or null.
uint8_t* const* InputRows();
uint8_t* const* WorkRows();

namespace detail {
void StartProgress(int32_t first, int32_t last);
bool ContinueAtRow(int32_t row);  // false when the host asked to stop
}  // namespace detail

// The host's progress message (an empty text clears it) and progress window command; nothing
// happens when the host gives no such service.
void SetInfoText(const char* text);
void ShowProgress(int32_t command);

// Walks the rows of the zone from y0 upwards with the progress cadence every filter keeps:
// StartProgress(y0, y1) before the first row, StepProgress(y) at the start of each row y that
// is a multiple of 10. row(y, work) gets the address of pixel x0 of WORK row y. Returns 0 as
// soon as StepProgress does (the rows not reached stay untouched), else 1.
template <typename RowFunction>
int32_t WalkRows(const Zone& zone, RowFunction&& row) {
  uint8_t* const* rows = WorkRows();
  if (rows == nullptr && zone.Height() > 0) return 0;
  detail::StartProgress(zone.y0, zone.y1);
  const size_t offset = 3 * size_t(zone.x0 > 0 ? zone.x0 : 0);
  for (int32_t y = zone.y0; y < zone.y1; ++y) {
    if (y % 10 == 0 && !detail::ContinueAtRow(y)) return 0;
    row(y, rows[y] + offset);
  }
  return 1;
}

// Calls pixel(bgr) for every pixel of the zone in WORK, left to right, rows as WalkRows walks
// them. The row address is taken once per row; the loop steps 3 bytes a pixel.
template <typename PixelFunction>
int32_t ForEachWorkPixel(const Zone& zone, PixelFunction&& pixel) {
  const size_t bytes = 3 * size_t(zone.Width() > 0 ? zone.Width() : 0);
  return WalkRows(zone, [&](int32_t, uint8_t* p) {
    for (uint8_t* const end = p + bytes; p != end; p += 3) pixel(p);
  });
}

// The number the host handed for parameter slot k; 0 for a slot outside the value array.
float ParameterValue(const ApplyContext& context, int32_t slot);
// True when option slot k is set (non-zero); false for a slot outside the state array.
bool OptionSet(const ApplyContext& context, int32_t slot);
// The first set option among `slots`, in the order given; 0 when none of them is set.
int32_t FirstSetOption(const ApplyContext& context, std::initializer_list<int32_t> slots);

struct Colour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

// A colour parameter at this frame: the slot's value text and step text of the filter entry
// read as three integers red, green, blue ("%d %d %d"), plus frame offset times the step, each
// clamped to 0..255. nullopt when the slot is below 0, above the context's parameter count, or
// not among the records the entry's descriptor holds.
std::optional<Colour> ReadColour(const ApplyContext& context, int32_t slot);
// The same from the two texts. Numbers that are missing or malformed count as 0; digits beyond
// the int32 range saturate.
Colour ColourFromTexts(const char* value, const char* step, int32_t frame_offset);

}  // namespace ombrix::kit
