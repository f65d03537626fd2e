// Move Plane: shifts one channel of the picture by an offset, taking it from the INPUT picture;
// places the offset uncovers are black in that channel.
#include <algorithm>

#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "core/picture/picture.h"
#include "plugins/pal/pal_filters.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

int32_t ApplyMovePlane(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const int64_t dx = TruncateToInt(ParameterValue(*context, 2));
  const int64_t dy = TruncateToInt(ParameterValue(*context, 3));
  if (dx == 0 && dy == 0) return 1;
  int channel = 0;
  switch (FirstSetOption(*context, {1, 2, 3})) {
    case 1:
      channel = kRed;
      break;
    case 2:
      channel = kGreen;
      break;
    case 3:
      channel = kBlue;
      break;
    default:
      return 1;  // no option set: no channel to move
  }
  const Picture* input = InputPicture();
  uint8_t* const* source_rows = InputRows();
  if (source_rows == nullptr) return 1;
  // Source pixels lie inside the host's picture size; never beyond the INPUT picture itself.
  const int64_t width = std::min<int64_t>(PictureWidth(), input->info->width);
  const int64_t height = std::min<int64_t>(PictureHeight(), input->info->height);
  // Columns whose source column x - dx lies inside the picture.
  const int64_t covered_x0 = std::clamp<int64_t>(dx, zone->x0, zone->x1);
  const int64_t covered_x1 = std::clamp<int64_t>(dx + width, covered_x0, zone->x1);
  return WalkRows(*zone, [&](int32_t y, uint8_t* p) {
    const int64_t sy = y - dy;
    if (sy < 0 || sy >= height) {
      for (int32_t x = zone->x0; x < zone->x1; ++x, p += 3) p[channel] = 0;
      return;
    }
    int64_t x = zone->x0;
    for (; x < covered_x0; ++x, p += 3) p[channel] = 0;
    if (x < covered_x1) {
      const uint8_t* s = source_rows[sy] + 3 * (x - dx) + channel;
      for (; x < covered_x1; ++x, p += 3, s += 3) p[channel] = *s;
    }
    for (; x < zone->x1; ++x, p += 3) p[channel] = 0;
  });
}

const ParameterRow kParameters[] = {
    {2, "X Offset", "2", "0", kKindHorizontal},
    {3, "Y Offset", "2", "0", kKindVertical},
};
const OptionRow kOptions[] = {
    {1, "Move Red", 1, 1},
    {2, "Move Green", 0, 1},
    {3, "Move Blue", 0, 1},
};

}  // namespace

const CatalogueRow kMovePlane = {"Move Plane", ApplyMovePlane, kHelpFile, 8, kParameters, kOptions};

}  // namespace ombrix::pal
