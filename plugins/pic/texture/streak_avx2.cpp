// The streak loop at AVX2 width. Only this file is compiled for AVX2, and its function runs only
// where the processor offers it; it includes the loop template and nothing else, so no function
// compiled here can stand in for a baseline one.
#include "plugins/pic/texture/streak_lanes.h"

#if defined(__AVX2__)

namespace ombrix::pic {

void StreakFloorAvx2(const uint16_t* weights, int32_t steps, uint8_t* first, const uint8_t* seed, size_t room) {
  StreakFloorLoop<kit::simd::Lanes32>(weights, steps, first, seed, room);
}

}  // namespace ombrix::pic

#endif
