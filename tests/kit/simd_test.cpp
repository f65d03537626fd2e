// The SIMD level: what OMBRIX_SIMD allows, that tests can lower it but never raise it past that,
// and that the processor is read correctly even from a static initialiser.
#include "core/kit/simd.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace ombrix::kit::simd;

// Read while the program's statics are being initialised, before main and before the run time
// has necessarily looked at the processor.
const Level kLevelAtStart = ProcessorLevel();
const Level kInForceAtStart = CurrentLevel();

TEST(SimdLevel, TheSwitchCapsTheProcessorsLevel) {
  EXPECT_EQ(LevelAllowedBy(nullptr, Level::kAvx2), Level::kAvx2);
  EXPECT_EQ(LevelAllowedBy("", Level::kSsse3), Level::kSsse3);
  EXPECT_EQ(LevelAllowedBy("plain", Level::kAvx2), Level::kPlain);
  EXPECT_EQ(LevelAllowedBy("PLAIN", Level::kAvx2), Level::kPlain);
  EXPECT_EQ(LevelAllowedBy("sse2", Level::kAvx2), Level::kSse2);
  EXPECT_EQ(LevelAllowedBy("SSSE3", Level::kAvx2), Level::kSsse3);
  EXPECT_EQ(LevelAllowedBy("Avx2", Level::kAvx2), Level::kAvx2);
  // Never above what the processor offers.
  EXPECT_EQ(LevelAllowedBy("avx2", Level::kSse2), Level::kSse2);
  EXPECT_EQ(LevelAllowedBy("sse2", Level::kPlain), Level::kPlain);
  // A word it does not know runs the plain loops, which give the same results.
  for (const char* unknown : {"off", "avx512", "sse2 ", "avx", "0", "plainer"})
    EXPECT_EQ(LevelAllowedBy(unknown, Level::kAvx2), Level::kPlain) << unknown;
}

TEST(SimdLevel, FollowsTheEnvironmentAndTheProcessor) {
  EXPECT_EQ(AllowedLevel(), LevelAllowedBy(std::getenv("OMBRIX_SIMD"), ProcessorLevel()));
#if OMBRIX_SIMD_X86
  EXPECT_GE(ProcessorLevel(), Level::kSse2);  // part of every x86-64 processor
#endif
  // The same answers from a static initialiser as from main.
  EXPECT_EQ(kLevelAtStart, ProcessorLevel());
  EXPECT_EQ(kInForceAtStart, AllowedLevel());
}

TEST(SimdLevel, TestsLowerItButNeverRaiseItPastTheAllowedLevel) {
  const Level allowed = AllowedLevel();
  {
    const ScopedLevel plain(Level::kPlain);
    EXPECT_EQ(CurrentLevel(), Level::kPlain);
    EXPECT_FALSE(Uses(Level::kSse2));
    EXPECT_TRUE(Uses(Level::kPlain));
    EXPECT_EQ(SetLevel(Level::kAvx2), allowed);
  }
  EXPECT_EQ(CurrentLevel(), allowed);
}

}  // namespace
