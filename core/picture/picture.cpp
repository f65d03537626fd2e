// Picture operations: creation, block copies, packed-DIB import and pixel access.
#include "core/picture/picture.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr size_t kHeaderBytes = 40;
constexpr size_t kBlockPrefix = 16;  // holds the capacity; keeps the block 16-byte aligned

// DIB blocks are zero-filled heap blocks that remember their capacity in a small prefix, so a
// copy into a picture of the same size can reuse the block.
uint8_t* AllocateBlock(size_t bytes) {
  auto* base = static_cast<uint8_t*>(std::calloc(1, bytes + kBlockPrefix));
  if (base == nullptr) return nullptr;
  std::memcpy(base, &bytes, sizeof bytes);
  return base + kBlockPrefix;
}

size_t BlockCapacity(const uint8_t* block) {
  size_t bytes;
  std::memcpy(&bytes, block - kBlockPrefix, sizeof bytes);
  return bytes;
}

void FreeBlock(uint8_t* block) {
  if (block != nullptr) std::free(block - kBlockPrefix);
}

uint32_t ReadU32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t ReadU16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
void WriteU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
void WriteU16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}

void CopyText(char* field, const char* text) {
  std::memset(field, 0, 256);
  if (text != nullptr) std::strncpy(field, text, 255);
}

}  // namespace

Picture::Picture() : PictureFields{} {
  info = new PictureInfo{};
  ResetInfo();
}

Picture::~Picture() {
  FreeStorage();
  delete info;
  info = nullptr;
}

void Picture::ResetInfo() {
  info->width = 0;
  info->height = 0;
  info->bit_count = 0;
  info->block_size = 0;
  info->stride = 0;
  SetTypeText("Raw Memory");
  SetSourceText(nullptr);
}

void Picture::FreeStorage() {
  FreeBlock(dib);
  dib = nullptr;
  bits = nullptr;
  delete[] rows;
  rows = nullptr;
  delete[] extra;
  extra = nullptr;
}

void Picture::Reset() {
  FreeStorage();
  ResetInfo();
}

int Picture::RowBytes(int bits_per_pixel, int width) { return (bits_per_pixel * width / 8 + 3) & ~3; }

int Picture::Create(int width, int height) {
  Reset();
  if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) return 0;
  const int stride = RowBytes(24, width);
  const uint32_t block_size = 45 + uint32_t(height) * uint32_t(stride);
  // The allocation is generous (twice the row of a picture plus the block), as the picture
  // has always been allocated; only block_size bytes of it are meaningful.
  dib = AllocateBlock(2 * (3 * size_t(width) + block_size));
  if (dib == nullptr) return 0;
  info->width = uint16_t(width);
  info->height = uint16_t(height);
  info->bit_count = 24;
  info->stride = stride;
  info->block_size = block_size;

  WriteU32(dib + 0, kHeaderBytes);
  WriteU32(dib + 4, uint32_t(width));
  WriteU32(dib + 8, uint32_t(height));
  WriteU16(dib + 12, 1);
  WriteU16(dib + 14, 24);
  WriteU32(dib + 16, 0);
  WriteU32(dib + 20, uint32_t(height) * uint32_t(stride));
  BuildRows();
  if (rows == nullptr) {
    Reset();
    return 0;
  }
  return 1;
}

void Picture::BuildRows() {
  delete[] rows;
  rows = nullptr;
  if (dib == nullptr) return;
  const uint32_t header_size = ReadU32(dib);
  const uint32_t compression = ReadU32(dib + 16);
  const uint32_t colours_used = ReadU32(dib + 32);
  bits = dib + header_size + (compression == 3 ? 12 : 4 * colours_used);
  info->stride = RowBytes(24, info->width);
  const int height = info->height;
  rows = new (std::nothrow) uint8_t*[size_t(height) + 2]();
  if (rows == nullptr) return;
  for (int y = 0; y < height; ++y) rows[y] = bits + size_t(height - 1 - y) * size_t(info->stride);
}

