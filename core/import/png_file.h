// PNG files straight to and from picture planes through libpng, a row at a time.
//
// Reading takes every PNG: palette and grey pictures are expanded to red, green and blue, a
// transparency chunk becomes an alpha plane, and 16-bit samples are reduced to 8 bits by
// rounding (v * 255 / 65535 to the nearest, the same values GraphicsMagick gives). Writing gives
// an 8-bit RGB file, or RGBA when the planes carry alpha.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/import/picture_planes.h"

namespace ombrix {

// Whether the bytes start with the PNG signature.
bool IsPngData(const uint8_t* data, size_t size);

// Decodes a whole PNG file held in memory into the planes the allocator hands out. False with a
// one-line reason (damaged or truncated data, a size beyond 65535 pixels on a side); facts may be
// null.
bool DecodePng(const uint8_t* data, size_t size, const PlaneAllocator& allocate, SourceFacts* facts,
               std::string& error);

// The level a render pipeline wants by default: fast, on rows filtered with one cheap filter
// (each byte less its left neighbour's).
inline constexpr int kDefaultPngCompression = 1;

// Encodes the planes as a PNG file appended to out. Level 0 stores the rows unfiltered and
// uncompressed; 1 to 9 are zlib's levels (9: smallest, slowest), 1 with zlib's run-length
// strategy; up to 5 every row has the left-neighbour filter, from 6 on each row the filter that
// suits it best, as other PNG writers do.
bool EncodePng(const PicturePlanes& planes, int compression_level, std::string& out, std::string& error);

}  // namespace ombrix
