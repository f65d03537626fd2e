// libtiff reader and writer between TIFF files and picture planes, over files held in memory.
#include "core/import/tiff_file.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace ombrix {
namespace {

constexpr uint32_t kMaxSide = 0xFFFF;
// A damaged header may ask libtiff for any amount of memory; no single buffer of a picture
// within the size limit needs more than this.
constexpr tmsize_t kMaxSingleAllocation = tmsize_t(1) << 31;

// The memory a TIFF file is read from or written into; `out` is appended to from `base` on.
struct Stream {
  const uint8_t* data = nullptr;
  size_t size = 0;
  std::string* out = nullptr;
  size_t base = 0;
  uint64_t at = 0;
  char message[200] = {};
};

size_t StreamSize(const Stream* s) { return s->out != nullptr ? s->out->size() - s->base : s->size; }

tmsize_t ReadProc(thandle_t handle, void* target, tmsize_t length) {
  auto* s = static_cast<Stream*>(handle);
  const uint8_t* data = s->out != nullptr ? reinterpret_cast<const uint8_t*>(s->out->data()) + s->base : s->data;
  const size_t size = StreamSize(s);
  if (length <= 0 || s->at >= size) return 0;
  const size_t n = std::min(size_t(length), size_t(size - s->at));
  std::memcpy(target, data + s->at, n);
  s->at += n;
  return tmsize_t(n);
}

tmsize_t WriteProc(thandle_t handle, void* source, tmsize_t length) {
  auto* s = static_cast<Stream*>(handle);
  if (s->out == nullptr || length < 0) return -1;
  try {
    const size_t end = s->base + size_t(s->at) + size_t(length);
    if (s->out->size() < end) s->out->resize(end);
    std::memcpy(s->out->data() + s->base + s->at, source, size_t(length));
  } catch (const std::bad_alloc&) {
    return -1;
  }
  s->at += uint64_t(length);
  return length;
}

toff_t SeekProc(thandle_t handle, toff_t offset, int whence) {
  auto* s = static_cast<Stream*>(handle);
  uint64_t origin = 0;
  if (whence == SEEK_CUR) origin = s->at;
  if (whence == SEEK_END) origin = StreamSize(s);
  s->at = origin + offset;
  return s->at;
}

int CloseProc(thandle_t) { return 0; }
toff_t SizeProc(thandle_t handle) { return StreamSize(static_cast<Stream*>(handle)); }

// Reading maps the whole file, so libtiff takes uncompressed strips without copying them.
int MapProc(thandle_t handle, void** base, toff_t* size) {
  auto* s = static_cast<Stream*>(handle);
  if (s->out != nullptr) return 0;
  *base = const_cast<uint8_t*>(s->data);
  *size = s->size;
  return 1;
}
void UnmapProc(thandle_t, void*, toff_t) {}

// The first error goes into the stream's message instead of the process's standard error.
int OnError(TIFF*, void* user, const char*, const char* format, va_list arguments) {
  auto* s = static_cast<Stream*>(user);
  if (s->message[0] == '\0') std::vsnprintf(s->message, sizeof s->message, format, arguments);
  return 1;
}
int OnWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

TIFF* Open(Stream& stream, const char* mode) {
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (options == nullptr) return nullptr;
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxSingleAllocation);
  TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, &stream);
  TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, &stream);
  TIFF* tif = TIFFClientOpenExt("picture", mode, &stream, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc, MapProc,
                                UnmapProc, options);
  TIFFOpenOptionsFree(options);
  return tif;
}

struct Layout {
  uint32_t width = 0, height = 0;
  int bits = 0;     // 8 or 16
  int samples = 0;  // per pixel in the file: 1 to 4
  bool grey = false;
  bool alpha = false;
};

