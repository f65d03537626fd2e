// Finding another program's window on the X server by its title, for tests that drive a
// program in a process of its own.
#pragma once

#include <optional>
#include <string>

namespace ombrix::test {

struct ScreenRect {
  int x = 0, y = 0, width = 0, height = 0;
};

// The screen rectangle of the shown top-level window with this title, or nothing.
std::optional<ScreenRect> FindXWindow(const std::string& title);

}  // namespace ombrix::test
