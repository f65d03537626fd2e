// Roll (the zone rolled around its own edges) and Move (the zone shifted, cleared or kept behind,
// solid or mixed).
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
  if (!columns) return columns;
  for (int32_t x = zone.x0; x < zone.x1; ++x)
    columns[x - zone.x0] = zone.x0 + int32_t(((int64_t(x) - zone.x0 - dx) % zone.Width() + zone.Width()) % zone.Width());
  return columns;
}
int32_t WrappedRow(const Zone& zone, int32_t y, int64_t dy) {
  return zone.y0 + int32_t(((int64_t(y) - zone.y0 - dy) % zone.Height() + zone.Height()) % zone.Height());
}

int32_t ApplyRoll(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const int32_t dx = TruncateToInt(ParameterValue(*context, 2));
  const int32_t dy = TruncateToInt(ParameterValue(*context, 3));
  if ((dx == 0 && dy == 0) || zone->Width() < 1 || zone->Height() < 1) return 1;
  const auto columns = WrappedColumns(*zone, dx);
  if (!columns) return 0;
  return WalkRows(*zone, [&](int32_t y, uint8_t* p) {
    const uint8_t* source = pictures->in[WrappedRow(*zone, y, dy)];
    for (int32_t i = 0; i < zone->Width(); ++i, p += 3) CopyPixel(p, source + 3 * size_t(columns[i]));
  });
}

const ParameterRow kRollParameters[] = {
    {2, "X Offset", "100", "0", kKindHorizontal},
    {3, "Y Offset", "100", "0", kKindVertical},
};

int32_t ApplyMove(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const int32_t dx = TruncateToInt(ParameterValue(*context, 1));
  const int32_t dy = TruncateToInt(ParameterValue(*context, 2));
  if (dx == 0 && dy == 0) return 1;
  const Bgr clear = ColourParameter(*context, 4);
  const bool repeat = OptionSet(*context, 4);
  const bool transparent = FirstSetOption(*context, {6, 7}) == 7;
  const int32_t k = LevelFromPercent(ParameterValue(*context, 6));
  if (FirstSetOption(*context, {2, 3}) == 2) FillZone(pictures->out, *zone, clear.data());
  if (zone->Width() < 1 || zone->Height() < 1) return WalkRows(*zone, [](int32_t, uint8_t*) {});
  std::unique_ptr<int32_t[]> columns;
  if (repeat && !(columns = WrappedColumns(*zone, dx))) return 0;
  return WalkRows(*zone, [&](int32_t y, uint8_t* p) {
    const int64_t sy = repeat ? WrappedRow(*zone, y, dy) : int64_t(y) - dy;
    for (int32_t x = zone->x0; x < zone->x1; ++x, p += 3) {
      const int64_t sx = repeat ? columns[x - zone->x0] : int64_t(x) - dx;
      const uint8_t* source = pictures->InsideInput(sx, sy) ? PixelAt(pictures->in, sx, sy) : nullptr;
      if (!transparent) {
        if (source != nullptr) CopyPixel(p, source);
      } else {
        MixPixel(p, source != nullptr ? source : clear.data(), k);
      }
    }
  });
}

const ParameterRow kMoveParameters[] = {
    {1, "X Offset", "100", "0", kKindHorizontal},
    {2, "Y Offset", "100", "0", kKindVertical},
    {4, "Clear Color", "0 0 0", "0 0 0", kKindColour},
    {6, "Transparency level", "50 %", "0 %", kKindPercentage},
};
const OptionRow kMoveOptions[] = {
    {2, "Clear Background", 1, 1}, {3, "Keep Background", 0, 1}, {4, "Repeat", 0, 3},
    {6, "Solid Copy", 1, 2},       {7, "Transparent", 0, 2},
};

}  // namespace

const CatalogueRow kRoll = {"Roll", ApplyRoll, kHelpFile, 24, kRollParameters, {}};
const CatalogueRow kMove = {"Move", ApplyMove, kHelpFile, 20, kMoveParameters, kMoveOptions};

}  // namespace ombrix::pic
