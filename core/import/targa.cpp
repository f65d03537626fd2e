// Targa decoding with every read checked against the end of the data.
#include "core/import/targa.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

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
    alpha_ =
        picture_->ExtraPlane() != nullptr ? picture_->ExtraPlane() + size_t(y) * size_t(picture_->Width()) : nullptr;
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

// Copies one uncompressed row of `width` pixels into picture row y (and its extra plane for 32
// bits); returns the position after the row. 24-bit rows are stored as the picture stores them.
const uint8_t* CopyRow(Picture& picture, int y, const uint8_t* table, int bytes_per_pixel, const uint8_t* in,
                       size_t width) {
  uint8_t* out = picture.Row(y);
  switch (bytes_per_pixel) {
    case 3:
      std::memcpy(out, in, 3 * width);
      return in + 3 * width;
    case 4: {
      uint8_t* alpha = picture.ExtraPlane() + size_t(y) * width;
      for (size_t x = 0; x < width; ++x, in += 4, out += 3) {
        out[0] = in[0], out[1] = in[1], out[2] = in[2];
        alpha[x] = in[3];
      }
      return in;
    }
    default:
      for (size_t x = 0; x < width; ++x, out += 3) {
        const uint8_t* entry = table + 3 * size_t(in[x]);
        out[0] = entry[0], out[1] = entry[1], out[2] = entry[2];
      }
      return in + width;
  }
}

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
    const int y = int(header.top_down ? i : height - 1 - i);
    if (header.image_type == 2) {
      // A whole row at once: the size check above covers every uncompressed row.
      in = CopyRow(*picture, y, table, bytes_per_pixel, in, width);
      continue;
    }
    writer.StartRow(y);
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

// The first bytes of a file, in one block that grows without clearing what it adds.
class FileBytes {
 public:
  const uint8_t* Bytes() const { return bytes_.get(); }
  size_t Size() const { return size_; }
  // Room for `capacity` bytes, keeping those held.
  void Reserve(size_t capacity) {
    if (capacity <= capacity_) return;
    std::unique_ptr<uint8_t[]> larger(new uint8_t[capacity]);
    if (size_ > 0) std::memcpy(larger.get(), bytes_.get(), size_);
    bytes_ = std::move(larger);
    capacity_ = capacity;
  }
  uint8_t* End() { return bytes_.get() + size_; }
  void Grow(size_t added) { size_ += added; }

 private:
  std::unique_ptr<uint8_t[]> bytes_;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

// The bytes the file holds after its current position: nothing when that cannot be told (a
// pipe, say), so the caller reads in steps.
std::optional<size_t> BytesLeft(std::FILE* file) {
  const long at = std::ftell(file);
  if (at < 0 || std::fseek(file, 0, SEEK_END) != 0) return std::nullopt;
  const long end = std::ftell(file);
  if (std::fseek(file, at, SEEK_SET) != 0) return std::nullopt;  // the caller's next read fails too
  if (end < at) return size_t{0};
  return size_t(end - at);
}

// Reads on from the file's position until `data` holds `limit` bytes or the file ends. The block
// takes no more room than the file has bytes, whatever the limit, so a header that promises a
// huge picture in a small file allocates little.
bool ReadFileStart(std::FILE* file, size_t limit, FileBytes* data) {
  constexpr size_t kStep = 65536;
  if (data->Size() >= limit) return true;
  const std::optional<size_t> left = BytesLeft(file);
  if (left) {
    // One read of everything there is, up to the limit.
    const size_t want = std::min(limit - data->Size(), *left);
    data->Reserve(data->Size() + want);
    const size_t got = std::fread(data->End(), 1, want, file);
    data->Grow(got);
    return got == want || std::ferror(file) == 0;
  }
  while (data->Size() < limit) {
    const size_t want = std::min(limit - data->Size(), kStep);
    data->Reserve(std::max(data->Size() + want, 2 * data->Size()));
    const size_t got = std::fread(data->End(), 1, want, file);
    data->Grow(got);
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
  FileBytes data;
  bool read = ReadFileStart(file, kTargaHeaderBytes, &data);
  const std::optional<TargaHeader> header = read ? ParseTargaHeader(data.Bytes(), data.Size()) : std::nullopt;
  if (header) {
    // Read no more than the largest file the header allows: every pixel in a packet of its own.
    const size_t pixels = size_t(header->width) * size_t(header->height);
    const size_t per_pixel = size_t(header->bits_per_pixel / 8) + (header->image_type == 10 ? 1 : 0);
    const size_t table = header->bits_per_pixel == 8 ? kColourTableBytes : 0;
    const size_t limit = kTargaHeaderBytes + size_t(header->id_length) + table + pixels * per_pixel;
    read = ReadFileStart(file, limit, &data);
  }
  std::fclose(file);
  if (!header || !read) return Refuse(picture);
  return DecodeTarga(data.Bytes(), data.Size(), picture);
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
