// Targa decoding with every read checked against the end of the data.
#include "core/import/targa.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/picture/picture.h"

namespace ombrix {
namespace {

constexpr size_t kColourTableBytes = size_t{256} * 3;
constexpr size_t kMaxPacketPixels = 128;

// Writes pixels into one row of the picture (and of its extra plane for 32 bits).
class RowWriter {
 public:
  RowWriter(Picture* picture, const uint8_t* table, int bytes_per_pixel)
      : picture_(picture), table_(table), bytes_(bytes_per_pixel) {}

  void StartRow(int y) {
    out_ = picture_->Row(y);
    alpha_ = picture_->ExtraPlane() != nullptr ? picture_->ExtraPlane() + size_t(y) * size_t(picture_->Width()) : nullptr;
  }

  void Put(const uint8_t* pixel) {
    if (bytes_ == 1) {
      const uint8_t* entry = table_ + 3 * size_t(pixel[0]);
      out_[0] = entry[0];
      out_[1] = entry[1];
      out_[2] = entry[2];
    } else {
      out_[0] = pixel[0];
      out_[1] = pixel[1];
      out_[2] = pixel[2];
      if (alpha_ != nullptr) *alpha_++ = pixel[3];
    }
    out_ += 3;
  }

 private:
  Picture* picture_;
  const uint8_t* table_;
  int bytes_;
  uint8_t* out_ = nullptr;
  uint8_t* alpha_ = nullptr;
};

int Refuse(Picture* picture) {
  picture->Reset();
  return 0;
}

uint16_t ReadU16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

}  // namespace

std::optional<TargaHeader> ParseTargaHeader(const uint8_t* data, size_t size) {
  if (data == nullptr || size < kTargaHeaderBytes) return std::nullopt;
  TargaHeader header;
  header.id_length = data[0];
  const int colour_map_type = data[1];
  header.image_type = data[2];
  // Width and height are unsigned 16-bit counts, so pictures up to 65535 pixels on a side are
  // read as they are.
  header.width = ReadU16(data + 12);
  header.height = ReadU16(data + 14);
  header.bits_per_pixel = data[16];
  const int descriptor = data[17];
  if (colour_map_type != 0) return std::nullopt;
  if (header.image_type != 2 && header.image_type != 10) return std::nullopt;
  if (header.bits_per_pixel != 8 && header.bits_per_pixel != 24 && header.bits_per_pixel != 32) return std::nullopt;
  if (!(descriptor < 16 || (descriptor >= 32 && descriptor <= 47))) return std::nullopt;
  if (header.width == 0 || header.height == 0) return std::nullopt;
  header.top_down = descriptor >= 32;
  return header;
}

int DecodeTarga(const uint8_t* data, size_t size, Picture* picture) {
  if (picture == nullptr) return 0;
  const std::optional<TargaHeader> parsed = ParseTargaHeader(data, size);
  if (!parsed) return Refuse(picture);
  const TargaHeader& header = *parsed;
  const size_t width = size_t(header.width);
  const size_t height = size_t(header.height);
  const int bytes_per_pixel = header.bits_per_pixel / 8;

  size_t at = kTargaHeaderBytes + size_t(header.id_length);
  const uint8_t* table = nullptr;
  if (bytes_per_pixel == 1) {
    if (at > size || size - at < kColourTableBytes) return Refuse(picture);
    table = data + at;
    at += kColourTableBytes;
  }
  if (at > size) return Refuse(picture);
  const size_t available = size - at;
  // Refuse files too short for their pixels before allocating the picture: uncompressed rows
  // have a fixed size, and a run-length row needs at least one full packet per 128 pixels.
  if (header.image_type == 2) {
    if (available / height / width < size_t(bytes_per_pixel)) return Refuse(picture);
  } else {
    const size_t packets_per_row = (width + kMaxPacketPixels - 1) / kMaxPacketPixels;
    if (available / height / packets_per_row < 1 + size_t(bytes_per_pixel)) return Refuse(picture);
  }

  if (!picture->Create(header.width, header.height)) return Refuse(picture);
  if (bytes_per_pixel == 4 && !picture->AllocExtraPlane()) return Refuse(picture);
  RowWriter writer(picture, table, bytes_per_pixel);
  const uint8_t* in = data + at;
  const uint8_t* const end = data + size;

  for (size_t i = 0; i < height; ++i) {
    writer.StartRow(int(header.top_down ? i : height - 1 - i));
    if (header.image_type == 2) {
      for (size_t x = 0; x < width; ++x, in += bytes_per_pixel) writer.Put(in);
      continue;
    }
    size_t x = 0;
    while (x < width) {
      if (in >= end) return Refuse(picture);
      const uint8_t packet = *in++;
      const size_t count = size_t(packet & 0x7F) + 1;
      if (count > width - x) return Refuse(picture);
      if (packet & 0x80) {
        if (size_t(end - in) < size_t(bytes_per_pixel)) return Refuse(picture);
        for (size_t k = 0; k < count; ++k) writer.Put(in);
        in += bytes_per_pixel;
      } else {
        if (size_t(end - in) / count < size_t(bytes_per_pixel)) return Refuse(picture);
        for (size_t k = 0; k < count; ++k, in += bytes_per_pixel) writer.Put(in);
      }
      x += count;
    }
  }
  return 1;
}

namespace {

// The file's bytes from its start, at most `limit` of them.
bool ReadFileStart(std::FILE* file, size_t limit, std::vector<uint8_t>* data) {
  data->clear();
  uint8_t buffer[65536];
  while (data->size() < limit) {
    const size_t want = limit - data->size() < sizeof buffer ? limit - data->size() : sizeof buffer;
    const size_t got = std::fread(buffer, 1, want, file);
    data->insert(data->end(), buffer, buffer + got);
    if (got < want) return std::ferror(file) == 0;
  }
  return true;
}

}  // namespace

int ReadTargaFile(const char* path, Picture* picture) {
  if (picture == nullptr) return 0;
  if (path == nullptr) return Refuse(picture);
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return Refuse(picture);
  std::vector<uint8_t> data;
  bool read = ReadFileStart(file, kTargaHeaderBytes, &data);
  const std::optional<TargaHeader> header = read ? ParseTargaHeader(data.data(), data.size()) : std::nullopt;
  if (header) {
    // Read no more than the largest file the header allows: every pixel in a packet of its own.
    const size_t pixels = size_t(header->width) * size_t(header->height);
    const size_t per_pixel = size_t(header->bits_per_pixel / 8) + (header->image_type == 10 ? 1 : 0);
    const size_t table = header->bits_per_pixel == 8 ? kColourTableBytes : 0;
    const size_t limit = kTargaHeaderBytes + size_t(header->id_length) + table + pixels * per_pixel;
    std::vector<uint8_t> rest;
    read = ReadFileStart(file, limit - kTargaHeaderBytes, &rest);
    data.insert(data.end(), rest.begin(), rest.end());
  }
  std::fclose(file);
  if (!header || !read) return Refuse(picture);
  return DecodeTarga(data.data(), data.size(), picture);
}

bool IsAcceptedTargaFile(const char* path) {
  if (path == nullptr) return false;
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  uint8_t header[kTargaHeaderBytes];
  const size_t got = std::fread(header, 1, sizeof header, file);
  std::fclose(file);
  return ParseTargaHeader(header, got).has_value();
}

}  // namespace ombrix
