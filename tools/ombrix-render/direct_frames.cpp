// PNG and TIFF frames through libpng and libtiff.
#include "tools/ombrix-render/direct_frames.h"

#include <new>
#include <optional>
#include <utility>

#include "core/import/png_file.h"
#include "core/import/tiff_file.h"
#include "core/platform/file_system.h"
#include "core/platform/files.h"

namespace ombrix::render {
namespace {

// The frame's planes, sized for the picture. A frame used before keeps its vectors' room, so a
// sequence of same-sized frames allocates nothing; every sample is decoded over.
bool AllocatePlanes(Frame& frame, int width, int height, bool has_alpha, PicturePlanes& planes) {
  const size_t n = size_t(width) * size_t(height);
  frame.width = width;
  frame.height = height;
  frame.has_alpha = has_alpha;
  for (auto* plane : {&frame.red, &frame.green, &frame.blue, &frame.alpha}) plane->resize(n);
  planes.width = width;
  planes.height = height;
  planes.has_alpha = has_alpha;
  for (int i = 0; i < 4; ++i) planes.planes[i] = frame.Plane(i);
  return true;
}

}  // namespace

bool ReadFrameDirectly(const std::string& path, Frame& frame, SourceFacts& facts) {
  std::optional<std::string> data;
  try {
    data = platform::ReadWholeFile(path.c_str());
  } catch (const std::bad_alloc&) {
    data.reset();
  }
  if (!data) return false;  // the general reader says why
  const std::string file = std::move(*data);
  const auto* bytes = reinterpret_cast<const uint8_t*>(file.data());
  const PlaneAllocator allocate = [&frame](int w, int h, bool alpha, PicturePlanes& planes) {
    return AllocatePlanes(frame, w, h, alpha, planes);
  };
  std::string reason;  // a damaged file is left to the general reader, which says what it met
  if (IsPngData(bytes, file.size())) return DecodePng(bytes, file.size(), allocate, &facts, reason);
  return DecodeTiff(bytes, file.size(), allocate, &facts, reason) == TiffDecode::kDecoded;
}

bool WritesDirectly(const std::string& format) { return format == "PNG" || format == "TIFF"; }

bool WriteFrameDirectly(const std::string& path, const std::string& format, const Frame& frame,
                        const FrameWriteOptions& options, std::string& error) {
  PicturePlanes planes;
  planes.width = frame.width;
  planes.height = frame.height;
  planes.has_alpha = frame.has_alpha;
  // The encoders only read the planes.
  Frame& source = const_cast<Frame&>(frame);
  for (int i = 0; i < 4; ++i) planes.planes[i] = source.Plane(i);
  std::string data, reason;
  bool encoded = false;
  try {
    data.reserve(format == "TIFF" && options.tiff_compression == TiffCompression::kNone
                     ? size_t(frame.width) * size_t(frame.height) * 4 + 4096
                     : size_t(frame.width) * size_t(frame.height) * 2);
    encoded = format == "PNG" ? EncodePng(planes, options.png_compression, data, reason)
                              : EncodeTiff(planes, options.tiff_compression, data, reason);
  } catch (const std::bad_alloc&) {
    reason = "not enough memory";
  }
  if (!encoded) {
    error = "cannot write \"" + path + "\": " + reason;
    return false;
  }
  if (!platform::ReplaceFileKeepingAttributes(path.c_str(), data)) {
    error = "cannot write \"" + path + "\": " + std::make_error_code(platform::LastSystemError()).message();
    return false;
  }
  return true;
}

}  // namespace ombrix::render
