// The library's module-wide state and the last-error rule every export follows.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <new>

#include "fileaccess/handle_table.h"
#include "fileaccess/pelcor.h"

namespace ombrix::fileaccess {

struct Search;  // find.cpp

struct ModuleState {
  int32_t init_count = 0;
  std::unique_ptr<HandleTable> table;
  uint32_t last_error = 0;
  bool share_compat = false;
  // Where the selection window puts the selected name for the owner's parent.
  char selection_buffer[260] = {};
  // Searches in progress, by the number kept in a find record; a record never holds a pointer
  // into the library, so a copied, stale or damaged record cannot make it read freed memory.
  std::map<uintptr_t, std::unique_ptr<Search>> searches;
  uintptr_t next_search = 1;
};

ModuleState& State();

// Stores the last error: 0 after success, the code otherwise, a sharing violation as
// "file not found" (callers of the original interface test for that number).
void SetLastError(uint32_t code);

inline PelcorBool Succeed() {
  SetLastError(PELCOR_ERROR_NONE);
  return 1;
}
inline PelcorBool Fail(uint32_t code) {
  SetLastError(code);
  return 0;
}

// For exports whose failure is a value of their own: stores the code and returns the value.
template <typename T>
T FailWithValue(uint32_t code, T value) {
  SetLastError(code);
  return value;
}

// The size results: 0xFFFFFFFF with the code stored; a size of 4 GiB or more does not fit.
inline uint32_t FailSize(uint32_t code) { return FailWithValue(code, 0xFFFFFFFFu); }
inline uint32_t SizeResult(uint64_t size) {
  if (size > 0xFFFFFFFFu) return FailSize(PELCOR_ERROR_FILE_TOO_LARGE);
  SetLastError(PELCOR_ERROR_NONE);
  return uint32_t(size);
}

// The open file behind a handle, or null with "invalid handle" stored.
OpenFile* FindOpenFile(uint16_t handle);

// Runs the body of an export; nothing thrown inside (only running out of memory can throw)
// leaves the library: it becomes the failure value with "not enough memory" stored.
template <typename Result, typename Body>
Result Guarded(Result failure, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    SetLastError(PELCOR_ERROR_NOT_ENOUGH_MEMORY);
    return failure;
  }
}

}  // namespace ombrix::fileaccess
