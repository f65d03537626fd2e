// A frame as a renderer holds it: four planes of one byte per pixel (red, green, blue, alpha),
// row 0 at the top.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/import/png_file.h"
#include "core/import/tiff_file.h"
namespace ombrix::picture_reader {
struct ReadNotes;
}

namespace ombrix::render {

struct Frame {
  int width = 0;
  int height = 0;
  bool has_alpha = false;  // the source carried an alpha channel; otherwise alpha is all 255
  std::vector<uint8_t> red, green, blue, alpha;

  void Resize(int w, int h);
  uint8_t* Plane(int index) {
    return index == 0 ? red.data() : index == 1 ? green.data() : index == 2 ? blue.data() : alpha.data();
  }
};

// How frames are compressed where the format offers a choice.
struct FrameWriteOptions {
  int png_compression = kDefaultPngCompression;  // zlib level 0 to 9
  TiffCompression tiff_compression = TiffCompression::kNone;
};

// Reads a picture of the formats the picture reader allows, made 8-bit sRGB; PNG and most TIFF
// files through their own libraries. False with a one-line reason. Without notes, damaged data
// (the decoder's warnings) is such a failure; with notes it is left in them for the caller to
// judge, with what the conversion changed.
bool ReadFrame(const std::string& path, Frame& frame, std::string& error, picture_reader::ReadNotes* notes = nullptr);
// Writes the frame in the format its extension names, replacing the file atomically (a
// temporary file beside it, then a rename), with alpha when the frame has one. PNG and TIFF go
// through their own libraries, with the options' compression. An existing output keeps its
// permission bits, and a symbolic link its place: the file it names is replaced. A failure
// names the system's reason.
bool WriteFrame(const std::string& path, const Frame& frame, std::string& error, const FrameWriteOptions& options = {});
// Whether the format the path's extension names keeps an alpha channel (JPEG and the PNM
// formats do not).
bool FormatHoldsAlpha(const std::string& path);
// Starts the picture library; call once before the first read or write.
void StartPictureLibrary(const char* program_path);

}  // namespace ombrix::render
