// A stand-in for the progress module that records every call in order and can be told to
// answer "stop" from a given call of OmUpdateProgress on a given bar.
#include <cstdio>
#include <string>

#include "core/omout_api.h"

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {
std::string g_log;
int g_stop_bar = 0;    // 0: never stop
int g_stop_after = 0;  // calls on that bar answered "go on" before the stop
int g_question_answer = 0;
bool g_stopped = false;

void Log(const std::string& line) { g_log += line + "\n"; }
std::string Text(const char* t) { return t == nullptr ? "(null)" : std::string("\"") + t + "\""; }
}  // namespace

extern "C" {

int32_t OmOutLightWaveCall = 0;

void OmInitOmOutDll() { Log("init-dll"); }
void OmOpenProgress(int32_t host) {
  Log("open " + std::to_string(host) + " flag " + std::to_string(OmOutLightWaveCall));
}
void OmInitProgress(int32_t bar, int32_t low, int32_t high) {
  Log("range " + std::to_string(bar) + " " + std::to_string(low) + " " + std::to_string(high));
}
void OmSetMessage(const char* caption, const char* line1, const char* line2, const char* info) {
  Log("message " + Text(caption) + " " + Text(line1) + " " + Text(line2) + " " + Text(info));
}
void OmShowProgress(int32_t command) { Log("show " + std::to_string(command)); }
int32_t OmUpdateProgress(int32_t bar, int32_t position) {
  Log("update " + std::to_string(bar) + " " + std::to_string(position));
  if (bar == g_stop_bar && g_stop_after-- <= 0) g_stopped = true;
  return g_stopped ? 0 : 1;
}
void OmCloseProgress() { Log("close"); }
int32_t OpenMessageWin(const char* title, const char* text, int32_t kind) {
  Log("window " + Text(title) + " " + Text(text) + " " + std::to_string(kind));
  return kind == 0 ? g_question_answer : 1;
}

}  // extern "C"

// Test controls.
EXPORT const char* FakeOmOut_Log() { return g_log.c_str(); }
EXPORT void FakeOmOut_Reset(int stop_bar, int stop_after, int question_answer) {
  g_log.clear();
  g_stop_bar = stop_bar;
  g_stop_after = stop_after;
  g_question_answer = question_answer;
  g_stopped = false;
}
