// The exports of the progress module OmOutX.Omw, written once: each function with its result and
// parameters, then the data word. Everything else that names them is made from this list: the
// declarations (core/omout_api.h), the binding by name (core/omout_binding.h), the module's
// version script and the test of its exports (cmake/OmOutNames.cmake reads this file, so keep
// one entry a line). The order is the order in which the render engine binds them.
//
//   OmOpenProgress    opens the progress window and makes it the current one; host_call is
//                     non-zero inside a host without an application object
//   OmInitProgress    sets the range of bar 1 (overall) or bar 2 (current step); low and high
//                     are taken as 16-bit
//   OmSetMessage      each non-null text replaces the window caption, the upper line, the lower
//                     line, the info area
//   OmUpdateProgress  moves bar 1 or 2, dispatches pending window events without waiting and
//                     returns the continue flag: 1 to go on, 0 once the user has cancelled; 1
//                     when no progress window is open
//   OmCloseProgress   closes the current progress window
//   OmShowProgress    shows (1, 5) or hides (0) the progress window
//   OpenMessageWin    shows a modal message; returns kOmOutYes, kOmOutNo or kOmOutClosed
//   OmInitOmOutDll    creates the module's own application object when it is missing and sets
//                     OmOutLightWaveCall to 1
//   OmOutLightWaveCall  non-zero: the caller runs inside a host without an application object;
//                     written by the caller right after loading the module
#pragma once

#include <cstdint>

// FUNCTION(name, result, parameters) for each function, DATA(name, type) for the data word.
#define OMBRIX_OMOUT_TABLE(FUNCTION, DATA)                                                                    \
  FUNCTION(OmOpenProgress, void, (int32_t host_call))                                                         \
  FUNCTION(OmInitProgress, void, (int32_t bar, int32_t low, int32_t high))                                    \
  FUNCTION(OmSetMessage, void, (const char* caption, const char* line1, const char* line2, const char* info)) \
  FUNCTION(OmUpdateProgress, int32_t, (int32_t bar, int32_t position))                                        \
  FUNCTION(OmCloseProgress, void, (void))                                                                     \
  FUNCTION(OmShowProgress, void, (int32_t show_command))                                                      \
  FUNCTION(OpenMessageWin, int32_t, (const char* title, const char* text, int32_t kind))                      \
  FUNCTION(OmInitOmOutDll, void, (void))                                                                      \
  DATA(OmOutLightWaveCall, int32_t)
