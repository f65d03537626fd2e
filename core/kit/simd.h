// Which vector loops run. Every loop written with vector instructions has a plain twin that gives
// the same bytes; the level in force says the widest instructions the loops may use. It starts at
// what the processor offers, capped by the environment variable OMBRIX_SIMD, and tests lower it
// further to compare the loops with their twins.
//
// OMBRIX_SIMD: "plain" runs the plain twins only; "sse2", "ssse3" or "avx2" allows at most that
// level; unset or empty leaves the processor's level. Any other text counts as "plain": the plain
// loops give the same results, so a word the code does not know can cost speed but never change
// a picture.
//
// Everything here is inline: the image-filter module and every plug-in each keep their own level,
// all read from the same variable.
#pragma once

#include <cstdlib>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define OMBRIX_SIMD_X86 1
#else
#define OMBRIX_SIMD_X86 0
#endif

namespace ombrix::kit::simd {

// Ordered: a loop written for one level also runs at every higher one (every processor with AVX2
// has SSSE3, every x86-64 processor SSE2).
enum class Level : int { kPlain = 0, kSse2 = 1, kSsse3 = 2, kAvx2 = 3 };

// The widest level the processor runs. The processor's features are read here first, so the
// answer is right even during static initialisation, before the run time has read them.
inline Level ProcessorLevel() {
#if OMBRIX_SIMD_X86
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) return Level::kAvx2;
  if (__builtin_cpu_supports("ssse3")) return Level::kSsse3;
  return Level::kSse2;
#else
  return Level::kPlain;
#endif
}

namespace detail {

// ASCII letters compared without case, independent of the process locale.
inline bool SameWord(const char* text, const char* word) {
  for (;; ++text, ++word) {
    const char a = *text >= 'A' && *text <= 'Z' ? char(*text - 'A' + 'a') : *text;
    if (a != *word) return false;
    if (a == '\0') return true;
  }
}

}  // namespace detail

// The level that a value of OMBRIX_SIMD (null when unset) allows on a processor offering `offered`.
inline Level LevelAllowedBy(const char* text, Level offered) {
  if (text == nullptr || *text == '\0') return offered;
  Level named = Level::kPlain;
  if (detail::SameWord(text, "sse2")) named = Level::kSse2;
  if (detail::SameWord(text, "ssse3")) named = Level::kSsse3;
  if (detail::SameWord(text, "avx2")) named = Level::kAvx2;
  return named < offered ? named : offered;
}

// The processor's level capped by OMBRIX_SIMD, read once.
inline Level AllowedLevel() {
  static const Level allowed = LevelAllowedBy(std::getenv("OMBRIX_SIMD"), ProcessorLevel());
  return allowed;
}

namespace detail {

inline Level& LevelInForce() {
  static Level level = AllowedLevel();
  return level;
}

}  // namespace detail

inline Level CurrentLevel() { return detail::LevelInForce(); }
// True when loops written for `level` may run.
inline bool Uses(Level level) { return CurrentLevel() >= level; }

// Sets the level in force, never above AllowedLevel(); returns the level set. For the tests that
// compare a loop with its twins; not for concurrent use.
inline Level SetLevel(Level level) {
  detail::LevelInForce() = level < AllowedLevel() ? level : AllowedLevel();
  return CurrentLevel();
}

// Sets a level for the life of the object and restores the one before.
class ScopedLevel {
 public:
  explicit ScopedLevel(Level level) : before_(CurrentLevel()) { SetLevel(level); }
  ~ScopedLevel() { SetLevel(before_); }
  ScopedLevel(const ScopedLevel&) = delete;
  ScopedLevel& operator=(const ScopedLevel&) = delete;

 private:
  Level before_;
};

// Every level from kPlain up, in order; a test walks those up to AllowedLevel().
inline constexpr Level kLevels[] = {Level::kPlain, Level::kSse2, Level::kSsse3, Level::kAvx2};

}  // namespace ombrix::kit::simd
