// Encoders for the bitmap and Targa files the system writes; files are replaced atomically.
#include "core/import/picture_writers.h"

#include <cstdint>

#include "core/picture/picture.h"
#include "core/platform/files.h"

namespace ombrix {
namespace {

void AppendU16(std::string* out, uint32_t value) {
  out->push_back(char(value & 0xFF));
  out->push_back(char((value >> 8) & 0xFF));
}

void AppendU32(std::string* out, uint32_t value) {
  AppendU16(out, value & 0xFFFF);
  AppendU16(out, value >> 16);
}

}  // namespace

std::string EncodeBitmapFile(const Picture& picture) {
  if (picture.IsEmpty()) return {};
  const uint32_t width = uint32_t(picture.Width());
  const uint32_t height = uint32_t(picture.Height());
  const uint32_t stride = uint32_t(picture.Stride());
  // The header's sizes are 32-bit fields: a picture whose rows do not fit cannot be written.
  if (uint64_t(height) * stride + 54 > UINT32_MAX) return {};
  const uint32_t image_size = height * stride;
  std::string out;
  out.reserve(54 + size_t(image_size));
  out += "BM";
  AppendU32(&out, image_size + 54);
  AppendU16(&out, 0);
  AppendU16(&out, 0);
  AppendU32(&out, 54);
  AppendU32(&out, 40);
  AppendU32(&out, width);
  AppendU32(&out, height);
  AppendU16(&out, 1);
  AppendU16(&out, 24);
  AppendU32(&out, 0);
  AppendU32(&out, image_size);
  for (int i = 0; i < 4; ++i) AppendU32(&out, 0);
  for (int y = int(height) - 1; y >= 0; --y) out.append(reinterpret_cast<const char*>(picture.Row(y)), stride);
  return out;
}

bool WriteBitmapFile(const Picture& picture, const char* path) {
  const std::string data = EncodeBitmapFile(picture);
  return !data.empty() && platform::ReplaceFileAtomically(path, data);
}

std::string EncodeTargaFile(const Picture& picture, int bits_per_pixel) {
  if (picture.IsEmpty() || (bits_per_pixel != 24 && bits_per_pixel != 32)) return {};
  const int width = picture.Width();
  const int height = picture.Height();
  const bool alpha = bits_per_pixel == 32;
  std::string out;
  out.reserve(18 + size_t(width) * size_t(height) * size_t(bits_per_pixel / 8));
  out.push_back(0);     // identification length
  out.push_back(0);     // colour map type
  out.push_back(2);     // uncompressed true colour
  out.append(9, '\0');  // colour map fields (first entry, length, entry size), x and y origin
  AppendU16(&out, uint32_t(width));
  AppendU16(&out, uint32_t(height));
  out.push_back(char(bits_per_pixel));
  out.push_back(char(alpha ? 8 : 0));  // bottom row first; alpha depth
  const uint8_t* plane = picture.ExtraPlane();
  for (int y = height - 1; y >= 0; --y) {
    const uint8_t* in = picture.Row(y);
    const uint8_t* a = plane != nullptr ? plane + size_t(y) * size_t(width) : nullptr;
    for (int x = 0; x < width; ++x, in += 3) {
      out.append(reinterpret_cast<const char*>(in), 3);
      if (alpha) out.push_back(char(a != nullptr ? a[x] : 255));
    }
  }
  return out;
}

bool WriteTargaFile(const Picture& picture, const char* path, int bits_per_pixel) {
  const std::string data = EncodeTargaFile(picture, bits_per_pixel);
  return !data.empty() && platform::ReplaceFileAtomically(path, data);
}

}  // namespace ombrix