bool Takes(TIFF* tif, Layout& layout) {
  uint16_t bits = 0, samples = 0, photometric = 0, planar = 0, format = 0, compression = 0, orientation = 0;
  uint16_t extra_count = 0;
  uint16_t* extra = nullptr;
  if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &layout.width) ||
      !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &layout.height) || !TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric))
    return false;
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &format);
  TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
  TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &orientation);
  TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extra_count, &extra);
  if (TIFFIsTiled(tif) || !TIFFLastDirectory(tif) || planar != PLANARCONFIG_CONTIG || format != SAMPLEFORMAT_UINT ||
      orientation != ORIENTATION_TOPLEFT || (bits != 8 && bits != 16))
    return false;
  if (compression != COMPRESSION_NONE && compression != COMPRESSION_LZW && compression != COMPRESSION_ADOBE_DEFLATE &&
      compression != COMPRESSION_DEFLATE && compression != COMPRESSION_PACKBITS)
    return false;
  int colour = 0;
  if (photometric == PHOTOMETRIC_RGB)
    colour = 3;
  else if (photometric == PHOTOMETRIC_MINISBLACK)
    colour = 1;
  else
    return false;
  if (extra_count == 0 && samples == colour) {
    layout.alpha = false;
  } else if (extra_count == 1 && samples == colour + 1 && extra != nullptr &&
             (extra[0] == EXTRASAMPLE_UNASSALPHA || extra[0] == EXTRASAMPLE_UNSPECIFIED)) {
    // An unspecified extra sample is alpha as GraphicsMagick (which writes its own that way)
    // reads it; premultiplied alpha is left to GraphicsMagick.
    layout.alpha = true;
  } else {
    return false;
  }
  layout.bits = bits;
  layout.samples = samples;
  layout.grey = colour == 1;
  return true;
}

// One file row into interleaved 8-bit red, green, blue (and alpha) samples.
void ToRgb(const Layout& layout, const uint8_t* in, uint8_t* out) {
  const int channels = layout.alpha ? 4 : 3;
  const uint32_t n = layout.width;
  auto sample = [&](size_t i) -> uint8_t {
    if (layout.bits == 8) return in[i];
    uint16_t v;
    std::memcpy(&v, in + 2 * i, 2);
    return uint8_t((uint32_t(v) * 255 + 32895) >> 16);  // v * 255 / 65535, rounded to the nearest
  };
  for (uint32_t x = 0; x < n; ++x, out += channels) {
    const size_t at = size_t(x) * size_t(layout.samples);
    if (layout.grey) {
      out[0] = out[1] = out[2] = sample(at);
      if (layout.alpha) out[3] = sample(at + 1);
    } else {
      for (int c = 0; c < channels; ++c) out[c] = sample(at + size_t(c));
    }
  }
}

std::string Reason(const Stream& stream, const char* otherwise) {
  return stream.message[0] != '\0' ? std::string(stream.message) : std::string(otherwise);
}

}  // namespace

bool IsTiffData(const uint8_t* data, size_t size) {
  if (size < 4) return false;
  const bool little = data[0] == 'I' && data[1] == 'I' && (data[2] == 42 || data[2] == 43) && data[3] == 0;
  const bool big = data[0] == 'M' && data[1] == 'M' && data[2] == 0 && (data[3] == 42 || data[3] == 43);
  return little || big;
}

