// A picture held as four planes of one byte per sample (red, green, blue, alpha), row 0 at the
// top: the layout a renderer's buffer lines hand on. The direct PNG and TIFF codecs decode into
// such planes and encode from them, one row at a time, without a whole interleaved copy.
#pragma once

#include <cstdint>
#include <functional>

namespace ombrix {

// Where the pixels of a picture go or come from; each plane holds width * height bytes.
struct PicturePlanes {
  int width = 0;
  int height = 0;
  bool has_alpha = false;  // the alpha plane carries the picture's alpha; otherwise it is all 255
  uint8_t* planes[4] = {nullptr, nullptr, nullptr, nullptr};
};

// Asked once by a decoder, with the picture's size and whether it has alpha, for the planes to
// decode into; false (or a null plane) stops the decoding.
using PlaneAllocator = std::function<bool(int width, int height, bool has_alpha, PicturePlanes& planes)>;

// What a decoder found in the file, for the messages about what was reduced or expanded.
struct SourceFacts {
  int bits_per_sample = 8;  // of the file's samples (palette files: of their colour entries)
  bool grey = false;        // grey samples, expanded to red, green and blue
  bool palette = false;     // palette indices, expanded to their colours
  int palette_colours = 0;  // the palette's entries
  bool has_alpha = false;
};

// Interleaving and splitting of one row: rgb(a) samples to and from the planes' row y.
void SplitRow(const uint8_t* interleaved, int channels, const PicturePlanes& planes, int y);
void JoinRow(const PicturePlanes& planes, int y, int channels, uint8_t* interleaved);

}  // namespace ombrix
