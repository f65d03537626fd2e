// Picture reading for Im_pp and ombrix-render: GraphicsMagick with size limits, headerless DIBs
// wrapped into bitmap files, the format words the picture report uses, and the way to sRGB.
#include "tools/picture-reader/read_picture.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <stdexcept>

namespace ombrix::picture_reader {
namespace {

// Pictures are at most 65535 pixels on a side; beyond about 200 million pixels the pixel cache
// alone would need gigabytes, so such files are refused rather than read.
constexpr int64_t kMaxSide = 65535;
constexpr int64_t kMaxPixels = 200'000'000;
constexpr size_t kHeadBytes = 64;

uint32_t U32(const std::string& b, size_t at) {
  if (at + 4 > b.size()) return 0;
  return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 | uint32_t(uint8_t(b[at + 2])) << 16 |
         uint32_t(uint8_t(b[at + 3])) << 24;
}

uint16_t U16(const std::string& b, size_t at) {
  if (at + 2 > b.size()) return 0;
  return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

void PutU32(std::string* b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b->push_back(char((v >> (8 * i)) & 0xFF));
}

// Up to `limit` bytes from the start of the file (all of it when limit is 0).
std::optional<std::string> ReadBytes(const std::string& path, size_t limit) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  std::string data;
  char buffer[65536];
  bool failed = false;
  while (limit == 0 || data.size() < limit) {
    size_t want = sizeof buffer;
    if (limit != 0 && limit - data.size() < want) want = limit - data.size();
    const size_t got = std::fread(buffer, 1, want, file);
    data.append(buffer, got);
    if (got < want) {
      failed = std::ferror(file) != 0;
      break;
    }
  }
  std::fclose(file);
  if (failed) return std::nullopt;
  return data;
}

bool IsBitmapHeaderSize(uint32_t size) {
  return size == 12 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 || size == 124;
}

// What a bitmap information header at `at` says: its size, bit count and compression.
struct BitmapHeader {
  uint32_t size = 0;
  int planes = 0;
  int bits = 0;
  uint32_t compression = 0;
  uint32_t colours_used = 0;
};

BitmapHeader ReadBitmapHeader(const std::string& b, size_t at) {
  BitmapHeader h;
  h.size = U32(b, at);
  if (h.size == 12) {
    h.planes = U16(b, at + 8);
    h.bits = U16(b, at + 10);
  } else {
    h.planes = U16(b, at + 12);
    h.bits = U16(b, at + 14);
    h.compression = U32(b, at + 16);
    h.colours_used = U32(b, at + 32);
  }
  return h;
}

// A DIB file without the 14-byte file header: it starts with a bitmap information header of a
// known size, one plane and a bit count a bitmap can have.
bool IsHeaderlessDib(const std::string& head) {
  if (head.size() < 16 || head.compare(0, 2, "BM") == 0) return false;
  const BitmapHeader h = ReadBitmapHeader(head, 0);
  const bool known_bits = h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24 || h.bits == 32;
  return IsBitmapHeaderSize(h.size) && h.size != 64 && h.planes == 1 && known_bits;
}

// Puts a file header in front of a headerless DIB, so it reads as a bitmap file.
std::string WrapDib(const std::string& dib) {
  const BitmapHeader h = ReadBitmapHeader(dib, 0);
  const uint32_t entry = h.size == 12 ? 3 : 4;
  uint64_t table = 0;
  if (h.bits <= 8) {
    table = uint64_t(h.colours_used != 0 ? h.colours_used : 1u << h.bits) * entry;
  } else {
    table = uint64_t(h.colours_used) * 4;
    if (h.compression == 3 && h.size == 40) table += 12;  // the three masks follow the header
  }
  const uint64_t offset = 14 + uint64_t(h.size) + table;
  const uint64_t file_size = 14 + uint64_t(dib.size());
  if (offset > UINT32_MAX || file_size > UINT32_MAX) throw std::runtime_error("damaged bitmap header");
  std::string file = "BM";
  PutU32(&file, uint32_t(file_size));
  PutU32(&file, 0);
  PutU32(&file, uint32_t(offset));
  return file + dib;
}

// Raster formats Im_pp hands to GraphicsMagick. Formats that draw text, run interpreters or
// fetch other files (TXT, MVG, SVG, MSL, PS, PDF, URL, ...) are never used, whatever a file
// looks like.
bool IsAllowedFormat(const std::string& format) {
  static const char* const kAllowed[] = {"BMP",   "BMP2", "BMP3", "DIB",  "GIF",  "GIF87", "ICO",   "ICON",  "JPEG",
                                         "JPG",   "PCX",  "DCX",  "PNG",  "PNG8", "PNG24", "PNG32", "PNG48", "PNG64",
                                         "PNG00", "TIFF", "TIF",  "PTIF", "TGA",  "ICB",   "VDA",   "VST",   "WMF",
                                         "PNM",   "PPM",  "PGM",  "PBM",  "PAM",  "SGI",   "SUN",   "RAS",   "PSD",
                                         "WEBP",  "XBM",  "XPM",  "XWD",  "JP2",  "JNG",   "MIFF"};
  for (const char* allowed : kAllowed)
    if (format == allowed) return true;
  return false;
}

// The format of a file: from its first bytes when they say, else from its extension; empty when
// the format is not one Im_pp reads.
std::string FormatOf(const std::string& path, const std::string& data) {
  std::string format;
  if (const char* detected = MagickLib::GetImageMagick(reinterpret_cast<const unsigned char*>(data.data()),
                                                       data.size() < 4096 ? data.size() : 4096))
    format = detected;
  if (format.empty()) {
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
      for (char c : path.substr(dot + 1)) format.push_back(c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c);
      if (format == "JPG" || format == "JPE") format = "JPEG";
      if (format == "TIF") format = "TIFF";
      if (format == "RLE" || format == "OS2") format = "BMP";
    }
  }
  return IsAllowedFormat(format) ? format : std::string();
}

// A library message without its prefix and the source place it names.
std::string CleanMessage(std::string text) {
  if (text.rfind("Magick: ", 0) == 0) text.erase(0, 8);
  const size_t place = text.find(" reported by ");
  if (place != std::string::npos) text.erase(place);
  const size_t empty_name = text.find(" ()");
  if (empty_name != std::string::npos) text.erase(empty_name, 3);
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  return text;
}

// Formats that may hold more than one page or frame.
bool MayHoldPages(const std::string& format) {
  for (const char* f : {"GIF", "GIF87", "TIFF", "TIF", "PTIF", "ICO", "ICON", "DCX", "MIFF", "WEBP"})
    if (format == f) return true;
  return false;
}

// Whether the file holds a second page: its first two are pinged (headers only).
bool HasSecondPage(const std::string& data, const std::string& format) {
  MagickLib::ImageInfo* info = MagickLib::CloneImageInfo(nullptr);
  if (info == nullptr) return false;
  std::snprintf(info->magick, sizeof info->magick, "%s", format.c_str());
  info->subimage = 0;
  info->subrange = 2;
  MagickLib::ExceptionInfo exception;
  MagickLib::GetExceptionInfo(&exception);
  MagickLib::Image* list = MagickLib::PingBlob(info, data.data(), data.size(), &exception);
  const bool more = list != nullptr && MagickLib::GetImageListLength(list) > 1;
  if (list != nullptr) MagickLib::DestroyImageList(list);
  MagickLib::DestroyExceptionInfo(&exception);
  MagickLib::DestroyImageInfo(info);
  return more;
}

bool IsGrey(Magick::Image& image) {
  const Magick::ImageType type = image.type();
  return type == Magick::GrayscaleType || type == Magick::GrayscaleMatteType || type == Magick::BilevelType;
}

}  // namespace

