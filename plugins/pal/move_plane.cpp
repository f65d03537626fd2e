// Move Plane: shifts one channel of the picture by an offset, taking it from the INPUT picture;
// places the offset uncovers are black in that channel.
#include <algorithm>

#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "core/picture/picture.h"
#include "plugins/pal/pal_filters.h"
#include "plugins/pal/pixel_rows.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kXOffset = 2, kYOffset = 3 };
enum Option : int32_t { kMoveRed = 1, kMoveGreen = 2, kMoveBlue = 3 };

int32_t ApplyMovePlane(const ApplyContext& context, const Zone zone) {
  const int64_t dx = TruncateToInt(ParameterValue(context, kXOffset));
  const int64_t dy = TruncateToInt(ParameterValue(context, kYOffset));
  if (dx == 0 && dy == 0) return 1;
  int channel = 0;
  switch (FirstSetOption(context, {kMoveRed, kMoveGreen, kMoveBlue})) {
    case kMoveRed:
      channel = kRed;
      break;
    case kMoveGreen:
      channel = kGreen;
      break;
    case kMoveBlue:
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
  const int64_t covered_x0 = std::clamp<int64_t>(dx, zone.x0, zone.x1);
  const int64_t covered_x1 = std::clamp<int64_t>(dx + width, covered_x0, zone.x1);
  // Pixel counts of the zone's columns left of, inside and right of the covered columns.
  const size_t left = size_t(covered_x0 - zone.x0);
  const size_t inside = size_t(covered_x1 - covered_x0);
  const size_t right = size_t(zone.x1 - covered_x1);
  const int64_t first_source = 3 * (covered_x0 - dx);
  return WalkRows(zone, [&](int32_t y, uint8_t* p) {
    const int64_t sy = y - dy;
    if (sy < 0 || sy >= height) {
      CopyChannelRow(p, nullptr, left + inside + right, channel);
      return;
    }
    CopyChannelRow(p, nullptr, left, channel);
    p += 3 * left;
    if (inside > 0) CopyChannelRow(p, source_rows[sy] + first_source, inside, channel);
    CopyChannelRow(p + 3 * inside, nullptr, right, channel);
  });
}

const ParameterRow kParameters[] = {
    {kXOffset, "X Offset", "2", "0", kKindHorizontal},
    {kYOffset, "Y Offset", "2", "0", kKindVertical},
};
const OptionRow kOptions[] = {
    {kMoveRed, "Move Red", 1, 1},
    {kMoveGreen, "Move Green", 0, 1},
    {kMoveBlue, "Move Blue", 0, 1},
};

}  // namespace

const CatalogueRow kMovePlane = {"Move Plane", ApplyInZone<ApplyMovePlane>, kHelpFile, 8, kParameters, kOptions};

}  // namespace ombrix::pal
