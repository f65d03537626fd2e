// The picture reader of Im_pp and ombrix-render: any picture file GraphicsMagick knows among the
// allowed raster formats, plus headerless DIB files; the facts the picture report names; and
// the conversion to 8-bit sRGB with what it changed said in words.
#pragma once

#include <Magick++.h>

#include <string>
#include <vector>

namespace ombrix::picture_reader {

struct PictureFacts {
  std::string format_word;  // BMP, RLE, OS2, PCX, GIF, TIF, JPG, ICO, WMF, or GraphicsMagick's own name
  int bits_per_pixel = 0;
};

// What reading found and changed, one short sentence each.
struct ReadNotes {
  // The decoder's warnings: corrupt or truncated data it read over (the picture may be partly
  // grey or black).
  std::vector<std::string> damage;
  // What the reader did to the picture: the pages it left out, the colour space, depth, grey or
  // palette it converted.
  std::vector<std::string> changes;
};

// Limits GraphicsMagick to pictures a Picture can hold (at most 65535 pixels on a side) and
// to a bounded number of pixels.
void LimitPictureSizes();

// Reads the first frame of the picture at path into image, as stored. Throws Magick::Exception
// (or std::runtime_error) with a readable message when the file cannot be read. Warnings of the
// decoder and further pages go into notes when given.
void ReadPicture(const std::string& path, Magick::Image* image, ReadNotes* notes = nullptr);

// The report's Format word and bits per pixel of a picture read by ReadPicture, as stored (call
// it before MakeRgb8).
PictureFacts DescribePicture(const std::string& path, Magick::Image& image);

// Converts a picture read by ReadPicture to sRGB with 8 bits per channel; says in notes (when
// given) what that changed.
void MakeRgb8(Magick::Image& image, ReadNotes* notes = nullptr);

// Says in notes what making a picture of depth bits per sample, grey or of a palette (0: none)
// 8-bit RGB changed; for pictures other decoders read.
void NoteRgb8Changes(int depth, bool grey, int palette_colours, ReadNotes* notes);

}  // namespace ombrix::picture_reader
