// Fade: mixes the picture with a solid colour along the filter's frame range, "In" from the
// picture to the colour, "Out" from the colour to the picture.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kColour = 2 };
enum Option : int32_t { kIn = 2, kOut = 3 };

// c + truncate(delta / n * s), stored as a byte; the division is floating and the product with
// s is taken before truncation.
uint8_t Toward(int32_t c, int32_t delta, int64_t n, long double s) {
  const long double moved = static_cast<long double>(delta) / static_cast<long double>(n) * s;
  return uint8_t(c + WrapToByte(moved));
}

// One channel c of a pixel at frame offset s of a fade over n frames to the colour channel k.
// A fade whose start frame equals its end frame (n = 0) has no frames to spread over: once s is
// past the start it is complete ("In" shows the colour, "Out" the picture), before the start it
// has not begun ("In" shows the picture, "Out" the colour).
uint8_t FadeChannel(int32_t c, int32_t k, int64_t s, int64_t n, bool fade_in) {
  if (fade_in) {
    if (s == n) return uint8_t(k);
    if (n == 0) return uint8_t(s > 0 ? k : c);
    return s >= 0 ? Toward(c, k - c, n, s) : Toward(k, c - k, n, -static_cast<long double>(s));
  }
  if (s == 0) return uint8_t(k);
  if (n == 0) return uint8_t(s > 0 ? c : k);
  return s > 0 ? Toward(k, c - k, n, s) : Toward(c, k - c, n, -static_cast<long double>(s));
}

int32_t ApplyFade(const ApplyContext& context, const Zone zone) {
  if (context.descriptor == nullptr) return 1;
  const auto colour = ReadColour(context, kColour);
  if (!colour) return 1;
  const bool fade_in = OptionSet(context, kIn);
  const int64_t s = context.frame_offset;
  const int64_t n = int64_t(context.descriptor->end_frame) - context.descriptor->start_frame;
  if ((s == 0 && fade_in) || (s == n && OptionSet(context, kOut))) return 1;
  uint8_t table[3][256];
  const uint8_t target[3] = {colour->blue, colour->green, colour->red};
  for (int ch = 0; ch < 3; ++ch)
    for (int32_t c = 0; c < 256; ++c) table[ch][c] = FadeChannel(c, target[ch], s, n, fade_in);
  return ForEachWorkPixel(zone, [&](uint8_t* p) {
    p[kBlue] = table[kBlue][p[kBlue]];
    p[kGreen] = table[kGreen][p[kGreen]];
    p[kRed] = table[kRed][p[kRed]];
  });
}

const ParameterRow kParameters[] = {
    {kColour, "Color", "0 0 0", "0 0 0", kKindColour},
};
const OptionRow kOptions[] = {
    {kIn, "In", 1, 1},
    {kOut, "Out", 0, 1},
};

}  // namespace

const CatalogueRow kFade = {"Fade", ApplyInZone<ApplyFade>, kHelpFile, 4, kParameters, kOptions};

}  // namespace ombrix::pal
