// Vector registers of 16 and 32 bytes under one vocabulary, so that a loop whose SSE2 and AVX2
// forms differ only in lane width is written once, as a template over Lanes16 or Lanes32; and the
// steps of 16 pixels (48 bytes in three registers) that the byte-shuffle loops share.
//
// A loop template is instantiated with Lanes16 in the ordinary build and with Lanes32 in a source
// file of its own compiled for AVX2 (ombrix_avx2_sources in cmake/Ombrix.cmake), whose functions
// run only where simd::Uses(Level::kAvx2). Everything here, and every loop template built on it,
// lives in the namespace OMBRIX_LANES_NAMESPACE, named after the instruction set of the file that
// includes it: an inline function compiled for AVX2 then never has the name of its baseline twin,
// so the linker cannot put one in the other's place. A file compiled for AVX2 includes these
// loop headers only and calls nothing else.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/kit/simd.h"

#if OMBRIX_SIMD_X86
#include <immintrin.h>

#if defined(__AVX2__)
#define OMBRIX_LANES_NAMESPACE lanes_avx2
#else
#define OMBRIX_LANES_NAMESPACE lanes_base
#endif

// Functions that use SSSE3 byte shuffles; at AVX2 the file's own flags already include them.
#define OMBRIX_TARGET_SSSE3 __attribute__((target("ssse3")))

namespace ombrix::kit::simd {
inline namespace OMBRIX_LANES_NAMESPACE {

// ---- 16 bytes: SSE2 -----------------------------------------------------------------------------

struct Lanes16 {
  using Reg = __m128i;
  static constexpr size_t kBytes = 16;
  static Reg Load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }
  static void Store(void* p, Reg v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }
  static Reg Zero() { return _mm_setzero_si128(); }
  static Reg Set1U16(uint16_t v) { return _mm_set1_epi16(int16_t(v)); }
  // kBytes / 2 bytes at p as as many 16-bit lanes, and back with unsigned saturation.
  static Reg LoadWidened(const void* p) {
    return _mm_unpacklo_epi8(_mm_loadl_epi64(static_cast<const __m128i*>(p)), _mm_setzero_si128());
  }
  static void StoreNarrowed(void* p, Reg words) {
    _mm_storel_epi64(static_cast<__m128i*>(p), _mm_packus_epi16(words, words));
  }
};

inline __m128i And(__m128i a, __m128i b) { return _mm_and_si128(a, b); }
inline __m128i AndNot(__m128i a, __m128i b) { return _mm_andnot_si128(a, b); }  // ~a & b
inline __m128i Or(__m128i a, __m128i b) { return _mm_or_si128(a, b); }
inline __m128i Xor(__m128i a, __m128i b) { return _mm_xor_si128(a, b); }
inline __m128i AddU8(__m128i a, __m128i b) { return _mm_add_epi8(a, b); }
inline __m128i SubU8(__m128i a, __m128i b) { return _mm_sub_epi8(a, b); }
inline __m128i SubsU8(__m128i a, __m128i b) { return _mm_subs_epu8(a, b); }
inline __m128i CmpEqU8(__m128i a, __m128i b) { return _mm_cmpeq_epi8(a, b); }
// Bytes 0..7 (Lo) or 8..15 (Hi) of each 16-byte half of a and b, interleaved.
inline __m128i UnpackLoU8(__m128i a, __m128i b) { return _mm_unpacklo_epi8(a, b); }
inline __m128i UnpackHiU8(__m128i a, __m128i b) { return _mm_unpackhi_epi8(a, b); }
// The words of a and b as bytes with unsigned saturation, a's before b's in each 16-byte half.
inline __m128i PackUsI16(__m128i a, __m128i b) { return _mm_packus_epi16(a, b); }
inline __m128i AddI16(__m128i a, __m128i b) { return _mm_add_epi16(a, b); }
inline __m128i SubI16(__m128i a, __m128i b) { return _mm_sub_epi16(a, b); }
inline __m128i MulloU16(__m128i a, __m128i b) { return _mm_mullo_epi16(a, b); }
inline __m128i MulhiU16(__m128i a, __m128i b) { return _mm_mulhi_epu16(a, b); }
template <int kCount>
inline __m128i SrliU16(__m128i a) {
  return _mm_srli_epi16(a, kCount);
}
// |a| for words within -32767..32767.
inline __m128i AbsI16(__m128i a) { return _mm_max_epi16(a, _mm_sub_epi16(_mm_setzero_si128(), a)); }
// q negated in the lanes where d is negative (q is 0 where d is 0).
inline __m128i CopySignI16(__m128i q, __m128i d) {
  const __m128i negative = _mm_srai_epi16(d, 15);
  return _mm_sub_epi16(_mm_xor_si128(q, negative), negative);
}

// ---- 32 bytes: AVX2; unpacking and packing stay within each 16-byte half, so a pack undoes the
// unpacks it follows and the bytes come back in their order --------------------------------------

#if defined(__AVX2__)
struct Lanes32 {
  using Reg = __m256i;
  static constexpr size_t kBytes = 32;
  static Reg Load(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
  static void Store(void* p, Reg v) { _mm256_storeu_si256(static_cast<__m256i*>(p), v); }
  static Reg Zero() { return _mm256_setzero_si256(); }
  static Reg Set1U16(uint16_t v) { return _mm256_set1_epi16(int16_t(v)); }
  static Reg LoadWidened(const void* p) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(static_cast<const __m128i*>(p)));
  }
  static void StoreNarrowed(void* p, Reg words) {
    _mm_storeu_si128(static_cast<__m128i*>(p),
                     _mm_packus_epi16(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1)));
  }
};

