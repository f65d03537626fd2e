// The filters' random numbers: the classic C run-time generator, one state per module that
// links the kit, seeded with 1 when the module is loaded and never reseeded.
#pragma once

#include <cstdint>

namespace ombrix::kit {

inline constexpr int32_t kRandomMax = 32767;

// state = state * 214013 + 2531011 (modulo 2^32); returns (state >> 16) & 0x7FFF.
int32_t Random();

// The generator's state, for tests that need a known sequence.
uint32_t RandomState();
void SetRandomState(uint32_t state);

}  // namespace ombrix::kit
