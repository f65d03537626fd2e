// libpng reader and writer between PNG files and picture planes.
//
// libpng reports errors by a long jump back into the function that set its jump buffer. The
// functions that set one (ReadHeader, ReadRows, WriteRows) hold only plain values, so the jump
// skips no destructor; buffers are owned by their callers.
#include "core/import/png_file.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace ombrix {
namespace {

constexpr uint32_t kMaxSide = 0xFFFF;

struct Session {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t at = 0;
  std::string* out = nullptr;
  char message[200] = {};
};

void OnError(png_structp png, png_const_charp text) {
  auto* session = static_cast<Session*>(png_get_error_ptr(png));
  std::snprintf(session->message, sizeof session->message, "%s", text != nullptr ? text : "damaged PNG data");
  png_longjmp(png, 1);
}

// Warnings (an unknown or damaged ancillary chunk) leave the pixels intact.
void OnWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep target, size_t length) {
  auto* session = static_cast<Session*>(png_get_io_ptr(png));
  if (length > session->size - session->at) png_error(png, "the file ends before its picture does");
  std::memcpy(target, session->data + session->at, length);
  session->at += length;
}

void WriteToString(png_structp png, png_bytep data, size_t length) {
  auto* session = static_cast<Session*>(png_get_io_ptr(png));
  bool appended = true;
  try {
    session->out->append(reinterpret_cast<const char*>(data), length);
  } catch (const std::bad_alloc&) {
    appended = false;
  }
  if (!appended) png_error(png, "not enough memory for the file");
}

void Flush(png_structp) {}

struct Header {
  uint32_t width = 0;
  uint32_t height = 0;
  int channels = 0;  // after the transformations: 3 or 4
  bool interlaced = false;
};

bool ReadHeader(png_structp png, png_infop info, Header* header, SourceFacts* facts) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_user_limits(png, kMaxSide, kMaxSide);
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int depth = 0, colour = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colour, &interlace, nullptr, nullptr);
  const bool transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  facts->bits_per_sample = depth;
  facts->palette = colour == PNG_COLOR_TYPE_PALETTE;
  png_colorp entries = nullptr;
  int colours = 0;
  if (facts->palette && png_get_PLTE(png, info, &entries, &colours) == PNG_INFO_PLTE) facts->palette_colours = colours;
  facts->grey = (colour & PNG_COLOR_MASK_COLOR) == 0;
  facts->has_alpha = (colour & PNG_COLOR_MASK_ALPHA) != 0 || transparency;
  if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (facts->grey && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (transparency) png_set_tRNS_to_alpha(png);
  if (depth == 16) png_set_scale_16(png);
  if (facts->grey) png_set_gray_to_rgb(png);
  header->interlaced = interlace != PNG_INTERLACE_NONE;
  if (header->interlaced) png_set_interlace_handling(png);
  png_read_update_info(png, info);
  header->width = width;
  header->height = height;
  header->channels = png_get_channels(png, info);
  if (header->channels != 3 && header->channels != 4) png_error(png, "unexpected sample layout");
  return true;
}

// Rows of a progressive file arrive in seven passes over the whole picture, so it is decoded
// into `whole` first; any other file goes row by row through `row` into the planes.
bool ReadRows(png_structp png, png_infop info, const Header* header, const PicturePlanes* planes, uint8_t* row,
              png_bytepp whole_rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  if (header->interlaced) {
    png_read_image(png, whole_rows);
    for (uint32_t y = 0; y < header->height; ++y) SplitRow(whole_rows[y], header->channels, *planes, int(y));
  } else {
    for (uint32_t y = 0; y < header->height; ++y) {
      png_read_row(png, row, nullptr);
      SplitRow(row, header->channels, *planes, int(y));
    }
  }
  png_read_end(png, info);
  return true;
}

