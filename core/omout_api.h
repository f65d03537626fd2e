// The exports of the progress module OmOutX.Omw, declared from their table (core/omout_table.h).
// The render engine never links the module: it loads it by path and binds the names
// (core/omout_binding.h). The module and the stand-ins of tests and benchmarks include this header
// for their definitions, which keeps every side on one declaration.
#pragma once

#include <cstdint>

#include "core/omout_table.h"

#if defined(_WIN32)
#define OMBRIX_OMOUT_EXPORT __declspec(dllexport)
#else
#define OMBRIX_OMOUT_EXPORT __attribute__((visibility("default")))
#endif

#define OMBRIX_OMOUT_DECLARE_FUNCTION(name, result, parameters) OMBRIX_OMOUT_EXPORT result name parameters;
#define OMBRIX_OMOUT_DECLARE_DATA(name, type) OMBRIX_OMOUT_EXPORT extern type name;

extern "C" {

// Kinds of OpenMessageWin: 0 asks a question ("Yes"/"No"); any other value informs ("OK").
enum : int32_t { kOmOutQuestion = 0, kOmOutInformation = 1 };
// Results of OpenMessageWin: "No", "Yes"/"OK"/Enter, and Escape or the close box.
enum : int32_t { kOmOutNo = 0, kOmOutYes = 1, kOmOutClosed = 2 };

OMBRIX_OMOUT_TABLE(OMBRIX_OMOUT_DECLARE_FUNCTION, OMBRIX_OMOUT_DECLARE_DATA)

}  // extern "C"

#undef OMBRIX_OMOUT_DECLARE_FUNCTION
#undef OMBRIX_OMOUT_DECLARE_DATA
