// The rule of every exported entry point: nothing thrown inside a module leaves it. An entry
// runs its body through GuardBoundary, which turns any exception (an allocation that failed, in
// practice) into the failure result of that entry.
#pragma once

#include <utility>

namespace ombrix {

template <typename Result, typename Body>
Result GuardBoundary(Result failure, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return failure;
  }
}

// The same for entries that return nothing.
template <typename Body>
void GuardBoundary(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (...) {
  }
}

}  // namespace ombrix