int Picture::CopyFrom(const Picture* other) {
  if (other == this) return 1;
  if (other == nullptr) {
    Reset();
    return 0;
  }
  if (other->IsEmpty()) {
    Reset();
    return 1;
  }
  const size_t bytes = other->info->block_size;
  uint8_t* block = dib;
  if (block == nullptr || BlockCapacity(block) < bytes) {
    Reset();
    block = AllocateBlock(bytes);
    if (block == nullptr) return 0;
  } else {
    delete[] extra;
    extra = nullptr;
  }
  const bool same_size = rows != nullptr && info->width == other->info->width && info->height == other->info->height;
  *info = *other->info;
  dib = block;
  std::memcpy(dib, other->dib, bytes);
  if (other->extra != nullptr) {
    const size_t plane = size_t(info->width) * info->height;
    extra = new (std::nothrow) uint8_t[plane];
    if (extra == nullptr) {
      Reset();
      return 0;
    }
    std::memcpy(extra, other->extra, plane);
  }
  if (same_size) {
    // Same layout: only the block moved, and it did not. The rows stay valid.
    bits = dib + (other->bits - other->dib);
    for (int y = 0; y < info->height; ++y) rows[y] = bits + size_t(info->height - 1 - y) * size_t(info->stride);
  } else {
    BuildRows();
    if (rows == nullptr) {
      Reset();
      return 0;
    }
  }
  return 1;
}

int Picture::CopyFromOutside(const Picture* other, int x0, int y0, int x1, int y1) {
  if (other == nullptr || other == this || IsEmpty() || other->IsEmpty() || rows == nullptr) return 0;
  if (extra != nullptr || other->extra != nullptr) return 0;
  const PictureInfo& from = *other->info;
  if (info->width != from.width || info->height != from.height || info->stride != from.stride ||
      info->block_size != from.block_size || bits - dib != other->bits - other->dib)
    return 0;
  const int width = info->width, height = info->height;
  x0 = x0 < 0 ? 0 : x0 > width ? width : x0;
  x1 = x1 < x0 ? x0 : x1 > width ? width : x1;
  y0 = y0 < 0 ? 0 : y0 > height ? height : y0;
  y1 = y1 < y0 ? y0 : y1 > height ? height : y1;
  *info = from;
  // Rows lie bottom-up in the block, so the rectangle's last row comes first. Copy every gap
  // between the rectangle's row pieces, in address order.
  const size_t bytes = from.block_size;
  const size_t piece = 3 * size_t(x1 - x0);
  size_t at = 0;
  if (piece > 0) {
    for (int y = y1 - 1; y >= y0; --y) {
      const size_t start = size_t(other->rows[y] - other->dib) + 3 * size_t(x0);
      std::memcpy(dib + at, other->dib + at, start - at);
      at = start + piece;
    }
  }
  std::memcpy(dib + at, other->dib + at, bytes - at);
  for (int y = 0; y < height; ++y) rows[y] = bits + size_t(height - 1 - y) * size_t(info->stride);
  return 1;
}

