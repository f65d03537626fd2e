// Mirror: copies one side of a mirror line (a column or a row) onto the other, each copied pixel
// scaled by a factor per channel.
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

int32_t ApplyMirror(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto pictures = Pictures();
  if (!pictures) return 1;
  const int32_t m = TruncateToInt(ParameterValue(*context, 2));
  if (m < 1) return 1;
  // clamp(truncate(c * f)) per channel, tabulated.
  uint8_t scaled[3][256];
  const float factor[3] = {ParameterValue(*context, 7), ParameterValue(*context, 6), ParameterValue(*context, 5)};
  for (int ch = 0; ch < 3; ++ch)
    for (int32_t c = 0; c < 256; ++c) scaled[ch][c] = Clamp(TruncateToInt(static_cast<long double>(c) * factor[ch]));
  const bool horizontal = FirstSetOption(*context, {1, 2}) == 2;
  const bool second_half = FirstSetOption(*context, {3, 4}) == 4;
  auto copy = [&](int64_t sx, int64_t sy, int64_t tx, int64_t ty) {
    if (!pictures->InsideInput(tx, ty)) return;
    static const uint8_t kBlack[3] = {0, 0, 0};
    const uint8_t* s = pictures->InsideInput(sx, sy) ? PixelAt(pictures->out, sx, sy) : kBlack;
    uint8_t* t = PixelAt(pictures->out, tx, ty);
    t[0] = scaled[0][s[0]], t[1] = scaled[1][s[1]], t[2] = scaled[2][s[2]];
  };
  StartProgress(0, m);
  for (int64_t k = 0; k < m; ++k) {
    if (k % 10 == 0 && !Continue(int32_t(k))) return 0;
    const int64_t source = second_half ? m + k : m - k;
    const int64_t target = second_half ? m - k : m + k;
    if (!horizontal) {
      for (int64_t y = zone->y0; y < zone->y1; ++y) copy(source, y, target, y);
    } else {
      for (int64_t x = zone->x0; x < zone->x1; ++x) copy(x, source, x, target);
    }
  }
  return 1;
}

const ParameterRow kParameters[] = {
    {2, "Mirror Position", "100", "0", kKindHorizontal},
    {5, "Red Factor", "1", "0.0", kKindReal},
    {6, "Green Factor", "1", "0.0", kKindReal},
    {7, "Blue Factor", "1", "0.0", kKindReal},
};
const OptionRow kOptions[] = {
    {1, "Vertical", 1, 1},
    {2, "Horizontal", 0, 1},
    {3, "First half", 1, 2},
    {4, "Second half", 0, 2},
};

}  // namespace

const CatalogueRow kMirror = {"Mirror", ApplyMirror, kHelpFile, 17, kParameters, kOptions};

}  // namespace ombrix::pic
