// The SIMD levels a parity test walks: from the plain loops up to what this machine (and
// OMBRIX_SIMD) allows, so each vector loop meets its plain twin.
#pragma once

#include <vector>

#include "core/kit/simd.h"

namespace ombrix::testing {

inline std::vector<kit::simd::Level> SimdLevels() {
  std::vector<kit::simd::Level> levels;
  for (kit::simd::Level level : kit::simd::kLevels)
    if (level <= kit::simd::AllowedLevel()) levels.push_back(level);
  return levels;
}

}  // namespace ombrix::testing