int Picture::LoadDib(const uint8_t* source, size_t size) {
  if (source == nullptr || size < kHeaderBytes) return 0;
  const uint32_t header_size = ReadU32(source);
  if (header_size < kHeaderBytes || header_size > size) return 0;
  const int32_t width = int32_t(ReadU32(source + 4));
  const int32_t signed_height = int32_t(ReadU32(source + 8));
  const int bit_count = ReadU16(source + 14);
  const uint32_t compression = ReadU32(source + 16);
  const uint32_t image_size = ReadU32(source + 20);
  const uint32_t colours_used = ReadU32(source + 32);
  if (compression != 0 && compression != 3) return 0;
  if (width <= 0 || width > 0xFFFF) return 0;
  if (signed_height == 0 || signed_height < -0xFFFF || signed_height > 0xFFFF) return 0;
  const bool top_down = signed_height < 0;
  const int height = top_down ? -signed_height : signed_height;

  size_t table_entries = 0;
  size_t source_row = 0;
  switch (bit_count) {
    case 8:
      table_entries = colours_used == 0 ? 256 : colours_used;
      source_row = size_t(RowBytes(8, width));
      break;
    case 16:
      source_row = size_t(RowBytes(16, width));
      break;
    case 24:
      source_row = size_t(RowBytes(24, width));
      break;
    case 32:
      source_row = 4 * size_t(width);
      break;
    default:
      return 0;
  }
  // Where the pixels start: behind the masks of a bit-field DIB, else behind the colour table.
  // An 8-bit bit-field DIB still has its colour table right behind the header.
  size_t offset = header_size;
  const uint8_t* table = source + header_size;
  if (bit_count == 8) {
    if (table_entries > (size - header_size) / 4) return 0;
    offset += compression == 3 ? 12 : 4 * table_entries;
  } else {
    if (compression != 3 && colours_used > (size - header_size) / 4) return 0;
    offset += compression == 3 ? 12 : 4 * size_t(colours_used);
  }
  if (offset > size || source_row * size_t(height) > size - offset) return 0;
  const uint8_t* pixels = source + offset;
  const size_t usable_entries = table_entries < 256 ? table_entries : 256;

  if (!Create(width, height)) return 0;
  const size_t stride = size_t(info->stride);
  // Source row i is the picture's bottom row first (bottom-up) or its top row (top-down).
  auto target_row = [&](int i) { return rows[top_down ? i : height - 1 - i]; };

  if (bit_count == 24 && !top_down) {
    size_t bytes = image_size == 0 ? stride * size_t(height) : image_size;
    if (bytes > stride * size_t(height)) bytes = stride * size_t(height);
    std::memcpy(bits, pixels, bytes);
    return 1;
  }
  for (int i = 0; i < height; ++i) {
    const uint8_t* in = pixels + size_t(i) * source_row;
    uint8_t* out = target_row(i);
    switch (bit_count) {
      case 8:
        for (int x = 0; x < width; ++x, out += 3) {
          const size_t index = in[x];
          if (index >= usable_entries) continue;  // beyond the table: stays black
          const uint8_t* entry = table + 4 * index;
          out[0] = entry[0];
          out[1] = entry[1];
          out[2] = entry[2];
        }
        break;
      case 16:
        // Read as 5-5-5: red from bit 10, green from bit 5, blue from bit 0, each shifted
        // left by three; bit 15 and any masks are ignored.
        for (int x = 0; x < width; ++x, out += 3) {
          const uint16_t w = ReadU16(in + 2 * size_t(x));
          out[0] = uint8_t((w & 0x1F) << 3);
          out[1] = uint8_t(((w >> 5) & 0x1F) << 3);
          out[2] = uint8_t(((w >> 10) & 0x1F) << 3);
        }
        break;
      case 24:
        std::memcpy(out, in, 3 * size_t(width));
        break;
      case 32:
        for (int x = 0; x < width; ++x, out += 3, in += 4) {
          out[0] = in[0];
          out[1] = in[1];
          out[2] = in[2];
        }
        break;
    }
  }
  return 1;
}

int Picture::SetPixel(int x, int y, const uint8_t bgr[3]) {
  const uint16_t ux = uint16_t(x), uy = uint16_t(y);
  if (dib == nullptr || ux >= info->width || uy >= info->height) return 0;
  uint8_t* p = rows[uy] + 3 * size_t(ux);
  p[0] = bgr[0];
  p[1] = bgr[1];
  p[2] = bgr[2];
  return 1;
}

int Picture::GetPixel(int x, int y, uint8_t bgr[3]) const {
  const uint16_t ux = uint16_t(x), uy = uint16_t(y);
  if (dib == nullptr || ux >= info->width || uy >= info->height) {
    bgr[0] = bgr[1] = bgr[2] = 0;
    return 0;
  }
  const uint8_t* p = rows[uy] + 3 * size_t(ux);
  bgr[0] = p[0];
  bgr[1] = p[1];
  bgr[2] = p[2];
  return 1;
}

int Picture::AllocExtraPlane() {
  delete[] extra;
  extra = new (std::nothrow) uint8_t[size_t(info->width) * info->height]();
  return extra != nullptr ? 1 : 0;
}

void Picture::SetTypeText(const char* text) { CopyText(info->type_text, text); }
void Picture::SetSourceText(const char* text) { CopyText(info->source_text, text); }

size_t Picture::DibBytes() const {
  if (dib == nullptr) return 0;
  return size_t(bits - dib) + size_t(info->height) * size_t(info->stride);
}
