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

int32_t Sum(const uint8_t* bgr) { return int32_t(bgr[0]) + bgr[1] + bgr[2]; }

void Copy(uint8_t* to, const uint8_t* from) { to[0] = from[0], to[1] = from[1], to[2] = from[2]; }

int32_t ApplyRub(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const float dx = ParameterValue(*context, 2);
  const float dy = ParameterValue(*context, 3);
  const int32_t mode = FirstSetOption(*context, {1, 2, 3, 4});
  const bool negative = OptionSet(*context, 6);
  const Addressing addressing = AddressingOf(*context);

  return RunWithSecondPicture(*context, PictureSlot::kOfRub, [&](const SecondPicture& second) {
    auto walk = [&](auto&& pixel) { return WalkWithSamples(*zone, second, addressing, dx, dy, negative, pixel); };
    switch (mode) {
      case 1:  // Tint: the pixel keeps its tint and takes the sample's intensity.
        return walk([](int32_t, int32_t, uint8_t* p, const uint8_t* s) { SetByteIntensity(p, Mean(s)); });
      case 2:  // Colorize: the sample's tint with the pixel's intensity.
        return walk([](int32_t, int32_t, uint8_t* p, const uint8_t* s) {
          uint8_t c[3];
          Copy(c, s);
          SetByteIntensity(c, Mean(p));
          Copy(p, c);
        });
      case 3:  // Minimum
        return walk([](int32_t, int32_t, uint8_t* p, const uint8_t* s) {
          if (Sum(s) < Sum(p)) Copy(p, s);
        });
      case 4:  // Maximum
        return walk([](int32_t, int32_t, uint8_t* p, const uint8_t* s) {
          if (Sum(p) < Sum(s)) Copy(p, s);
        });
      default:  // no mode set: the frame runs and the pixels stay
        return walk([](int32_t, int32_t, uint8_t*, const uint8_t*) {});
    }
  });
}

const ParameterRow kParameters[] = {
    {1, "Picture Name", "(none)", "", kKindPictureFile},
    {2, "X Offset", "0", "0", kKindHorizontal},
    {3, "Y Offset", "0", "0", kKindVertical},
};
const OptionRow kOptions[] = {
    {1, "Tint", 1, 1},     {2, "Colorize", 0, 1}, {3, "Minimum", 0, 1}, {4, "Maximum", 0, 1},
    {6, "Negative", 0, 3}, {8, "Normal", 1, 4},   {9, "Stretch", 0, 4}, {10, "Repeat", 0, 4},
};

}  // namespace

const CatalogueRow kRub = {"Rub", ApplyRub, kHelpFileLower, 4, kParameters, kOptions};

}  // namespace ombrix::com
