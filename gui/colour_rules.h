// Colour rules every window shares: button caption colour, lit colour and the edge shades.
// Colours are 0x00BBGGRR, as the settings store keeps them.
#pragma once

#include <cstdint>

namespace ombrix::gui {

using Colour = uint32_t;

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;

constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr Colour MakeColour(int red, int green, int blue) {
  return static_cast<Colour>(red & 0xFF) | static_cast<Colour>(green & 0xFF) << 8 |
         static_cast<Colour>(blue & 0xFF) << 16;
}

// Black when the mean of the face's red, green and blue (integer division by 3) is 128 or more,
// else white.
Colour ButtonTextColour(Colour face);

// The face of a pressed button: red, then green, then blue, a channel not smaller than the other
// two as they stand at that moment becomes 255; every other channel becomes c + c/3, held at 255.
Colour LitColour(Colour face);

// Lighter and darker shades for raised and sunken edges: c + 0x404040 below 0xBFBFBF (else
// white), c - 0x404040 above 0x404040 (else black), each channel held within 0..255.
Colour LighterShade(Colour c);
Colour DarkerShade(Colour c);

}  // namespace ombrix::gui
