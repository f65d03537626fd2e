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
#include <type_traits>

#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "core/kit/samplers.h"
#include "plugins/com/com_filters.h"
#include "plugins/com/composition_frame.h"

namespace ombrix::com {
namespace {

using namespace ombrix::kit;

struct ComposeSettings {
  int64_t dx = 0;  // offsets truncated to integers
  int64_t dy = 0;
  double opacity = 1.0;
  Colour neutral;
  int64_t threshold = 0;
  bool keyed = true;      // option 2 "Use transparency color" (else 3 "Solid Bloc", always mixed)
  bool use_alpha = true;  // option 4 "Use Alpha Layer"
  bool negative = false;  // option 6
  Addressing addressing = Addressing::kNormal;
};

ComposeSettings ReadSettings(const ApplyContext& context) {
  ComposeSettings s;
  s.dx = TruncateToInt(ParameterValue(context, 2));
  s.dy = TruncateToInt(ParameterValue(context, 3));
  // Opacity 1 - 0.01 x Transparency in double precision: 100 % gives exactly 0.
  s.opacity = 1.0 - 0.01 * double(ParameterValue(context, 4));
  // A neutral colour that cannot be read (a host passing too few slots) keys on black.
  s.neutral = ReadColour(context, 5).value_or(Colour{});
  s.threshold = TruncateToInt(ParameterValue(context, 6));
  s.keyed = FirstSetOption(context, {2, 3}) == 2;
  s.use_alpha = OptionSet(context, 4);
  s.negative = OptionSet(context, 6);
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

int32_t ApplyCompose(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const ComposeSettings settings = ReadSettings(*context);
  return RunWithSecondPicture(*context, PictureSlot::kOfCompose, [&](const SecondPicture& second) {
    const Picture& picture = second.picture;
    const bool alpha_plane = settings.use_alpha && picture.ExtraPlane() != nullptr;
    const uint8_t flip = settings.negative ? 0xFF : 0x00;
    const Colour n = settings.neutral;
    const int64_t t = settings.threshold;
    // The weight of every alpha value, worked out once per call.
    int32_t weight_of[256];
    for (int32_t a = 0; a < 256; ++a) weight_of[a] = Weight(a, settings.opacity);
    const long double dx = static_cast<long double>(settings.dx);
    const long double dy = static_cast<long double>(settings.dy);
    // One instantiation per addressing mode, so the pixel loop does not test the mode.
    auto walk = [&](auto mode_constant) {
      constexpr Addressing kMode = decltype(mode_constant)::value;
      constexpr AlphaOutside kAlphaOutside = kMode == Addressing::kNormal    ? AlphaOutside::kZero
                                             : kMode == Addressing::kStretch ? AlphaOutside::kOpaque
                                                                             : AlphaOutside::kWrap;
      // Normal and Repeat sample at (x + dx, y + dy), Repeat wrapping in the sampler; Stretch
      // scales the point.
      auto point = [](int32_t position, long double offset, float scale) {
        return kMode == Addressing::kStretch ? StretchPoint(position, offset, scale) : NormalPoint(position, offset);
      };
      return WalkRows(*zone, [&](int32_t y, uint8_t* p) {
        const float v = point(y, dy, second.scale_y);
        for (int32_t x = zone->x0; x < zone->x1; ++x, p += 3) {
          const float u = point(x, dx, second.scale_x);
          uint8_t s[3];
          if constexpr (kMode == Addressing::kRepeat) {
            SampleWrapped(picture, u, v, s);
          } else {
            SampleBilinear(picture, u, v, kBlack, s);
          }
          s[0] ^= flip, s[1] ^= flip, s[2] ^= flip;
          // Keyed: transparent within 2T in red, T in green and 4T in blue of the neutral colour.
          if (settings.keyed && std::abs(int64_t(s[kRed]) - n.red) <= 2 * t &&
              std::abs(int64_t(s[kGreen]) - n.green) <= t && std::abs(int64_t(s[kBlue]) - n.blue) <= 4 * t)
            continue;
          const int32_t k = weight_of[alpha_plane ? SampleAlpha(picture, u, v, kAlphaOutside) : 255];
          p[0] = Mix(p[0], s[0], k);
          p[1] = Mix(p[1], s[1], k);
          p[2] = Mix(p[2], s[2], k);
        }
      });
    };
    switch (settings.addressing) {
      case Addressing::kStretch:
        return walk(std::integral_constant<Addressing, Addressing::kStretch>{});
      case Addressing::kRepeat:
        return walk(std::integral_constant<Addressing, Addressing::kRepeat>{});
      default:
        return walk(std::integral_constant<Addressing, Addressing::kNormal>{});
    }
  });
}

const ParameterRow kParameters[] = {
    {1, "Picture Name", "(none)", "", kKindPictureFile},
    {2, "X Offset", "0", "0", kKindHorizontal},
    {3, "Y Offset", "0", "0", kKindVertical},
    {4, "Transparency", "0 %", "0 %", kKindPercentage},
    {5, "Neutral Color", "0 0 255", "0 0 0", kKindColour},
    {6, "Threshold", "0", "0", kKindByteRange},
};
const OptionRow kOptions[] = {
    {2, "Use transparency color", 1, 2},
    {3, "Solid Bloc", 0, 2},
    {4, "Use Alpha Layer", 1, 3},
    {6, "Negative", 0, 5},
    {8, "Normal", 1, 4},
    {9, "Stretch", 0, 4},
    {10, "Repeat", 0, 4},
};

}  // namespace

const CatalogueRow kCompose = {"Compose", ApplyCompose, kHelpFileLower, 2, kParameters, kOptions};

}  // namespace ombrix::com
