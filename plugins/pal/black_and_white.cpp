// Black && White: two colours, chosen per pixel by comparing the channel sum with a threshold.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

int32_t ApplyBlackAndWhite(ApplyContext* context) {
  const auto zone = ZoneOf(context);
  if (!zone) return 1;
  const auto dark = ReadColour(*context, 1);
  const auto light = ReadColour(*context, 2);
  if (!dark || !light) return 1;  // a colour that cannot be read leaves the picture as it is
  const int64_t threshold = int64_t(TruncateToInt(ParameterValue(*context, 4))) * 3;
  const uint8_t colours[2][3] = {{light->blue, light->green, light->red}, {dark->blue, dark->green, dark->red}};
  return ForEachWorkPixel(*zone, [&](uint8_t* p) {
    const uint8_t* colour = colours[int32_t(p[0]) + p[1] + p[2] < threshold];
    p[0] = colour[0];
    p[1] = colour[1];
    p[2] = colour[2];
  });
}

// "\260" is byte 0xB0, the degree sign of the Windows Latin-1 code page, followed by the digit.
const ParameterRow kParameters[] = {
    {1, "Color n\2601", "0 0 0", "0 0 0", kKindColour},
    {2, "Color n\2602", "255 255 255", "0 0 0", kKindColour},
    {4, "Middle", "128", "0", kKindByteRange},
};

}  // namespace

const CatalogueRow kBlackAndWhite = {"Black && White", ApplyBlackAndWhite, kHelpFile, 1, kParameters, {}};

}  // namespace ombrix::pal
