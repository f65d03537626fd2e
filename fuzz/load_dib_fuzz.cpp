// Feeds arbitrary bytes to Picture::LoadDib as a packed DIB of exactly that size.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/picture/picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly `size` bytes, so any read past the block is caught.
  std::vector<uint8_t> block(data, data + size);
  Picture picture;
  if (picture.LoadDib(block.data(), block.size())) {
    uint8_t bgr[3];
    picture.GetPixel(picture.Width() - 1, 0, bgr);
    volatile uint8_t sink = picture.Row(picture.Height() - 1)[0];
    (void)sink;
  }
  return 0;
}