inline __m256i And(__m256i a, __m256i b) { return _mm256_and_si256(a, b); }
inline __m256i AndNot(__m256i a, __m256i b) { return _mm256_andnot_si256(a, b); }
inline __m256i Or(__m256i a, __m256i b) { return _mm256_or_si256(a, b); }
inline __m256i Xor(__m256i a, __m256i b) { return _mm256_xor_si256(a, b); }
inline __m256i AddU8(__m256i a, __m256i b) { return _mm256_add_epi8(a, b); }
inline __m256i SubU8(__m256i a, __m256i b) { return _mm256_sub_epi8(a, b); }
inline __m256i SubsU8(__m256i a, __m256i b) { return _mm256_subs_epu8(a, b); }
inline __m256i CmpEqU8(__m256i a, __m256i b) { return _mm256_cmpeq_epi8(a, b); }
inline __m256i UnpackLoU8(__m256i a, __m256i b) { return _mm256_unpacklo_epi8(a, b); }
inline __m256i UnpackHiU8(__m256i a, __m256i b) { return _mm256_unpackhi_epi8(a, b); }
inline __m256i PackUsI16(__m256i a, __m256i b) { return _mm256_packus_epi16(a, b); }
inline __m256i AddI16(__m256i a, __m256i b) { return _mm256_add_epi16(a, b); }
inline __m256i SubI16(__m256i a, __m256i b) { return _mm256_sub_epi16(a, b); }
inline __m256i MulloU16(__m256i a, __m256i b) { return _mm256_mullo_epi16(a, b); }
inline __m256i MulhiU16(__m256i a, __m256i b) { return _mm256_mulhi_epu16(a, b); }
template <int kCount>
inline __m256i SrliU16(__m256i a) {
  return _mm256_srli_epi16(a, kCount);
}
inline __m256i AbsI16(__m256i a) { return _mm256_abs_epi16(a); }
inline __m256i CopySignI16(__m256i q, __m256i d) { return _mm256_sign_epi16(q, d); }
#endif

// ---- Single-precision lanes: four (SSE2) or eight (AVX2) -----------------------------------------

