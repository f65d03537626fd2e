// Roll (the zone rolled around its own edges) and Move (the zone shifted, cleared or kept behind,
// solid or mixed).
#include <cstring>
#include <vector>

#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

// The wrapped source columns of a zone shifted by dx: zone column x takes column
// x0 + ((x - x0 - dx) wrapped into 0 .. w - 1). Wrapping within the zone keeps a zone that does
// not start at the picture's origin rolling its own pixels instead of pixels from the origin.
std::unique_ptr<int32_t[]> WrappedColumns(const Zone& zone, int64_t dx) {
  auto columns = Scratch<int32_t>(size_t(zone.Width()));
  for (int32_t x = zone.x0; x < zone.x1; ++x)
    columns[x - zone.x0] =
        zone.x0 + int32_t(((int64_t(x) - zone.x0 - dx) % zone.Width() + zone.Width()) % zone.Width());
  return columns;
}
int32_t WrappedRow(const Zone& zone, int32_t y, int64_t dy) {
  return zone.y0 + int32_t(((int64_t(y) - zone.y0 - dy) % zone.Height() + zone.Height()) % zone.Height());
}

namespace roll {
enum Slot : int32_t { kXOffset = 2, kYOffset = 3 };
}  // namespace roll

int32_t ApplyRoll(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace roll;
  const int32_t dx = TruncateToInt(ParameterValue(context, kXOffset));
  const int32_t dy = TruncateToInt(ParameterValue(context, kYOffset));
  if ((dx == 0 && dy == 0) || zone.Width() < 1 || zone.Height() < 1) return 1;
  // Zone column i takes source column x0 + ((i - dx) wrapped): two runs per row, from the
  // wrapped start to the zone's right edge and from its left edge on.
  const int64_t zw = zone.Width();
  const int64_t start = ((-int64_t(dx)) % zw + zw) % zw;
  const size_t first = 3 * size_t(zw - start), second = 3 * size_t(start);
  const size_t x0 = 3 * size_t(zone.x0);
  return WalkRows(zone, [&](int32_t y, uint8_t* p) {
    const uint8_t* source = pictures.in[WrappedRow(zone, y, dy)] + x0;
    std::memmove(p, source + second, first);
    std::memmove(p + first, source, second);
  });
}

const ParameterRow kRollParameters[] = {
    {roll::kXOffset, "X Offset", "100", "0", kKindHorizontal},
    {roll::kYOffset, "Y Offset", "100", "0", kKindVertical},
};

namespace move {
enum Slot : int32_t { kXOffset = 1, kYOffset = 2, kClearColour = 4, kTransparencyLevel = 6 };
enum Option : int32_t { kClearBackground = 2, kKeepBackground = 3, kRepeat = 4, kSolidCopy = 6, kTransparent = 7 };
}  // namespace move

int32_t ApplyMove(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  using namespace move;
  const int32_t dx = TruncateToInt(ParameterValue(context, kXOffset));
  const int32_t dy = TruncateToInt(ParameterValue(context, kYOffset));
  if (dx == 0 && dy == 0) return 1;
  const Bgr clear = ColourParameter(context, kClearColour);
  const bool repeat = OptionSet(context, kRepeat);
  const bool transparent = FirstSetOption(context, {kSolidCopy, kTransparent}) == kTransparent;
  const int32_t k = LevelFromPercent(ParameterValue(context, kTransparencyLevel));
  if (FirstSetOption(context, {kClearBackground, kKeepBackground}) == kClearBackground)
    FillZone(pictures.out, zone, clear.data());
  if (zone.Width() < 1 || zone.Height() < 1) return WalkRows(zone, [](int32_t, uint8_t*) {});
  std::unique_ptr<int32_t[]> columns;
  if (repeat) columns = WrappedColumns(zone, dx);
  // The source column of every zone column, or -1 where it lies outside the INPUT picture, and
  // the runs of zone columns whose sources follow each other.
  const int32_t zw = zone.Width();
  auto sources = Scratch<int64_t>(size_t(zw));
  for (int32_t i = 0; i < zw; ++i) {
    const int64_t sx = repeat ? columns[i] : int64_t(zone.x0) + i - dx;
    sources[i] = sx >= 0 && sx < pictures.width ? sx : -1;
  }
  struct Run {
    int32_t first, count;
    int64_t source;  // -1: outside
  };
  std::vector<Run> runs;
  for (int32_t i = 0; i < zw; ++i) {
    if (!runs.empty()) {
      Run& last = runs.back();
      const int64_t next = last.source < 0 ? -1 : last.source + last.count;
      if ((sources[i] < 0 && last.source < 0) || (sources[i] >= 0 && sources[i] == next)) {
        ++last.count;
        continue;
      }
    }
    runs.push_back({i, 1, sources[i]});
  }
  const uint8_t* const clear_colour = clear.data();
  return WalkRows(zone, [&](int32_t y, uint8_t* p) {
    const int64_t sy = repeat ? WrappedRow(zone, y, dy) : int64_t(y) - dy;
    const bool row_inside = sy >= 0 && sy < pictures.height;
    const uint8_t* source_row = row_inside ? pictures.in[sy] : nullptr;
    for (const Run& run : runs) {
      uint8_t* t = p + 3 * size_t(run.first);
      const size_t bytes = 3 * size_t(run.count);
      if (row_inside && run.source >= 0) {
        const uint8_t* s = source_row + 3 * size_t(run.source);
        if (!transparent)
          std::memmove(t, s, bytes);
        else
          for (size_t b = 0; b < bytes; ++b) t[b] = MixChannel(t[b], s[b], k);
      } else if (transparent) {
        for (size_t b = 0; b < bytes; b += 3) MixPixel(t + b, clear_colour, k);
      }
    }
  });
}

const ParameterRow kMoveParameters[] = {
    {move::kXOffset, "X Offset", "100", "0", kKindHorizontal},
    {move::kYOffset, "Y Offset", "100", "0", kKindVertical},
    {move::kClearColour, "Clear Color", "0 0 0", "0 0 0", kKindColour},
    {move::kTransparencyLevel, "Transparency level", "50 %", "0 %", kKindPercentage},
};
const OptionRow kMoveOptions[] = {
    {move::kClearBackground, "Clear Background", 1, 1},
    {move::kKeepBackground, "Keep Background", 0, 1},
    {move::kRepeat, "Repeat", 0, 3},
    {move::kSolidCopy, "Solid Copy", 1, 2},
    {move::kTransparent, "Transparent", 0, 2},
};

}  // namespace

const CatalogueRow kRoll = {"Roll", ApplyWithPictures<ApplyRoll>, kHelpFile, 24, kRollParameters, {}};
const CatalogueRow kMove = {"Move", ApplyWithPictures<ApplyMove>, kHelpFile, 20, kMoveParameters, kMoveOptions};

}  // namespace ombrix::pic
