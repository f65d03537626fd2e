// Black && White: two colours, chosen per pixel by comparing the channel sum with a threshold.
#include "core/kit/filter_steps.h"
#include "core/kit/pixel_math.h"
#include "plugins/pal/pal_filters.h"
#include "plugins/pal/pixel_rows.h"

namespace ombrix::pal {
namespace {

using namespace ombrix::kit;

enum Slot : int32_t { kFirstColour = 1, kSecondColour = 2, kMiddle = 4 };

int32_t ApplyBlackAndWhite(const ApplyContext& context, const Zone zone) {
  const auto dark = ReadColour(context, kFirstColour);
  const auto light = ReadColour(context, kSecondColour);
  if (!dark || !light) return 1;  // a colour that cannot be read leaves the picture as it is
  const int64_t threshold = int64_t(TruncateToInt(ParameterValue(context, kMiddle))) * 3;
  // The colour of every channel sum.
  uint32_t colours[766];
  for (int32_t sum = 0; sum < 766; ++sum)
    colours[sum] = sum < threshold ? PackColour(dark->blue, dark->green, dark->red)
                                   : PackColour(light->blue, light->green, light->red);
  const size_t count = size_t(zone.Width() > 0 ? zone.Width() : 0);
  return WalkRows(zone, [&](int32_t, uint8_t* p) { ColourByIndexRow(p, count, ColourIndex::kSum, colours); });
}

// "\260" is byte 0xB0, the degree sign of the Windows Latin-1 code page, followed by the digit.
const ParameterRow kParameters[] = {
    {kFirstColour, "Color n\2601", "0 0 0", "0 0 0", kKindColour},
    {kSecondColour, "Color n\2602", "255 255 255", "0 0 0", kKindColour},
    {kMiddle, "Middle", "128", "0", kKindByteRange},
};

}  // namespace

const CatalogueRow kBlackAndWhite = {"Black && White", ApplyInZone<ApplyBlackAndWhite>, kHelpFile, 1, kParameters, {}};

}  // namespace ombrix::pal
