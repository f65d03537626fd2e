// The floor loop of a horizontal streak through its ramp's byte weights (streak.h), written once
// for both register widths (core/kit/simd_lanes.h): streak.cpp runs it eight channels a group
// with SSE2, streak_avx2.cpp, compiled for AVX2, sixteen a group.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/kit/simd_lanes.h"

namespace ombrix::pic {

#if OMBRIX_SIMD_X86
inline namespace OMBRIX_LANES_NAMESPACE {

namespace lanes = kit::simd;

// Walks the bytes of a horizontal streak in groups of `kGroup` channels: whole groups, then the
// last 1 .. kGroup - 1 bytes. Where the row goes on for the rest of that group (the seed and its
// right neighbours), those lanes are loaded and stored back unchanged, their weight being 0; at
// the right edge of the picture the bytes go through a copy, so that nothing beyond the row is
// touched. kGroup is not a multiple of 3, so the channels of the groups repeat every three
// groups: group(p, turn, b) draws the group at p, byte b of the streak, turn being the group's
// place (0, 1, 2) in that cycle.
template <size_t kGroup, typename Group>
inline void WalkGroups(uint8_t* first, size_t bytes, size_t room, Group&& group) {
  size_t b = 0;
  for (; b + 3 * kGroup <= bytes; b += 3 * kGroup) {
    group(first + b, 0, b);
    group(first + b + kGroup, 1, b + kGroup);
    group(first + b + 2 * kGroup, 2, b + 2 * kGroup);
  }
  int turn = 0;
  for (; b + kGroup <= bytes; b += kGroup) group(first + b, turn++, b);
  if (b == bytes) return;
  const size_t rest = bytes - b;
  if (room >= kGroup - rest) {
    group(first + b, turn, b);
  } else {
    alignas(32) uint8_t tail[kGroup] = {};
    std::memcpy(tail, first + b, rest);
    group(tail, turn, b);
    std::memcpy(first + b, tail, rest);
  }
}

// The seed's channels in the 16-bit lanes of the three turns of groups: lane i of turn g holds
// channel (g * kGroup + i) % 3 of the seed.
inline void SeedTurns(lanes::Lanes16, const uint8_t* seed, __m128i (&turns)[3]) {
  // Eight lanes a group: the turns start at channels 0, 2, 1, four lanes at a time from the
  // patterns 0 1 2 0, 1 2 0 1, 2 0 1 2.
  const uint64_t c0 = seed[0], c1 = seed[1], c2 = seed[2];
  const int64_t lanes0120 = int64_t(c0 | c1 << 16 | c2 << 32 | c0 << 48);
  const int64_t lanes1201 = int64_t(c1 | c2 << 16 | c0 << 32 | c1 << 48);
  const int64_t lanes2012 = int64_t(c2 | c0 << 16 | c1 << 32 | c2 << 48);
  turns[0] = _mm_set_epi64x(lanes1201, lanes0120);
  turns[1] = _mm_set_epi64x(lanes0120, lanes2012);
  turns[2] = _mm_set_epi64x(lanes2012, lanes1201);
}

#if defined(__AVX2__)
inline void SeedTurns(lanes::Lanes32, const uint8_t* seed, __m256i (&turns)[3]) {
  // Sixteen lanes a group: the turns start at channels 0, 1, 2, each lane picked from the seed's
  // three bytes with its high byte cleared.
  alignas(32) static constexpr uint8_t kPick[3][32] = {
      {0, 128, 1, 128, 2, 128, 0, 128, 1, 128, 2, 128, 0, 128, 1, 128,
       2, 128, 0, 128, 1, 128, 2, 128, 0, 128, 1, 128, 2, 128, 0, 128},
      {1, 128, 2, 128, 0, 128, 1, 128, 2, 128, 0, 128, 1, 128, 2, 128,
       0, 128, 1, 128, 2, 128, 0, 128, 1, 128, 2, 128, 0, 128, 1, 128},
      {2, 128, 0, 128, 1, 128, 2, 128, 0, 128, 1, 128, 2, 128, 0, 128,
       1, 128, 2, 128, 0, 128, 1, 128, 2, 128, 0, 128, 1, 128, 2, 128},
  };
  const __m256i colour =
      _mm256_set1_epi32(int32_t(uint32_t(seed[0]) | uint32_t(seed[1]) << 8 | uint32_t(seed[2]) << 16));
  for (int g = 0; g < 3; ++g)
    turns[g] = _mm256_shuffle_epi8(colour, _mm256_load_si256(reinterpret_cast<const __m256i*>(kPick[g])));
}
#endif

// The floor change of every channel of a streak of `steps` pixels from `first` up to the seed,
// kBytes / 2 channels at a time in 16-bit lanes: c + sign(d) * floor(|d| * t / s), d = seed - c,
// from the ramp's byte weights. `room` is the number of bytes of the row from the seed on. The
// seed is read before anything is stored, so it may be the pixel after the streak itself.
template <class L>
void StreakFloorLoop(const uint16_t* weights, int32_t steps, uint8_t* first, const uint8_t* seed, size_t room) {
  using R = typename L::Reg;
  R turns[3];
  SeedTurns(L{}, seed, turns);
  WalkGroups<L::kBytes / 2>(first, 3 * size_t(steps), room, [&](uint8_t* p, int turn, size_t b) {
    const R c = L::LoadWidened(p);
    const R d = lanes::SubI16(turns[turn], c);
    const R q = lanes::MulhiU16(lanes::AbsI16(d), L::Load(weights + b));
    L::StoreNarrowed(p, lanes::AddI16(c, lanes::CopySignI16(q, d)));
  });
}

}  // namespace OMBRIX_LANES_NAMESPACE

// The loop above sixteen channels a group (streak_avx2.cpp); call only where
// kit::simd::Uses(Level::kAvx2).
void StreakFloorAvx2(const uint16_t* weights, int32_t steps, uint8_t* first, const uint8_t* seed, size_t room);
#endif

}  // namespace ombrix::pic
