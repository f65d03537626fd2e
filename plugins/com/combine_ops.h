// Combinate's operators on bytes: one pixel channel with the sample's channel (the plain rule),
// and a whole row of channels at once, sixteen bytes a step with the SSE2 byte operations, which
// compute the same clamped results (saturating add and subtract, the absolute difference as the
// sum of both saturated differences), where the level in force (core/kit/simd.h) allows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/kit/pixel_math.h"
#include "core/kit/simd.h"

#if OMBRIX_SIMD_X86
#include <emmintrin.h>
#endif

namespace ombrix::com {

enum class Operator : int32_t { kNone = 0, kAnd = 1, kOr = 2, kXOr = 3, kAdd = 4, kSub = 5, kDifference = 6 };

// p combined with s, clamped to 0..255; kNone keeps p.
inline uint8_t CombineBytes(Operator op, int32_t p, int32_t s) {
  switch (op) {
    case Operator::kAnd:
      return uint8_t(p & s);
    case Operator::kOr:
      return uint8_t(p | s);
    case Operator::kXOr:
      return uint8_t(p ^ s);
    case Operator::kAdd:
      return kit::Clamp(p + s);
    case Operator::kSub:
      return kit::Clamp(p - s);
    case Operator::kDifference:
      return uint8_t(p > s ? p - s : s - p);
    case Operator::kNone:
      break;
  }
  return uint8_t(p);
}

// p[i] = CombineBytes(op, p[i], s[i]) for i < n.
inline void CombineRow(Operator op, uint8_t* p, const uint8_t* s, size_t n) {
  size_t i = 0;
#if OMBRIX_SIMD_X86
  auto each = [&](auto combine) {
    if (!kit::simd::Uses(kit::simd::Level::kSse2)) return;
    for (; i + 16 <= n; i += 16) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), combine(a, b));
    }
  };
  switch (op) {
    case Operator::kAnd:
      each([](__m128i a, __m128i b) { return _mm_and_si128(a, b); });
      break;
    case Operator::kOr:
      each([](__m128i a, __m128i b) { return _mm_or_si128(a, b); });
      break;
    case Operator::kXOr:
      each([](__m128i a, __m128i b) { return _mm_xor_si128(a, b); });
      break;
    case Operator::kAdd:
      each([](__m128i a, __m128i b) { return _mm_adds_epu8(a, b); });
      break;
    case Operator::kSub:
      each([](__m128i a, __m128i b) { return _mm_subs_epu8(a, b); });
      break;
    case Operator::kDifference:
      each([](__m128i a, __m128i b) { return _mm_or_si128(_mm_subs_epu8(a, b), _mm_subs_epu8(b, a)); });
      break;
    case Operator::kNone:
      return;
  }
#endif
  for (; i < n; ++i) p[i] = CombineBytes(op, p[i], s[i]);
}

}  // namespace ombrix::com
