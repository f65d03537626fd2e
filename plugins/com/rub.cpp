// Rub: takes brightness from one picture and tint from the other (Tint, Colorize), or keeps the
// darker or the lighter of the pixel and the second picture's sample (Minimum, Maximum).
#include <cstdint>

#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/com/com_filters.h"
#include "plugins/com/composition_frame.h"
#include "plugins/com/rub_intensity.h"

namespace ombrix::com {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kXOffset = 2, kYOffset = 3 };
enum Option : int32_t { kTint = 1, kColorize = 2, kMinimum = 3, kMaximum = 4, kNegative = 6 };

int32_t Sum(const uint8_t* bgr) { return int32_t(bgr[0]) + bgr[1] + bgr[2]; }

void Copy(uint8_t* to, const uint8_t* from) { to[0] = from[0], to[1] = from[1], to[2] = from[2]; }

int32_t ApplyRub(const ApplyContext& context, const Zone zone) {
  const float dx = ParameterValue(context, kXOffset);
  const float dy = ParameterValue(context, kYOffset);
  const int32_t mode = FirstSetOption(context, {kTint, kColorize, kMinimum, kMaximum});
  const bool negative = OptionSet(context, kNegative);
  const Addressing addressing = AddressingOf(context);

  return RunWithSecondPicture(context, PictureSlot::kOfRub, [&](const SecondPicture& second) {
    auto walk = [&](auto&& pixel) { return WalkWithSamples(zone, second, addressing, dx, dy, negative, pixel); };
    switch (mode) {
      case kTint:  // the pixel keeps its tint and takes the sample's intensity.
        return walk([](int32_t, int32_t, uint8_t* p, const uint8_t* s) { SetByteIntensity(p, Mean(s)); });
      case kColorize:  // the sample's tint with the pixel's intensity.
        return walk([](int32_t, int32_t, uint8_t* p, const uint8_t* s) {
          uint8_t c[3];
          Copy(c, s);
          SetByteIntensity(c, Mean(p));
          Copy(p, c);
        });
      case kMinimum:
        return walk([](int32_t, int32_t, uint8_t* p, const uint8_t* s) {
          if (Sum(s) < Sum(p)) Copy(p, s);
        });
      case kMaximum:
        return walk([](int32_t, int32_t, uint8_t* p, const uint8_t* s) {
          if (Sum(p) < Sum(s)) Copy(p, s);
        });
      default:  // no mode set: the frame runs and the pixels stay
        return walk([](int32_t, int32_t, uint8_t*, const uint8_t*) {});
    }
  });
}

const ParameterRow kParameters[] = {
    {kPictureName, "Picture Name", "(none)", "", kKindPictureFile},
    {kXOffset, "X Offset", "0", "0", kKindHorizontal},
    {kYOffset, "Y Offset", "0", "0", kKindVertical},
};
const OptionRow kOptions[] = {
    {kTint, "Tint", 1, 1},       {kColorize, "Colorize", 0, 1}, {kMinimum, "Minimum", 0, 1},
    {kMaximum, "Maximum", 0, 1}, {kNegative, "Negative", 0, 3}, {kNormal, "Normal", 1, 4},
    {kStretch, "Stretch", 0, 4}, {kRepeat, "Repeat", 0, 4},
};

}  // namespace

const CatalogueRow kRub = {"Rub", ApplyInZone<ApplyRub>, kHelpFileLower, 4, kParameters, kOptions};

}  // namespace ombrix::com
