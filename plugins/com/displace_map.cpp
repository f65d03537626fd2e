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

// The factor 1/3 rounded to double precision. The displacement h = (r + g + b) x (1/3) x k and
// the displaced point x + h x cx are computed in double precision and rounded to single
// precision only when handed to the sampler; for a white map under the defaults h is
// 51.00000075995922, so the point lies a fraction of a millionth off the pixel 51 before, and
// near column or row 0 that fraction survives the rounding and shows in the interpolation.
constexpr double kOneThird = 1.0 / 3.0;

int32_t ApplyDisplaceMap(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const float dx = ParameterValue(*context, 3);
  const float dy = ParameterValue(*context, 4);
  const double cx = ParameterValue(*context, 5);
  const double cy = ParameterValue(*context, 6);
  const double k = ParameterValue(*context, 8);
  const bool negative = OptionSet(*context, 6);
  const Addressing addressing = AddressingOf(*context);
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

  return RunWithSecondPicture(*context, PictureSlot::kOfDisplaceMap, [&](const SecondPicture& second) {
    return WalkWithSampleRows(*zone, second, addressing, dx, dy, negative,
                              [&](int32_t y, uint8_t* p, const uint8_t* s, int32_t count) {
                                // A local: the byte stores below cannot then alias its row table or sizes.
                                const BilinearSampler sampler = source;
                                const double row = double(y);
                                const double* const hx = shift_x.data();
                                const double* const hy = shift_y.data();
                                for (int32_t x = zone->x0, end = zone->x0 + count; x < end; ++x, p += 3, s += 3) {
                                  const int32_t sum = int32_t(s[0]) + s[1] + s[2];
                                  sampler.SampleWrapped(float(double(x) + hx[sum]), float(row + hy[sum]), p);
                                }
                              });
  });
}

const ParameterRow kParameters[] = {
    {1, "Picture Name", "(none)", "", kKindPictureFile},
    {3, "X Offset", "0", "0", kKindHorizontal},
    {4, "Y Offset", "0", "0", kKindVertical},
    {5, "X Coef.", "-1", "0", kKindReal},
    {6, "Y Coef.", "-1", "0", kKindReal},
    {8, "Stretch Coef", "0.2", "0.0", kKindReal},
};
const OptionRow kOptions[] = {
    {6, "Negative", 0, 1},
    {8, "Normal", 1, 2},
    {9, "Stretch", 0, 2},
    {10, "Repeat", 0, 2},
};

}  // namespace

const CatalogueRow kDisplaceMap = {"Displace Map", ApplyDisplaceMap, kHelpFile, 3, kParameters, kOptions};

}  // namespace ombrix::com
