// Reading any picture file GraphicsMagick knows, plus headerless DIB files, and naming its format.
#pragma once

#include <Magick++.h>

#include <string>

namespace im_pp {

struct PictureFacts {
  std::string format_word;  // BMP, RLE, OS2, PCX, GIF, TIF, JPG, ICO, WMF, or GraphicsMagick's own name
  int bits_per_pixel = 0;
};

// Limits GraphicsMagick to pictures a Picture can hold (at most 65535 pixels on a side) and
// to a bounded number of pixels.
void LimitPictureSizes();

// Reads the first frame of the picture at path into image. Throws Magick::Exception (or
// std::runtime_error) with a readable message when the file cannot be read.
void ReadPicture(const std::string& path, Magick::Image* image);

// The report's Format word and bits per pixel of a picture read by ReadPicture.
PictureFacts DescribePicture(const std::string& path, Magick::Image& image);

}  // namespace im_pp
