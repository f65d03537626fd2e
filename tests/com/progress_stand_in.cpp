// A stand-in progress module for end-to-end renders in tests: the nine names the image-filter
// module binds, without windows. Messages and info texts go to standard error, so a test can
// read what the render showed; progress always goes on.
#include <cstdint>
#include <cstdio>

#define STAND_IN_EXPORT extern "C" __attribute__((visibility("default")))

extern "C" {
__attribute__((visibility("default"))) int32_t OmOutLightWaveCall = 0;
}

STAND_IN_EXPORT void OmInitOmOutDll(void) {}
STAND_IN_EXPORT void OmOpenProgress(int32_t) {}
STAND_IN_EXPORT void OmInitProgress(int32_t, int32_t, int32_t) {}
STAND_IN_EXPORT void OmSetMessage(const char*, const char*, const char*, const char* info) {
  if (info != nullptr) std::fprintf(stderr, "progress info: %s\n", info);
}
STAND_IN_EXPORT void OmShowProgress(int32_t) {}
STAND_IN_EXPORT int32_t OmUpdateProgress(int32_t, int32_t) { return 1; }
STAND_IN_EXPORT void OmCloseProgress(void) {}
STAND_IN_EXPORT int32_t OpenMessageWin(const char* title, const char* text, int32_t) {
  std::fprintf(stderr, "%s: %s\n", title != nullptr ? title : "", text != nullptr ? text : "");
  return 1;
}
