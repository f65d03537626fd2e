// Screen reading with Xlib, kept apart from other headers because Xlib defines macros such as
// None and Bool.
#include "tests/progress/screen_reader.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace ombrix::test {

bool ReadScreen(int x, int y, int width, int height, std::vector<uint32_t>& pixels) {
  if (width <= 0 || height <= 0) return false;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  XImage* shot = XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                           static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (shot != nullptr) {
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    for (int row = 0; row < height; ++row) {
      for (int column = 0; column < width; ++column) {
        pixels[static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(column)] =
            static_cast<uint32_t>(XGetPixel(shot, column, row) & 0xFFFFFF);
      }
    }
    XDestroyImage(shot);
  }
  XCloseDisplay(display);
  return shot != nullptr;
}

}  // namespace ombrix::test