// The same operations on four or eight floats, and the conversions between eight 16-bit words
// (one 16-byte register) and kParts registers of 32-bit integers or floats.
struct Floats4 {
  using Reg = __m128;
  using Ints = __m128i;
  static constexpr int kParts = 2;  // registers for eight words
  static Reg Set1(float v) { return _mm_set1_ps(v); }
  static Reg Zero() { return _mm_setzero_ps(); }
  static Reg Add(Reg a, Reg b) { return _mm_add_ps(a, b); }
  static Reg Sub(Reg a, Reg b) { return _mm_sub_ps(a, b); }
  static Reg Mul(Reg a, Reg b) { return _mm_mul_ps(a, b); }
  static Reg Div(Reg a, Reg b) { return _mm_div_ps(a, b); }
  static Reg Min(Reg a, Reg b) { return _mm_min_ps(a, b); }
  static Reg Max(Reg a, Reg b) { return _mm_max_ps(a, b); }
  static Reg And(Reg a, Reg b) { return _mm_and_ps(a, b); }
  static Reg AndNot(Reg a, Reg b) { return _mm_andnot_ps(a, b); }  // ~a & b
  // All ones where the comparison holds (ordered: false for NaN).
  static Reg Equal(Reg a, Reg b) { return _mm_cmpeq_ps(a, b); }
  static Reg Greater(Reg a, Reg b) { return _mm_cmpgt_ps(a, b); }
  static Reg GreaterOrEqual(Reg a, Reg b) { return _mm_cmpge_ps(a, b); }
  static Reg FromInts(Ints v) { return _mm_cvtepi32_ps(v); }
  static Ints Truncated(Reg v) { return _mm_cvttps_epi32(v); }
  // Words `part` * 4 .. part * 4 + 3 of eight, unsigned or signed, as integers.
  static Ints WordsUnsigned(__m128i words, int part) {
    return part == 0 ? _mm_unpacklo_epi16(words, _mm_setzero_si128()) : _mm_unpackhi_epi16(words, _mm_setzero_si128());
  }
  static Ints WordsSigned(__m128i words, int part) {
    return _mm_srai_epi32(part == 0 ? _mm_unpacklo_epi16(words, words) : _mm_unpackhi_epi16(words, words), 16);
  }
  // Eight integers back to eight words with signed saturation.
  static __m128i PackedWords(const Ints (&parts)[kParts]) { return _mm_packs_epi32(parts[0], parts[1]); }
};

#if defined(__AVX2__)
struct Floats8 {
  using Reg = __m256;
  using Ints = __m256i;
  static constexpr int kParts = 1;
  static Reg Set1(float v) { return _mm256_set1_ps(v); }
  static Reg Zero() { return _mm256_setzero_ps(); }
  static Reg Add(Reg a, Reg b) { return _mm256_add_ps(a, b); }
  static Reg Sub(Reg a, Reg b) { return _mm256_sub_ps(a, b); }
  static Reg Mul(Reg a, Reg b) { return _mm256_mul_ps(a, b); }
  static Reg Div(Reg a, Reg b) { return _mm256_div_ps(a, b); }
  static Reg Min(Reg a, Reg b) { return _mm256_min_ps(a, b); }
  static Reg Max(Reg a, Reg b) { return _mm256_max_ps(a, b); }
  static Reg And(Reg a, Reg b) { return _mm256_and_ps(a, b); }
  static Reg AndNot(Reg a, Reg b) { return _mm256_andnot_ps(a, b); }
  static Reg Equal(Reg a, Reg b) { return _mm256_cmp_ps(a, b, _CMP_EQ_OQ); }
  static Reg Greater(Reg a, Reg b) { return _mm256_cmp_ps(a, b, _CMP_GT_OQ); }
  static Reg GreaterOrEqual(Reg a, Reg b) { return _mm256_cmp_ps(a, b, _CMP_GE_OQ); }
  static Reg FromInts(Ints v) { return _mm256_cvtepi32_ps(v); }
  static Ints Truncated(Reg v) { return _mm256_cvttps_epi32(v); }
  static Ints WordsUnsigned(__m128i words, int) { return _mm256_cvtepu16_epi32(words); }
  static Ints WordsSigned(__m128i words, int) { return _mm256_cvtepi16_epi32(words); }
  static __m128i PackedWords(const Ints (&parts)[kParts]) {
    return _mm_packs_epi32(_mm256_castsi256_si128(parts[0]), _mm256_extracti128_si256(parts[0], 1));
  }
};
#endif

// ---- Steps of 16 pixels ---------------------------------------------------------------------

// 16 pixels, 48 bytes, as three registers; or, after ToPlanes, one register per channel.
struct Pixels16 {
  __m128i v[3];
};

inline Pixels16 LoadPixels16(const uint8_t* p) {
  return {{Lanes16::Load(p), Lanes16::Load(p + 16), Lanes16::Load(p + 32)}};
}
inline void StorePixels16(uint8_t* p, const Pixels16& s) {
  Lanes16::Store(p, s.v[0]);
  Lanes16::Store(p + 16, s.v[1]);
  Lanes16::Store(p + 32, s.v[2]);
}

inline constexpr uint8_t kShuffleZero = 0x80;  // a byte-shuffle index that gives 0

// Byte-shuffle indexes over a step: [result register][source register][byte], so that result
// register j is the OR of the three source registers each shuffled by its row.
using StepShuffle = uint8_t[3][3][16];

struct StepShuffles {
  StepShuffle to_plane;    // [channel]: that channel of the 16 pixels, pixel i at byte i
  StepShuffle from_plane;  // back from planes to pixels
  StepShuffle reverse;     // the 16 pixels in reverse order
  uint8_t spread[3][16];   // byte i of one register to the three bytes of pixel i
};

