// The built-in Truevision Targa reader: uncompressed and run-length true-colour files.
//
// Accepted: colour map type 0; image type 2 (uncompressed) or 10 (run-length); 8, 24 or 32 bits
// per pixel; a descriptor byte below 16 (first row in the file is the bottom row) or from 32 to
// 47 (first row is the top row); width and height from 1 to 65535. Anything else, including
// colour-mapped files, is left to the outside converter.
//
// 24 bits: blue, green, red. 32 bits: blue, green, red and a fourth byte that goes into the
// picture's extra plane. Run-length packets: a header byte with the high bit set is a run of
// (low seven bits + 1) copies of the one pixel that follows; otherwise that many literal
// pixels follow. A packet never continues into the next row: a file whose packet would run past
// the end of its row is refused.
//
// 8 bits without a colour map: a 256-entry table of three bytes per entry (blue, green, red, in
// file order) follows the identification field, and the pixel data (one index byte per pixel,
// packed in run-length packets for type 10) follows the table.
//
// A file that ends before its pixel data does is refused; nothing is ever read past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

class Picture;

namespace ombrix {

struct TargaHeader {
  int id_length = 0;
  int image_type = 0;
  int width = 0;
  int height = 0;
  int bits_per_pixel = 0;
  bool top_down = false;
};

inline constexpr size_t kTargaHeaderBytes = 18;

// The header of the first 18 bytes when the reader accepts it.
std::optional<TargaHeader> ParseTargaHeader(const uint8_t* data, size_t size);
// Reads a whole Targa file held in memory into picture (1), or resets picture and returns 0.
int DecodeTarga(const uint8_t* data, size_t size, Picture* picture);
// Reads the file at path; 0 (picture reset) when it is not a Targa file this reader takes.
int ReadTargaFile(const char* path, Picture* picture);
// Whether the file's header is one the reader accepts (its pixel data is not checked).
bool IsAcceptedTargaFile(const char* path);

}  // namespace ombrix
