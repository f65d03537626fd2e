// Module start and end, the last error, the share switch and the descriptor behind a handle.
#include "fileaccess/module.h"

#include "fileaccess/find.h"

namespace ombrix::fileaccess {

ModuleState& State() {
  static ModuleState state;
  return state;
}

void SetLastError(uint32_t code) {
  State().last_error = code == PELCOR_ERROR_SHARING_VIOLATION ? uint32_t(PELCOR_ERROR_FILE_NOT_FOUND) : code;
}

OpenFile* FindOpenFile(uint16_t handle) {
  OpenFile* file = State().table != nullptr ? State().table->Find(handle) : nullptr;
  if (file == nullptr) SetLastError(PELCOR_ERROR_INVALID_HANDLE);
  return file;
}

}  // namespace ombrix::fileaccess

using namespace ombrix::fileaccess;

extern "C" {

PELCOR_API PelcorBool bWF_InitModule(int32_t count) {
  return Guarded<PelcorBool>(0, [&]() -> PelcorBool {
    ModuleState& state = State();
    if (state.init_count > 0) {
      ++state.init_count;
      return Succeed();
    }
    if (count < 0 || count > HandleTable::kMaxCount) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
    state.table = std::make_unique<HandleTable>(uint16_t(count));
    // The handles are the library's; the process limit only has to make room for them.
    ombrix::platform::RaiseOpenFileLimit(uint64_t(count));
    state.init_count = 1;
    return Succeed();
  });
}

PELCOR_API int32_t WF_FinModule(void) {
  ModuleState& state = State();
  if (state.init_count > 0) --state.init_count;
  if (state.init_count == 0 && state.table != nullptr) {
    // Files still open would otherwise stay open, unreachable, until the process ends.
    for (OpenFile& file : state.table->RemoveAll()) ombrix::platform::CloseFileDescriptor(file.descriptor.fd);
    state.table.reset();
  }
  SetLastError(PELCOR_ERROR_NONE);
  return state.init_count;
}

PELCOR_API int32_t lWF_GetLastError(void) { return int32_t(State().last_error); }

PELCOR_API int hWF_GetH32(uint16_t handle) {
  const OpenFile* file = FindOpenFile(handle);
  if (file == nullptr) return PELCOR_INVALID_PLATFORM_HANDLE;
  SetLastError(PELCOR_ERROR_NONE);
  return file->descriptor.fd;
}

PELCOR_API PelcorBool bWF_ShareCompat(PelcorBool on) {
  const PelcorBool previous = State().share_compat ? 1 : 0;
  State().share_compat = on != 0;
  SetLastError(PELCOR_ERROR_NONE);
  return previous;
}

}  // extern "C"
