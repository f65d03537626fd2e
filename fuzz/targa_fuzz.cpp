// Feeds arbitrary bytes to the built-in Targa reader as a whole file of exactly that size.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/import/targa.h"
#include "core/picture/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly `size` bytes, so any read past the end is caught.
  std::vector<uint8_t> file(data, data + size);
  Picture picture;
  if (ombrix::DecodeTarga(file.data(), file.size(), &picture)) {
    volatile uint8_t sink = picture.Row(picture.Height() - 1)[3 * (picture.Width() - 1)];
    if (picture.ExtraPlane() != nullptr) sink = picture.ExtraPlane()[picture.Width() * picture.Height() - 1];
    (void)sink;
  }
  return 0;
}
