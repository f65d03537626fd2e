// A silent progress module for benchmark renders: the nine names a render binds, doing nothing,
// so that renders measure the render engine and not a progress window.
#include <cstdint>
#include <cstdio>

#define OMBRIX_EXPORT extern "C" __attribute__((visibility("default")))

extern "C" {
__attribute__((visibility("default"))) int32_t OmOutLightWaveCall = 0;
}

OMBRIX_EXPORT void OmInitOmOutDll(void) {}
OMBRIX_EXPORT void OmOpenProgress(int32_t) {}
OMBRIX_EXPORT void OmInitProgress(int32_t, int32_t, int32_t) {}
OMBRIX_EXPORT void OmSetMessage(const char*, const char*, const char*, const char*) {}
OMBRIX_EXPORT void OmShowProgress(int32_t) {}
OMBRIX_EXPORT int32_t OmUpdateProgress(int32_t, int32_t) { return 1; }
OMBRIX_EXPORT void OmCloseProgress(void) {}
// Messages still reach the person running the benchmark: a render that says something is
// usually a render that did not do what was measured.
OMBRIX_EXPORT int32_t OpenMessageWin(const char* title, const char* text, int32_t) {
  std::fprintf(stderr, "bench: render says %s: %s\n", title != nullptr ? title : "", text != nullptr ? text : "");
  return 1;
}
