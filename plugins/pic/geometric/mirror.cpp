// Mirror: copies one side of a mirror line (a column or a row) onto the other, each copied pixel
// scaled by a factor per channel.
#include "plugins/pic/pic_filters.h"
#include "plugins/pic/pic_helpers.h"

namespace ombrix::pic {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kMirrorPosition = 2, kRedFactor = 5, kGreenFactor = 6, kBlueFactor = 7 };
enum Option : int32_t { kVertical = 1, kHorizontal = 2, kFirstHalf = 3, kSecondHalf = 4 };

int32_t ApplyMirror(const ApplyContext& context, const Zone zone, const HostPictures pictures) {
  const int32_t m = TruncateToInt(ParameterValue(context, kMirrorPosition));
  if (m < 1) return 1;
  // clamp(truncate(c * f)) per channel, tabulated.
  uint8_t scaled[3][256];
  const float factor[3] = {ParameterValue(context, kBlueFactor), ParameterValue(context, kGreenFactor),
                           ParameterValue(context, kRedFactor)};
  for (int ch = 0; ch < 3; ++ch)
    for (int32_t c = 0; c < 256; ++c) scaled[ch][c] = Clamp(TruncateToInt(static_cast<long double>(c) * factor[ch]));
  const bool horizontal = FirstSetOption(context, {kVertical, kHorizontal}) == kHorizontal;
  const bool second_half = FirstSetOption(context, {kFirstHalf, kSecondHalf}) == kSecondHalf;
  auto copy = [&](int64_t sx, int64_t sy, int64_t tx, int64_t ty) {
    if (!pictures.InsideInput(tx, ty)) return;
    static const uint8_t kBlack[3] = {0, 0, 0};
    const uint8_t* s = pictures.InsideInput(sx, sy) ? PixelAt(pictures.out, sx, sy) : kBlack;
    uint8_t* t = PixelAt(pictures.out, tx, ty);
    t[0] = scaled[0][s[0]], t[1] = scaled[1][s[1]], t[2] = scaled[2][s[2]];
  };
  StartProgress(0, m);
  for (int64_t k = 0; k < m; ++k) {
    if (k % 10 == 0 && !Continue(int32_t(k))) return 0;
    const int64_t source = second_half ? m + k : m - k;
    const int64_t target = second_half ? m - k : m + k;
    if (!horizontal) {
      for (int64_t y = zone.y0; y < zone.y1; ++y) copy(source, y, target, y);
    } else {
      for (int64_t x = zone.x0; x < zone.x1; ++x) copy(x, source, x, target);
    }
  }
  return 1;
}

const ParameterRow kParameters[] = {
    {kMirrorPosition, "Mirror Position", "100", "0", kKindHorizontal},
    {kRedFactor, "Red Factor", "1", "0.0", kKindReal},
    {kGreenFactor, "Green Factor", "1", "0.0", kKindReal},
    {kBlueFactor, "Blue Factor", "1", "0.0", kKindReal},
};
const OptionRow kOptions[] = {
    {kVertical, "Vertical", 1, 1},
    {kHorizontal, "Horizontal", 0, 1},
    {kFirstHalf, "First half", 1, 2},
    {kSecondHalf, "Second half", 0, 2},
};

}  // namespace

const CatalogueRow kMirror = {"Mirror", ApplyWithPictures<ApplyMirror>, kHelpFile, 17, kParameters, kOptions};

}  // namespace ombrix::pic
