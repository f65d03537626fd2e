// Frame reading and writing: the direct PNG and TIFF paths, GraphicsMagick for everything else.
#include <Magick++.h>

#include <cctype>
#include <cstring>

#include "core/platform/file_system.h"
#include "core/platform/files.h"
#include "tools/ombrix-render/direct_frames.h"
#include "tools/ombrix-render/frame.h"
#include "tools/picture-reader/read_picture.h"

namespace ombrix::render {
namespace {

// The picture format a file name asks for, by its extension (PNG when there is none).
std::string FormatForPath(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "PNG";
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = char(std::toupper(static_cast<unsigned char>(c)));
  if (ext == "TIF") return "TIFF";
  if (ext == "JPG") return "JPEG";
  return ext;
}

}  // namespace

bool FormatHoldsAlpha(const std::string& path) {
  const std::string format = FormatForPath(path);
  for (const char* opaque : {"JPEG", "JPE", "JFIF", "PPM", "PGM", "PBM", "PNM"})
    if (format == opaque) return false;
  return true;
}

void Frame::Resize(int w, int h) {
  width = w;
  height = h;
  const size_t n = size_t(w) * size_t(h);
  red.assign(n, 0);
  green.assign(n, 0);
  blue.assign(n, 0);
  alpha.assign(n, 255);
}

// The picture library would install signal handlers of its own that end the process on Ctrl-C;
// the host handles Ctrl-C itself (the frame in progress is dropped, the run stops cleanly).
void StartPictureLibrary(const char* program_path) {
  MagickLib::ExceptionInfo exception;
  MagickLib::GetExceptionInfo(&exception);
  MagickLib::InitializeMagickEx(program_path, MAGICK_OPT_NO_SIGNAL_HANDER, &exception);
  MagickLib::DestroyExceptionInfo(&exception);
  picture_reader::LimitPictureSizes();
}

bool ReadFrame(const std::string& path, Frame& frame, std::string& error, picture_reader::ReadNotes* notes) {
  if (!platform::CanOpenForReading(path.c_str())) {
    error = "cannot open \"" + path + "\"";
    return false;
  }
  // A file the direct decoders cannot read whole goes to GraphicsMagick all the same: it reads
  // over some damage, and says what it met in the notes or in its error.
  SourceFacts facts;
  if (ReadFrameDirectly(path, frame, facts)) {
    if (notes != nullptr)
      picture_reader::NoteRgb8Changes(facts.bits_per_sample, facts.grey, facts.palette_colours, notes);
    return true;
  }
  try {
    Magick::Image image;
    picture_reader::ReadNotes own;
    picture_reader::ReadNotes& found = notes != nullptr ? *notes : own;
    picture_reader::ReadPicture(path, &image, &found);
    if (notes == nullptr && !found.damage.empty()) {
      error = "\"" + path + "\" is damaged: " + found.damage.front();
      return false;
    }
    picture_reader::MakeRgb8(image, &found);
    const int w = int(image.columns()), h = int(image.rows());
    if (w <= 0 || h <= 0 || w > 0xFFFF || h > 0xFFFF) {
      error = "\"" + path + "\" has no usable size";
      return false;
    }
    frame.Resize(w, h);
    frame.has_alpha = image.matte();
    std::vector<uint8_t> rgba(size_t(w) * size_t(h) * 4);
    image.write(0, 0, unsigned(w), unsigned(h), "RGBA", Magick::CharPixel, rgba.data());
    for (size_t i = 0, n = size_t(w) * size_t(h); i < n; ++i) {
      frame.red[i] = rgba[4 * i];
      frame.green[i] = rgba[4 * i + 1];
      frame.blue[i] = rgba[4 * i + 2];
      frame.alpha[i] = frame.has_alpha ? rgba[4 * i + 3] : 255;
    }
    return true;
  } catch (const std::exception& e) {
    error = "cannot read \"" + path + "\": " + e.what();
    return false;
  }
}

bool WriteFrame(const std::string& path, const Frame& frame, std::string& error, const FrameWriteOptions& options) {
  const std::string format = FormatForPath(path);
  if (WritesDirectly(format)) return WriteFrameDirectly(path, format, frame, options, error);
  try {
    const size_t n = size_t(frame.width) * size_t(frame.height);
    std::vector<uint8_t> rgba(n * 4);
    for (size_t i = 0; i < n; ++i) {
      rgba[4 * i] = frame.red[i];
      rgba[4 * i + 1] = frame.green[i];
      rgba[4 * i + 2] = frame.blue[i];
      rgba[4 * i + 3] = frame.alpha[i];
    }
    Magick::Image image(unsigned(frame.width), unsigned(frame.height), "RGBA", Magick::CharPixel, rgba.data());
    image.matte(frame.has_alpha);
    image.depth(8);
    image.magick(format);
    Magick::Blob blob;
    image.write(&blob);
    const std::string data(static_cast<const char*>(blob.data()), blob.length());
    if (!platform::ReplaceFileKeepingAttributes(path.c_str(), data)) {
      error = "cannot write \"" + path + "\": " + std::make_error_code(platform::LastSystemError()).message();
      return false;
    }
    return true;
  } catch (const std::exception& e) {
    error = "cannot write \"" + path + "\": " + e.what();
    return false;
  }
}

}  // namespace ombrix::render
