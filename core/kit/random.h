// The filters' random numbers: the classic C run-time generator, one state per module that
// links the kit, seeded with 1 when the module is loaded and never reseeded.
#pragma once

#include <cstdint>

namespace ombrix::kit {

inline constexpr int32_t kRandomMax = 32767;

namespace detail {
// The generator's state; defined in random.cpp, one copy per module (hidden symbols).
extern uint32_t g_random_state;
}  // namespace detail

// state = state * 214013 + 2531011 (modulo 2^32); returns (state >> 16) & 0x7FFF.
// Inline: the scattering filters draw once or more per pixel.
inline int32_t Random() {
  detail::g_random_state = detail::g_random_state * 214013u + 2531011u;
  return int32_t((detail::g_random_state >> 16) & 0x7FFFu);
}

// The generator's state: for tests that need a known sequence, and for loops that draw a run
// of numbers with the state kept in a register (they must leave it as Random() would).
inline uint32_t RandomState() { return detail::g_random_state; }
inline void SetRandomState(uint32_t state) { detail::g_random_state = state; }

// x mod m for a draw x of Random() (0 .. kRandomMax) and a divisor m >= 1 fixed for many draws,
// without a division per draw. With r = ceil(2^32 / m), (x * r) >> 32 is the exact quotient
// for every x below 2^15: the excess x * (r * m - 2^32) / (m * 2^32) stays below 2^-17 and
// below the distance 1 / m from x / m to the next whole number (m < 2^17), or x / m < 1/4
// (larger m).
class DrawModulus {
 public:
  explicit DrawModulus(int32_t m) : m_(uint32_t(m < 1 ? 1 : m)), r_(((uint64_t(1) << 32) + m_ - 1) / m_) {}
  int32_t Of(int32_t x) const {
    const uint32_t q = uint32_t((uint64_t(uint32_t(x)) * r_) >> 32);
    return int32_t(uint32_t(x) - q * m_);
  }
  int32_t divisor() const { return int32_t(m_); }

 private:
  uint32_t m_;
  uint64_t r_;
};

}  // namespace ombrix::kit
