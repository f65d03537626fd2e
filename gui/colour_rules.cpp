// Colour rules: caption colour, lit colour, edge shades.
#include "gui/colour_rules.h"

#include <algorithm>

namespace ombrix::gui {

Colour ButtonTextColour(Colour face) {
  const int mean = (RedOf(face) + GreenOf(face) + BlueOf(face)) / 3;
  return mean >= 128 ? kBlack : kWhite;
}

Colour LitColour(Colour face) {
  int channel[3] = {RedOf(face), GreenOf(face), BlueOf(face)};
  bool raised[3] = {false, false, false};
  // Each test sees the channels as they stand after the earlier tests, so once red has become
  // 255 green can only follow when it is 255 itself.
  for (int i = 0; i < 3; ++i) {
    const int a = channel[(i + 1) % 3];
    const int b = channel[(i + 2) % 3];
    if (channel[i] >= a && channel[i] >= b) {
      channel[i] = 255;
      raised[i] = true;
    }
  }
  // c + c/3 exceeds 255 from c = 192 on; such a channel is held at 255 rather than wrapped into
  // a dark value.
  for (int i = 0; i < 3; ++i) {
    if (!raised[i]) channel[i] = std::min(255, channel[i] + channel[i] / 3);
  }
  return MakeColour(channel[0], channel[1], channel[2]);
}

// The thresholds compare the whole 24-bit value; the step itself is applied per channel so that a
// channel near its limit does not carry into (or borrow from) its neighbour. For every colour
// whose channels all lie in 0x40..0xBF this equals adding or subtracting 0x404040 as one integer.
Colour LighterShade(Colour c) {
  c &= 0xFFFFFF;
  if (c >= 0xBFBFBF) return kWhite;
  return MakeColour(std::min(255, RedOf(c) + 0x40), std::min(255, GreenOf(c) + 0x40), std::min(255, BlueOf(c) + 0x40));
}

Colour DarkerShade(Colour c) {
  c &= 0xFFFFFF;
  if (c <= 0x404040) return kBlack;
  return MakeColour(std::max(0, RedOf(c) - 0x40), std::max(0, GreenOf(c) - 0x40), std::max(0, BlueOf(c) - 0x40));
}

}  // namespace ombrix::gui