void LimitPictureSizes() {
  MagickLib::SetMagickResourceLimit(MagickLib::WidthResource, kMaxSide);
  MagickLib::SetMagickResourceLimit(MagickLib::HeightResource, kMaxSide);
  MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, kMaxPixels);
}

void ReadPicture(const std::string& path, Magick::Image* image, ReadNotes* notes) {
  // The file is read here and handed to GraphicsMagick from memory, so that nothing in its name
  // ("format:" prefixes, "[frame]" suffixes, pipes) is ever interpreted.
  std::optional<std::string> data = ReadBytes(path, 0);
  if (!data) throw std::runtime_error("cannot open the file");
  std::string format;
  if (IsHeaderlessDib(*data)) {
    *data = WrapDib(*data);
    format = "BMP";
  } else {
    format = FormatOf(path, *data);
  }
  if (format.empty()) throw std::runtime_error("not a picture format Im_pp reads");
  // Only the first frame of an animation, an icon file or a multi-page document.
  image->subImage(0);
  image->subRange(1);
  // Warnings about damaged but readable data leave a picture; the caller decides what they mean.
  image->quiet(false);
  image->magick(format);
  const std::string& bytes = *data;
  const Magick::Blob blob(bytes.data(), bytes.size());
  try {
    image->read(blob);
  } catch (const Magick::Warning& warning) {
    if (notes != nullptr) notes->damage.push_back(CleanMessage(warning.what()));
  }
  if (image->columns() == 0 || image->rows() == 0) throw std::runtime_error("the file holds no picture");
  if (image->columns() > kMaxSide || image->rows() > kMaxSide) throw std::runtime_error("the picture is too large");
  if (notes != nullptr && MayHoldPages(format) && HasSecondPage(*data, format))
    notes->changes.push_back("only its first page or frame is used");
}