bool WriteRows(png_structp png, png_infop info, const PicturePlanes* planes, int level, uint8_t* row) {
  if (setjmp(png_jmpbuf(png))) return false;
  const int channels = planes->has_alpha ? 4 : 3;
  png_set_IHDR(png, info, uint32_t(planes->width), uint32_t(planes->height), 8,
               planes->has_alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, level);
  // Level 1 looks for repeats of the byte before only (zlib's run-length strategy): on filtered
  // rows of rendered or noisy pictures that finds most of what the full search finds, at a
  // fraction of its time. Filtering costs little next to zlib only when it is one filter:
  // choosing per row tries all five, which the slower levels can afford.
  if (level == 1) png_set_compression_strategy(png, Z_RLE);
  png_set_filter(png, PNG_FILTER_TYPE_BASE,
                 level == 0  ? PNG_FILTER_NONE
                 : level < 6 ? PNG_FILTER_SUB
                             : PNG_ALL_FILTERS);
  // Larger data chunks: fewer chunk headers and checksums, and fewer calls to the writer.
  png_set_compression_buffer_size(png, 1 << 17);
  png_write_info(png, info);
  for (int y = 0; y < planes->height; ++y) {
    JoinRow(*planes, y, channels, row);
    png_write_row(png, row);
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

bool IsPngData(const uint8_t* data, size_t size) { return size >= 8 && png_sig_cmp(data, 0, 8) == 0; }

bool DecodePng(const uint8_t* data, size_t size, const PlaneAllocator& allocate, SourceFacts* facts,
               std::string& error) {
  if (!IsPngData(data, size)) {
    error = "not a PNG file";
    return false;
  }
  Session session;
  session.data = data;
  session.size = size;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &session, OnError, OnWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    error = "out of memory";
    return false;
  }
  png_set_read_fn(png, &session, ReadFromMemory);
  SourceFacts found;
  Header header;
  PicturePlanes planes;
  std::vector<uint8_t> row, whole;
  std::vector<png_bytep> whole_rows;
  bool ok = ReadHeader(png, info, &header, &found);
  if (ok) {
    try {
      const size_t stride = size_t(header.width) * size_t(header.channels);
      if (header.interlaced) {
        whole.resize(stride * header.height);
        whole_rows.resize(header.height);
        for (uint32_t y = 0; y < header.height; ++y) whole_rows[y] = whole.data() + stride * y;
      } else {
        row.resize(stride);
      }
      ok = allocate(int(header.width), int(header.height), header.channels == 4, planes) &&
           planes.planes[0] != nullptr && planes.planes[1] != nullptr && planes.planes[2] != nullptr &&
           planes.planes[3] != nullptr;
      if (!ok) std::snprintf(session.message, sizeof session.message, "no room for the picture");
    } catch (const std::bad_alloc&) {
      ok = false;
      std::snprintf(session.message, sizeof session.message, "not enough memory for the picture");
    }
  }
  if (ok) ok = ReadRows(png, info, &header, &planes, row.data(), whole_rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) {
    error = session.message[0] != '\0' ? session.message : "damaged PNG data";
    return false;
  }
  if (facts != nullptr) *facts = found;
  return true;
}

bool EncodePng(const PicturePlanes& planes, int compression_level, std::string& out, std::string& error) {
  if (planes.width <= 0 || planes.height <= 0 || uint32_t(planes.width) > kMaxSide ||
      uint32_t(planes.height) > kMaxSide || compression_level < 0 || compression_level > 9) {
    error = "no picture to write";
    return false;
  }
  Session session;
  session.out = &out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &session, OnError, OnWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    error = "out of memory";
    return false;
  }
  png_set_write_fn(png, &session, WriteToString, Flush);
  std::vector<uint8_t> row(size_t(planes.width) * 4);
  const bool ok = WriteRows(png, info, &planes, compression_level, row.data());
  png_destroy_write_struct(&png, &info);
  if (!ok) error = session.message[0] != '\0' ? session.message : "cannot encode the PNG file";
  return ok;
}

}  // namespace ombrix