constexpr StepShuffles MakeStepShuffles() {
  StepShuffles s{};
  // The index that takes byte `from` of the step into a result register from source register src.
  auto pick = [](int from, int src) { return from / 16 == src ? uint8_t(from % 16) : kShuffleZero; };
  for (int j = 0; j < 3; ++j)
    for (int src = 0; src < 3; ++src)
      for (int i = 0; i < 16; ++i) {
        const int at = 16 * j + i;  // the result byte, pixel at / 3, channel at % 3
        s.to_plane[j][src][i] = pick(3 * i + j, src);
        s.from_plane[j][src][i] = at % 3 == src ? uint8_t(at / 3) : kShuffleZero;
        s.reverse[j][src][i] = pick(3 * (15 - at / 3) + at % 3, src);
      }
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 16; ++i) s.spread[j][i] = uint8_t((16 * j + i) / 3);
  return s;
}

alignas(16) inline constexpr StepShuffles kStepShuffles = MakeStepShuffles();

inline __m128i LoadIndex(const uint8_t (&index)[16]) { return _mm_load_si128(reinterpret_cast<const __m128i*>(index)); }

OMBRIX_TARGET_SSSE3 inline __m128i Gather3(const __m128i (&v)[3], const uint8_t (&index)[3][16]) {
  return _mm_or_si128(
      _mm_or_si128(_mm_shuffle_epi8(v[0], LoadIndex(index[0])), _mm_shuffle_epi8(v[1], LoadIndex(index[1]))),
      _mm_shuffle_epi8(v[2], LoadIndex(index[2])));
}

OMBRIX_TARGET_SSSE3 inline Pixels16 Shuffled(const Pixels16& s, const StepShuffle& index) {
  return {{Gather3(s.v, index[0]), Gather3(s.v, index[1]), Gather3(s.v, index[2])}};
}

// Pixels to planes (blue, green, red) and back.
OMBRIX_TARGET_SSSE3 inline Pixels16 ToPlanes(const Pixels16& s) { return Shuffled(s, kStepShuffles.to_plane); }
OMBRIX_TARGET_SSSE3 inline Pixels16 FromPlanes(const Pixels16& planes) {
  return Shuffled(planes, kStepShuffles.from_plane);
}

// One value per pixel (byte i for pixel i), repeated over the pixel's three bytes.
OMBRIX_TARGET_SSSE3 inline Pixels16 Spread(__m128i per_pixel) {
  return {{_mm_shuffle_epi8(per_pixel, LoadIndex(kStepShuffles.spread[0])),
           _mm_shuffle_epi8(per_pixel, LoadIndex(kStepShuffles.spread[1])),
           _mm_shuffle_epi8(per_pixel, LoadIndex(kStepShuffles.spread[2]))}};
}

// Channel sums of the 16 pixels of a step in planes, as words: pixels 0-7 in lo, 8-15 in hi.
inline void Sums(const Pixels16& planes, __m128i& lo, __m128i& hi) {
  const __m128i zero = _mm_setzero_si128();
  lo = _mm_add_epi16(_mm_add_epi16(_mm_unpacklo_epi8(planes.v[0], zero), _mm_unpacklo_epi8(planes.v[1], zero)),
                     _mm_unpacklo_epi8(planes.v[2], zero));
  hi = _mm_add_epi16(_mm_add_epi16(_mm_unpackhi_epi8(planes.v[0], zero), _mm_unpackhi_epi8(planes.v[1], zero)),
                     _mm_unpackhi_epi8(planes.v[2], zero));
}

// s / 3 for word lanes 0 <= s <= 765 as (s * 43691) >> 17: 43691 = (2^17 + 1) / 3, so the product
// overshoots s / 3 by s / 393216 < 1/500, too little to reach the next integer from a remainder
// of at most 2/3.
inline __m128i ThirdOf(__m128i sums) { return _mm_srli_epi16(_mm_mulhi_epu16(sums, _mm_set1_epi16(-21845)), 1); }

// The pixels' means (blue + green + red) / 3 as words, from a step in planes.
inline void Means(const Pixels16& planes, __m128i& lo, __m128i& hi) {
  Sums(planes, lo, hi);
  lo = ThirdOf(lo);
  hi = ThirdOf(hi);
}

}  // namespace OMBRIX_LANES_NAMESPACE
}  // namespace ombrix::kit::simd

#endif  // OMBRIX_SIMD_X86
