// Picture files the system writes: the uncompressed 24-bit bitmap file and uncompressed Targa.
#pragma once

#include <string>

class Picture;

namespace ombrix {

// A bitmap file: the 14-byte file header ("BM", file size = height * stride + 54, two reserved
// zeros, pixel offset 54), the 40-byte information header (size 40, width, positive height,
// 1 plane, 24 bits, no compression, image size = height * stride, the rest 0), then the rows
// from the bottom row to the top row, each with the picture's own padded row length. Empty for
// an empty picture or one whose size does not fit the header's 32-bit fields.
std::string EncodeBitmapFile(const Picture& picture);
// Writes EncodeBitmapFile to path, replacing any file there atomically. False when the picture
// is empty or the file cannot be written (path is then left as it was).
bool WriteBitmapFile(const Picture& picture, const char* path);

// An uncompressed Targa file (image type 2, no identification field, no colour map), rows from
// the bottom row up (descriptor bit 5 clear). 24 bits: blue, green, red. 32 bits: blue, green,
// red and the picture's extra plane as the fourth (alpha) byte, with descriptor alpha depth 8;
// a picture without an extra plane is written fully opaque (255). Empty for an empty picture or
// a bit count other than 24 or 32.
std::string EncodeTargaFile(const Picture& picture, int bits_per_pixel);
bool WriteTargaFile(const Picture& picture, const char* path, int bits_per_pixel);

}  // namespace ombrix
