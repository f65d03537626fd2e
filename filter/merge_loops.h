// The vector loops of the merge kernels, written once for both register widths (see
// core/kit/simd_lanes.h): merge_kernels.cpp runs them with 16-byte registers, and
// merge_kernels_avx2.cpp, compiled for AVX2, with 32-byte ones. Each loop does the whole steps of
// n bytes and returns how many bytes it did; the caller finishes the row.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/kit/simd_lanes.h"

namespace ombrix::engine {

// n / 255 = (n * 32897) >> 23 for 0 <= n <= 65535: in vector lanes the high word of the product,
// shifted by 7.
inline constexpr uint16_t kReciprocal255 = 32897;

#if OMBRIX_SIMD_X86
inline namespace OMBRIX_LANES_NAMESPACE {

namespace lanes = kit::simd;

// The merged bytes base + truncate(sign(toward - base) * q) for the magnitudes q that scale
// (toward - base): the sign is taken from the saturated difference `up` = toward - base, so the
// arithmetic stays in bytes. Where toward <= base, down is all ones and q comes out negated (or
// stays 0).
template <class R>
inline R TowardBy(R base, R up, R q, R zero) {
  const R down = lanes::CmpEqU8(up, zero);
  return lanes::AddU8(base, lanes::SubU8(lanes::Xor(q, down), down));
}

// work = input + truncate((work - input) * k / 255) for the weights k, 16 or 32 bytes a step.
template <class L>
size_t GradualLoop(const uint8_t* input, uint8_t* work, const uint8_t* weights, size_t n, uint8_t* also) {
  using R = typename L::Reg;
  const R zero = L::Zero(), reciprocal = L::Set1U16(kReciprocal255);
  // |a - b| * k / 255 for word lanes (the product is at most 65025).
  auto quotient = [&](R a16, R k16) {
    return lanes::SrliU16<7>(lanes::MulhiU16(lanes::MulloU16(a16, k16), reciprocal));
  };
  size_t i = 0;
  for (; i + L::kBytes <= n; i += L::kBytes) {
    const R in = L::Load(input + i), out = L::Load(work + i), k = L::Load(weights + i);
    const R up = lanes::SubsU8(out, in);
    const R a = lanes::Or(up, lanes::SubsU8(in, out));  // |work - input|
    const R q = lanes::PackUsI16(quotient(lanes::UnpackLoU8(a, zero), lanes::UnpackLoU8(k, zero)),
                                 quotient(lanes::UnpackHiU8(a, zero), lanes::UnpackHiU8(k, zero)));
    const R merged = TowardBy(in, up, q, zero);
    L::Store(work + i, merged);
    if (also != nullptr) L::Store(also + i, merged);
  }
  return i;
}

// Where keep is all ones the WORK byte becomes the INPUT byte; where it is 0 the byte stays.
template <class L>
size_t ThresholdLoop(const uint8_t* input, uint8_t* work, const uint8_t* keep, size_t n, uint8_t* also) {
  using R = typename L::Reg;
  size_t i = 0;
  for (; i + L::kBytes <= n; i += L::kBytes) {
    const R k = L::Load(keep + i);
    const R merged = lanes::Or(lanes::And(k, L::Load(input + i)), lanes::AndNot(k, L::Load(work + i)));
    L::Store(work + i, merged);
    if (also != nullptr) L::Store(also + i, merged);
  }
  return i;
}

// base + sign(toward - base) * ((|toward - base| * multiplier) >> 16), into both rows. The shift
// never exceeds |toward - base|, so the sum stays within 0..255.
template <class L>
size_t BlendLoop(const uint8_t* base, const uint8_t* toward, uint8_t* input, uint8_t* work, uint16_t multiplier,
                 size_t n) {
  using R = typename L::Reg;
  const R zero = L::Zero(), m = L::Set1U16(multiplier);
  size_t i = 0;
  for (; i + L::kBytes <= n; i += L::kBytes) {
    const R b = L::Load(base + i), t = L::Load(toward + i);
    const R up = lanes::SubsU8(t, b);
    const R a = lanes::Or(up, lanes::SubsU8(b, t));
    const R q = lanes::PackUsI16(lanes::MulhiU16(lanes::UnpackLoU8(a, zero), m),
                                 lanes::MulhiU16(lanes::UnpackHiU8(a, zero), m));
    const R merged = TowardBy(b, up, q, zero);
    L::Store(input + i, merged);
    L::Store(work + i, merged);
  }
  return i;
}

}  // namespace OMBRIX_LANES_NAMESPACE

// The loops above at 32 bytes a step (merge_kernels_avx2.cpp); call only where
// kit::simd::Uses(Level::kAvx2).
size_t GradualLoopAvx2(const uint8_t* input, uint8_t* work, const uint8_t* weights, size_t n, uint8_t* also);
size_t ThresholdLoopAvx2(const uint8_t* input, uint8_t* work, const uint8_t* keep, size_t n, uint8_t* also);
size_t BlendLoopAvx2(const uint8_t* base, const uint8_t* toward, uint8_t* input, uint8_t* work, uint16_t multiplier,
                     size_t n);
#endif

}  // namespace ombrix::engine
