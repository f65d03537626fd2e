// TIFF files straight to and from picture planes through libtiff, a row at a time.
//
// The reader takes the layouts render pipelines write: one page of strips, samples interleaved,
// 8 or 16 bits of unsigned integer per sample, RGB or grey (minimum is black) with at most an
// unassociated (or unspecified) alpha, top-left origin, and no compression, LZW, deflate or PackBits. Grey is
// expanded to red, green and blue; 16-bit samples are reduced to 8 bits by rounding, as in the
// PNG reader. Any other TIFF file (palette, CMYK, YCbCr, JPEG-compressed, tiled, planar,
// premultiplied alpha, several pages, floating point) is left to the general picture reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/import/picture_planes.h"

namespace ombrix {

// Whether the bytes start with a TIFF header (either byte order, classic or big TIFF).
bool IsTiffData(const uint8_t* data, size_t size);

enum class TiffDecode {
  kDecoded,
  kNotTaken,  // a valid layout this reader leaves to the general reader
  kFailed,    // damaged or truncated data
};

TiffDecode DecodeTiff(const uint8_t* data, size_t size, const PlaneAllocator& allocate, SourceFacts* facts,
                      std::string& error);

enum class TiffCompression { kNone, kLzw, kDeflate };

// "none", "lzw" or "deflate"; false for any other word.
bool ParseTiffCompression(const std::string& word, TiffCompression& compression);

// Encodes the planes as an 8-bit RGB (or RGBA, unassociated alpha) TIFF file appended to out.
// LZW and deflate predict each sample from its left neighbour, which suits photographs.
bool EncodeTiff(const PicturePlanes& planes, TiffCompression compression, std::string& out, std::string& error);

}  // namespace ombrix