void MakeRgb8(Magick::Image& image, ReadNotes* notes) {
  std::vector<std::string> changes;
  const Magick::ColorspaceType space = image.colorSpace();
  if (space == Magick::CMYKColorspace) {
    changes.push_back("converted from CMYK to sRGB");
  } else if (space != Magick::RGBColorspace && space != Magick::GRAYColorspace &&
             space != Magick::TransparentColorspace) {
    changes.push_back("converted to sRGB");
  }
  if (space != Magick::RGBColorspace) image.colorSpace(Magick::RGBColorspace);
  if (notes == nullptr) return;
  notes->changes.insert(notes->changes.end(), changes.begin(), changes.end());
  const bool palette = image.classType() == Magick::PseudoClass && image.colorMapSize() > 0;
  NoteRgb8Changes(int(image.depth()), IsGrey(image), palette ? int(image.colorMapSize()) : 0, notes);
}

void NoteRgb8Changes(int depth, bool grey, int palette_colours, ReadNotes* notes) {
  if (depth > 8) notes->changes.push_back("reduced from " + std::to_string(depth) + " to 8 bits per channel");
  if (grey)
    notes->changes.push_back("expanded from grey to RGB");
  else if (palette_colours > 0)
    notes->changes.push_back("expanded from a palette of " + std::to_string(palette_colours) + " colours to RGB");
}

PictureFacts DescribePicture(const std::string& path, Magick::Image& image) {
  PictureFacts facts;
  const std::string magick = image.magick();
  const std::string head = ReadBytes(path, kHeadBytes).value_or(std::string());
  if (magick == "BMP" || magick == "BMP2" || magick == "BMP3" || magick == "DIB") {
    // The bitmap family is told apart by its own header: OS/2 headers (12 or 64 bytes, or an
    // OS/2 bitmap array), run-length compression (1 or 2), or a plain Windows bitmap.
    const std::string signature = head.substr(0, 2);
    const bool headerless = IsHeaderlessDib(head);
    const BitmapHeader h = ReadBitmapHeader(head, headerless ? 0 : 14);
    const bool os2_signature =
        signature == "BA" || signature == "CI" || signature == "CP" || signature == "IC" || signature == "PT";
    if (os2_signature || h.size == 12 || h.size == 64) {
      facts.format_word = "OS2";
    } else if (h.compression == 1 || h.compression == 2) {
      facts.format_word = "RLE";
    } else {
      facts.format_word = "BMP";
    }
    facts.bits_per_pixel = h.bits;
    if (!os2_signature) return facts;
  } else if (magick == "PCX" || magick == "DCX") {
    facts.format_word = "PCX";
  } else if (magick == "GIF" || magick == "GIF87") {
    facts.format_word = "GIF";
  } else if (magick == "TIFF" || magick == "TIF" || magick == "PTIF") {
    facts.format_word = "TIF";
  } else if (magick == "JPEG" || magick == "JPG") {
    facts.format_word = "JPG";
  } else if (magick == "ICO" || magick == "ICON") {
    facts.format_word = "ICO";
  } else {
    // Formats outside the report's table keep GraphicsMagick's name (PNG, TGA, PPM, ...); the
    // callers show them as an unknown format.
    facts.format_word = magick;
  }
  // Bits per pixel from the picture itself: the index size of a palette picture, else the
  // channels times their depth.
  // A library palette larger than an index byte is no palette of the file (16-bit grey is read
  // as one); such pictures count their channels. CMYK has four.
  const unsigned depth = image.depth() > 0 ? image.depth() : 8;
  const unsigned colours = image.classType() == Magick::PseudoClass ? image.colorMapSize() : 0;
  if (colours > 0 && colours <= 256) {
    facts.bits_per_pixel = colours <= 2 ? 1 : colours <= 16 ? 4 : 8;
  } else {
    const unsigned channels = IsGrey(image) ? 1 : image.colorSpace() == Magick::CMYKColorspace ? 4 : 3;
    facts.bits_per_pixel = int((channels + (image.matte() ? 1 : 0)) * depth);
  }
  return facts;
}

}  // namespace ombrix::picture_reader
