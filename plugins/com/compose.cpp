// Compose: lays the second picture over the zone, keyed by a neutral colour within a tolerance,
// weighted by its alpha plane and by a transparency.
//
// Precision: the offsets are truncated to integers, so in Normal and Repeat modes the sample
// point is a whole pixel (exact in single precision up to 2^24) and no interpolation happens;
// Repeat hands that point to the wrap-around samplers. Stretch multiplies it by the scale
// factor, rounded once to single precision. The opacity is a double, the weight its product
// with the alpha byte in double precision, truncated.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/com/com_filters.h"
#include "plugins/com/composition_frame.h"

namespace ombrix::com {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kXOffset = 2, kYOffset = 3, kTransparency = 4, kNeutralColour = 5, kThreshold = 6 };
enum Option : int32_t { kUseTransparencyColour = 2, kSolidBloc = 3, kUseAlphaLayer = 4, kNegative = 6 };

struct ComposeSettings {
  int64_t dx = 0;  // offsets truncated to integers
  int64_t dy = 0;
  double opacity = 1.0;
  Colour neutral;
  int64_t threshold = 0;
  bool keyed = true;      // "Use transparency color" (else "Solid Bloc", always mixed)
  bool use_alpha = true;  // "Use Alpha Layer"
  bool negative = false;
  Addressing addressing = Addressing::kNormal;
};

ComposeSettings ReadSettings(const ApplyContext& context) {
  ComposeSettings s;
  s.dx = TruncateToInt(ParameterValue(context, kXOffset));
  s.dy = TruncateToInt(ParameterValue(context, kYOffset));
  // Opacity 1 - 0.01 x Transparency in double precision: 100 % gives exactly 0.
  s.opacity = 1.0 - 0.01 * double(ParameterValue(context, kTransparency));
  // A neutral colour that cannot be read (a host passing too few slots) keys on black.
  s.neutral = ReadColour(context, kNeutralColour).value_or(Colour{});
  s.threshold = TruncateToInt(ParameterValue(context, kThreshold));
  s.keyed = FirstSetOption(context, {kUseTransparencyColour, kSolidBloc}) == kUseTransparencyColour;
  s.use_alpha = OptionSet(context, kUseAlphaLayer);
  s.negative = OptionSet(context, kNegative);
  s.addressing = AddressingOf(context);
  return s;
}

// The weight of the sample: k = truncate(alpha x opacity), the product in double precision.
// A transparency outside 0..100 % (reached through a per-frame step) would give a weight outside
// 0..255 and wrap the mixed bytes into unrelated colours; the weight is kept in 0..255 instead,
// so beyond 100 % the sample is invisible and below 0 % it is laid fully.
int32_t Weight(int32_t alpha, double opacity) { return std::clamp(TruncateToInt(alpha * opacity), 0, 255); }

// (c x 256 + k x (s - c)) >> 8, arithmetic shift; with k in 0..255 the result stays in 0..255.
uint8_t Mix(int32_t c, int32_t s, int32_t k) { return uint8_t((c * 256 + k * (s - c)) >> 8); }

int32_t ApplyCompose(const ApplyContext& context, const Zone zone) {
  const ComposeSettings settings = ReadSettings(context);
  return RunWithSecondPicture(context, PictureSlot::kOfCompose, [&](const SecondPicture& second) {
    const bool alpha_plane = settings.use_alpha && second.picture.ExtraPlane() != nullptr;
    const int32_t red = settings.neutral.red, green = settings.neutral.green, blue = settings.neutral.blue;
    const int64_t t = settings.threshold;
    const bool keyed = settings.keyed;
    // The weight of every alpha value, worked out once per call.
    int32_t weight_of[256];
    for (int32_t a = 0; a < 256; ++a) weight_of[a] = Weight(a, settings.opacity);
    // Normal and Repeat sample at (x + dx, y + dy), Repeat with the wrap-around samplers; Stretch
    // scales the point.
    const SecondRows samples(second.picture, second.scale_x, second.scale_y, settings.addressing,
                             RepeatSampling::kWrapAroundSampler, static_cast<long double>(settings.dx),
                             static_cast<long double>(settings.dy), settings.negative, zone.x0, zone.x1);
    const size_t count = size_t(samples.Columns());
    std::vector<uint8_t> colours(3 * count);
    // Without an alpha plane every pixel weighs as alpha 255.
    std::vector<uint8_t> alphas(count, 255);
    return WalkRows(zone, [&](int32_t y, uint8_t* p) {
      samples.Colours(y, colours.data());
      if (alpha_plane) samples.Alphas(y, alphas.data());
      const uint8_t* s = colours.data();
      const uint8_t* a = alphas.data();
      for (size_t i = 0; i < count; ++i, p += 3, s += 3) {
        // Keyed: transparent within 2T in red, T in green and 4T in blue of the neutral colour.
        if (keyed && std::abs(int64_t(s[kRed]) - red) <= 2 * t && std::abs(int64_t(s[kGreen]) - green) <= t &&
            std::abs(int64_t(s[kBlue]) - blue) <= 4 * t)
          continue;
        const int32_t k = weight_of[a[i]];
        const uint8_t p0 = p[0], p1 = p[1], p2 = p[2];
        p[0] = Mix(p0, s[0], k);
        p[1] = Mix(p1, s[1], k);
        p[2] = Mix(p2, s[2], k);
      }
    });
  });
}

const ParameterRow kParameters[] = {
    {kPictureName, "Picture Name", "(none)", "", kKindPictureFile},
    {kXOffset, "X Offset", "0", "0", kKindHorizontal},
    {kYOffset, "Y Offset", "0", "0", kKindVertical},
    {kTransparency, "Transparency", "0 %", "0 %", kKindPercentage},
    {kNeutralColour, "Neutral Color", "0 0 255", "0 0 0", kKindColour},
    {kThreshold, "Threshold", "0", "0", kKindByteRange},
};
const OptionRow kOptions[] = {
    {kUseTransparencyColour, "Use transparency color", 1, 2},
    {kSolidBloc, "Solid Bloc", 0, 2},
    {kUseAlphaLayer, "Use Alpha Layer", 1, 3},
    {kNegative, "Negative", 0, 5},
    {kNormal, "Normal", 1, 4},
    {kStretch, "Stretch", 0, 4},
    {kRepeat, "Repeat", 0, 4},
};

}  // namespace

const CatalogueRow kCompose = {"Compose", ApplyInZone<ApplyCompose>, kHelpFileLower, 2, kParameters, kOptions};

}  // namespace ombrix::com
