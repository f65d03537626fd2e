// A progress module without windows, for renders that measure or test the render engine rather
// than a progress display: the exports of the progress module doing nothing, progress always
// going on. Messages still go to standard error: a render that says something is usually a render
// that did not do what was asked. Built with OMBRIX_STAND_IN_SHOWS_INFO it also writes every info
// text, so that a test can read what the render showed.
#include <cstdio>

#include "core/omout_api.h"

extern "C" {

int32_t OmOutLightWaveCall = 0;

void OmInitOmOutDll(void) {}
void OmOpenProgress(int32_t) {}
void OmInitProgress(int32_t, int32_t, int32_t) {}
void OmSetMessage(const char*, const char*, const char*, const char* info) {
#if defined(OMBRIX_STAND_IN_SHOWS_INFO)
  if (info != nullptr) std::fprintf(stderr, "progress info: %s\n", info);
#else
  (void)info;
#endif
}
void OmShowProgress(int32_t) {}
int32_t OmUpdateProgress(int32_t, int32_t) { return 1; }
void OmCloseProgress(void) {}
int32_t OpenMessageWin(const char* title, const char* text, int32_t) {
  std::fprintf(stderr, "render says %s: %s\n", title != nullptr ? title : "", text != nullptr ? text : "");
  return 1;
}

}  // extern "C"
