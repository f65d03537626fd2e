// Reading pixels straight from the X server: the toolkit's screen device context keeps an old
// copy of the screen once it has read it, so screenshots go around it.
#pragma once

#include <cstdint>
#include <vector>

namespace ombrix::test {

// The screen rectangle as 0x00RRGGBB values, row by row. False when the display cannot be read.
bool ReadScreen(int x, int y, int width, int height, std::vector<uint32_t>& pixels);

}  // namespace ombrix::test
