// The staged progress module loaded by path and bound by name, as the render engine binds it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/omout_binding.h"
#include "core/platform/dynamic_library.h"

namespace ombrix::test {

inline std::string StagedOmOutPath() { return std::string(OMBRIX_STAGE_DIR) + "/Programs/OmOutX.Omw"; }

struct OmOutBinding : ProgressFunctions {
  platform::LibraryHandle library = nullptr;

  // Loads the staged module; every name must be found.
  void Load() {
    library = platform::OpenLibrary(StagedOmOutPath().c_str());
    ASSERT_NE(library, nullptr) << platform::LibraryError();
    static_cast<ProgressFunctions&>(*this) = BindOmOut(library);
    for (const char* name : UnboundOmOutNames(*this)) ADD_FAILURE() << "the module does not export " << name;
  }
};

}  // namespace ombrix::test
