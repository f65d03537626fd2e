// Displace Map: the brightness of the second picture moves each pixel of the zone, which takes
// the INPUT picture's colour at the displaced point.
#include <array>
#include <cstdint>

#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "core/kit/samplers.h"
#include "plugins/com/com_filters.h"
#include "plugins/com/composition_frame.h"

namespace ombrix::com {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kXOffset = 3, kYOffset = 4, kXCoefficient = 5, kYCoefficient = 6, kStretchCoefficient = 8 };
enum Option : int32_t { kNegative = 6 };

// The factor 1/3 rounded to double precision. The displacement h = (r + g + b) x (1/3) x k and
// the displaced point x + h x cx are computed in double precision and rounded to single
// precision only when handed to the sampler; for a white map under the defaults h is
// 51.00000075995922, so the point lies a fraction of a millionth off the pixel 51 before, and
// near column or row 0 that fraction survives the rounding and shows in the interpolation.
constexpr double kOneThird = 1.0 / 3.0;

int32_t ApplyDisplaceMap(const ApplyContext& context, const Zone zone) {
  const float dx = ParameterValue(context, kXOffset);
  const float dy = ParameterValue(context, kYOffset);
  const double cx = ParameterValue(context, kXCoefficient);
  const double cy = ParameterValue(context, kYCoefficient);
  const double k = ParameterValue(context, kStretchCoefficient);
  const bool negative = OptionSet(context, kNegative);
  const Addressing addressing = AddressingOf(context);
  const Picture* input = InputPicture();
  // Nothing to displace from: a host fault, reported as a failed apply.
  if (input == nullptr || input->IsEmpty() || input->Width() < 1 || input->Height() < 1) return 0;

  // The displacement depends on the map sample's channel sum only: h x cx and h x cy for every
  // sum 0..765, each computed as the pixel would compute it.
  std::array<double, 766> shift_x, shift_y;
  for (int32_t sum = 0; sum <= 765; ++sum) {
    const double h = double(sum) * kOneThird * k;
    shift_x[size_t(sum)] = h * cx;
    shift_y[size_t(sum)] = h * cy;
  }
  const BilinearSampler source(*input);

  return RunWithSecondPicture(context, PictureSlot::kOfDisplaceMap, [&](const SecondPicture& second) {
    return WalkWithSampleRows(zone, second, addressing, dx, dy, negative,
                              [&](int32_t y, uint8_t* p, const uint8_t* s, int32_t count) {
                                // A local: the byte stores below cannot then alias its row table or sizes.
                                const BilinearSampler sampler = source;
                                const double row = double(y);
                                const double* const hx = shift_x.data();
                                const double* const hy = shift_y.data();
                                for (int32_t x = zone.x0, end = zone.x0 + count; x < end; ++x, p += 3, s += 3) {
                                  const int32_t sum = int32_t(s[0]) + s[1] + s[2];
                                  sampler.SampleWrapped(float(double(x) + hx[sum]), float(row + hy[sum]), p);
                                }
                              });
  });
}

const ParameterRow kParameters[] = {
    {kPictureName, "Picture Name", "(none)", "", kKindPictureFile},
    {kXOffset, "X Offset", "0", "0", kKindHorizontal},
    {kYOffset, "Y Offset", "0", "0", kKindVertical},
    {kXCoefficient, "X Coef.", "-1", "0", kKindReal},
    {kYCoefficient, "Y Coef.", "-1", "0", kKindReal},
    {kStretchCoefficient, "Stretch Coef", "0.2", "0.0", kKindReal},
};
const OptionRow kOptions[] = {
    {kNegative, "Negative", 0, 1},
    {kNormal, "Normal", 1, 2},
    {kStretch, "Stretch", 0, 2},
    {kRepeat, "Repeat", 0, 2},
};

}  // namespace

const CatalogueRow kDisplaceMap = {"Displace Map", ApplyInZone<ApplyDisplaceMap>, kHelpFile, 3, kParameters, kOptions};

}  // namespace ombrix::com