TiffDecode DecodeTiff(const uint8_t* data, size_t size, const PlaneAllocator& allocate, SourceFacts* facts,
                      std::string& error) {
  if (!IsTiffData(data, size)) return TiffDecode::kNotTaken;
  Stream stream;
  stream.data = data;
  stream.size = size;
  TIFF* tif = Open(stream, "r");
  if (tif == nullptr) {
    error = Reason(stream, "damaged TIFF header");
    return TiffDecode::kFailed;
  }
  Layout layout;
  if (!Takes(tif, layout)) {
    TIFFClose(tif);
    return TiffDecode::kNotTaken;
  }
  TiffDecode result = TiffDecode::kDecoded;
  if (layout.width == 0 || layout.height == 0 || layout.width > kMaxSide || layout.height > kMaxSide) {
    error = "the picture is empty or larger than 65535 pixels on a side";
    result = TiffDecode::kFailed;
  }
  try {
    PicturePlanes planes;
    const tmsize_t line = TIFFScanlineSize(tif);
    const bool direct = layout.bits == 8 && !layout.grey;
    if (result == TiffDecode::kDecoded &&
        (line <= 0 || !allocate(int(layout.width), int(layout.height), layout.alpha, planes) ||
         planes.planes[0] == nullptr || planes.planes[1] == nullptr || planes.planes[2] == nullptr ||
         planes.planes[3] == nullptr)) {
      error = Reason(stream, "no room for the picture");
      result = TiffDecode::kFailed;
    }
    std::vector<uint8_t> row(result == TiffDecode::kDecoded ? size_t(line) : 0);
    std::vector<uint8_t> rgb(result == TiffDecode::kDecoded && !direct ? size_t(layout.width) * 4 : 0);
    for (uint32_t y = 0; y < layout.height && result == TiffDecode::kDecoded; ++y) {
      if (TIFFReadScanline(tif, row.data(), y, 0) < 0) {
        error = Reason(stream, "damaged TIFF data");
        result = TiffDecode::kFailed;
        break;
      }
      if (!direct) ToRgb(layout, row.data(), rgb.data());
      SplitRow(direct ? row.data() : rgb.data(), layout.alpha ? 4 : 3, planes, int(y));
    }
  } catch (const std::bad_alloc&) {
    error = "not enough memory for the picture";
    result = TiffDecode::kFailed;
  }
  TIFFClose(tif);
  if (result == TiffDecode::kDecoded && facts != nullptr) {
    facts->bits_per_sample = layout.bits;
    facts->grey = layout.grey;
    facts->palette = false;
    facts->has_alpha = layout.alpha;
  }
  return result;
}

bool ParseTiffCompression(const std::string& word, TiffCompression& compression) {
  if (word == "none")
    compression = TiffCompression::kNone;
  else if (word == "lzw")
    compression = TiffCompression::kLzw;
  else if (word == "deflate")
    compression = TiffCompression::kDeflate;
  else
    return false;
  return true;
}

bool EncodeTiff(const PicturePlanes& planes, TiffCompression compression, std::string& out, std::string& error) {
  if (planes.width <= 0 || planes.height <= 0 || uint32_t(planes.width) > kMaxSide ||
      uint32_t(planes.height) > kMaxSide) {
    error = "no picture to write";
    return false;
  }
  Stream stream;
  stream.out = &out;
  stream.base = out.size();
  TIFF* tif = Open(stream, "w");
  if (tif == nullptr) {
    error = Reason(stream, "cannot start the TIFF file");
    return false;
  }
  const int channels = planes.has_alpha ? 4 : 3;
  const size_t row_bytes = size_t(planes.width) * size_t(channels);
  // Strips of about 256 KB: few enough for little overhead, and each a fair run for LZW and
  // deflate, which restart at every strip.
  const uint32_t rows_per_strip = uint32_t(std::max<size_t>(1, (size_t(1) << 18) / row_bytes));
  const uint16_t codec = compression == TiffCompression::kLzw       ? COMPRESSION_LZW
                         : compression == TiffCompression::kDeflate ? COMPRESSION_ADOBE_DEFLATE
                                                                    : COMPRESSION_NONE;
  bool ok = TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(planes.width)) &&
            TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(planes.height)) &&
            TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8) && TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, channels) &&
            TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB) &&
            TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
            TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) &&
            TIFFSetField(tif, TIFFTAG_COMPRESSION, codec) && TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rows_per_strip);
  if (ok && planes.has_alpha) {
    const uint16_t extra[1] = {EXTRASAMPLE_UNASSALPHA};
    ok = TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
  }
  if (ok && codec != COMPRESSION_NONE) ok = TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
  try {
    std::vector<uint8_t> row(row_bytes);
    for (int y = 0; ok && y < planes.height; ++y) {
      JoinRow(planes, y, channels, row.data());
      ok = TIFFWriteScanline(tif, row.data(), uint32_t(y), 0) >= 0;
    }
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  ok = ok && TIFFWriteDirectory(tif);
  TIFFClose(tif);
  if (!ok) {
    error = Reason(stream, "cannot encode the TIFF file");
    out.resize(stream.base);
  }
  return ok;
}

}  // namespace ombrix
