// The one table from system errors to the error codes callers of this library expect.
#pragma once

#include <cstdint>
#include <system_error>

namespace ombrix::fileaccess {

// The code for a system error; errors without a closer match give PELCOR_ERROR_GEN_FAILURE.
uint32_t CodeOfSystemError(std::errc error);
// The same for a failure about a path: a missing entry whose folder is missing too, or a
// path that is empty, is "path not found" rather than "file not found".
uint32_t CodeOfPathError(std::errc error, const char* path);

}  // namespace ombrix::fileaccess
