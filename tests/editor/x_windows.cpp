// Window look-up with Xlib, kept apart from other headers because Xlib defines macros.
#include "tests/editor/x_windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

namespace ombrix::test {
namespace {

std::string Title(Display* display, Window window) {
  XTextProperty property{};
  if (XGetWMName(display, window, &property) == 0 || property.value == nullptr) return {};
  std::string title(reinterpret_cast<const char*>(property.value), property.nitems);
  XFree(property.value);
  return title;
}

std::optional<ScreenRect> Search(Display* display, Window window, const std::string& title, int depth) {
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(display, window, &attributes) != 0 && attributes.map_state == IsViewable &&
      Title(display, window) == title) {
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    return ScreenRect{x, y, attributes.width, attributes.height};
  }
  if (depth == 0) return std::nullopt;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) return std::nullopt;
  std::vector<Window> list(children, children + count);
  if (children != nullptr) XFree(children);
  for (Window c : list)
    if (auto found = Search(display, c, title, depth - 1)) return found;
  return std::nullopt;
}

}  // namespace

std::optional<ScreenRect> FindXWindow(const std::string& title) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return std::nullopt;
  auto found = Search(display, DefaultRootWindow(display), title, 2);
  XCloseDisplay(display);
  return found;
}

}  // namespace ombrix::test
