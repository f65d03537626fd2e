// The exports of the progress module OmOutX.Omw. The render engine never links the module: it
// loads it by path and looks these names up, so this header gives their C signatures, a pointer
// type for each and the names as text. The module includes it too, which keeps both sides on one
// declaration.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define OMBRIX_OMOUT_EXPORT __declspec(dllexport)
#else
#define OMBRIX_OMOUT_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

// Kinds of OpenMessageWin: 0 asks a question ("Yes"/"No"); any other value informs ("OK").
enum : int32_t { kOmOutQuestion = 0, kOmOutInformation = 1 };
// Results of OpenMessageWin: "No", "Yes"/"OK"/Enter, and Escape or the close box.
enum : int32_t { kOmOutNo = 0, kOmOutYes = 1, kOmOutClosed = 2 };

// Creates the module's own application object when it is missing and sets OmOutLightWaveCall to 1.
typedef void (*OmInitOmOutDllProc)(void);
// Opens the progress window and makes it the current one; host_call is non-zero inside a host
// without an application object.
typedef void (*OmOpenProgressProc)(int32_t host_call);
// Sets the range of bar 1 (overall) or bar 2 (current step); low and high are taken as 16-bit.
typedef void (*OmInitProgressProc)(int32_t bar, int32_t low, int32_t high);
// Each non-null text replaces the window caption, the upper line, the lower line, the info area.
typedef void (*OmSetMessageProc)(const char* caption, const char* line1, const char* line2, const char* info);
// Shows (1, 5) or hides (0) the progress window.
typedef void (*OmShowProgressProc)(int32_t show_command);
// Moves bar 1 or 2, dispatches pending window events without waiting and returns the continue
// flag: 1 to go on, 0 once the user has cancelled. 1 when no progress window is open.
typedef int32_t (*OmUpdateProgressProc)(int32_t bar, int32_t position);
// Closes the current progress window.
typedef void (*OmCloseProgressProc)(void);
// Shows a modal message; returns kOmOutYes, kOmOutNo or kOmOutClosed.
typedef int32_t (*OpenMessageWinProc)(const char* title, const char* text, int32_t kind);

OMBRIX_OMOUT_EXPORT void OmInitOmOutDll(void);
OMBRIX_OMOUT_EXPORT void OmOpenProgress(int32_t host_call);
OMBRIX_OMOUT_EXPORT void OmInitProgress(int32_t bar, int32_t low, int32_t high);
OMBRIX_OMOUT_EXPORT void OmSetMessage(const char* caption, const char* line1, const char* line2, const char* info);
OMBRIX_OMOUT_EXPORT void OmShowProgress(int32_t show_command);
OMBRIX_OMOUT_EXPORT int32_t OmUpdateProgress(int32_t bar, int32_t position);
OMBRIX_OMOUT_EXPORT void OmCloseProgress(void);
OMBRIX_OMOUT_EXPORT int32_t OpenMessageWin(const char* title, const char* text, int32_t kind);
// Non-zero: the caller runs inside a host without an application object. Written by the caller
// right after loading the module.
OMBRIX_OMOUT_EXPORT extern int32_t OmOutLightWaveCall;

}  // extern "C"

namespace ombrix::omout {

inline constexpr const char* kInitOmOutDll = "OmInitOmOutDll";
inline constexpr const char* kOpenProgress = "OmOpenProgress";
inline constexpr const char* kInitProgress = "OmInitProgress";
inline constexpr const char* kSetMessage = "OmSetMessage";
inline constexpr const char* kShowProgress = "OmShowProgress";
inline constexpr const char* kUpdateProgress = "OmUpdateProgress";
inline constexpr const char* kCloseProgress = "OmCloseProgress";
inline constexpr const char* kOpenMessageWin = "OpenMessageWin";
inline constexpr const char* kLightWaveCall = "OmOutLightWaveCall";

// The nine names, in the order the render engine binds them.
inline constexpr const char* kAllNames[] = {kOpenProgress,   kInitProgress,  kSetMessage,
                                            kUpdateProgress, kCloseProgress, kShowProgress,
                                            kOpenMessageWin, kInitOmOutDll,  kLightWaveCall};

}  // namespace ombrix::omout
