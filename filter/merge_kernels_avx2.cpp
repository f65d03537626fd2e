// The merge's vector loops at AVX2 width. Only this file is compiled for AVX2, and its functions
// run only where the processor offers it; it includes the loop templates and nothing else, so no
// function compiled here can stand in for a baseline one.
#include "filter/merge_loops.h"

#if defined(__AVX2__)

namespace ombrix::engine {

size_t GradualLoopAvx2(const uint8_t* input, uint8_t* work, const uint8_t* weights, size_t n, uint8_t* also) {
  return GradualLoop<kit::simd::Lanes32>(input, work, weights, n, also);
}

size_t ThresholdLoopAvx2(const uint8_t* input, uint8_t* work, const uint8_t* keep, size_t n, uint8_t* also) {
  return ThresholdLoop<kit::simd::Lanes32>(input, work, keep, n, also);
}

size_t BlendLoopAvx2(const uint8_t* base, const uint8_t* toward, uint8_t* input, uint8_t* work, uint16_t multiplier,
                     size_t n) {
  return BlendLoop<kit::simd::Lanes32>(base, toward, input, work, multiplier, n);
}

}  // namespace ombrix::engine

#endif
