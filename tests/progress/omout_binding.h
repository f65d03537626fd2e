// The progress module loaded by path and bound by name, as the render engine binds it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/omout_api.h"
#include "core/platform/dynamic_library.h"

namespace ombrix::test {

inline std::string StagedOmOutPath() { return std::string(OMBRIX_STAGE_DIR) + "/Programs/OmOutX.Omw"; }

struct OmOutBinding {
  platform::LibraryHandle library = nullptr;
  OmInitOmOutDllProc init_dll = nullptr;
  OmOpenProgressProc open = nullptr;
  OmInitProgressProc init = nullptr;
  OmSetMessageProc set_message = nullptr;
  OmShowProgressProc show = nullptr;
  OmUpdateProgressProc update = nullptr;
  OmCloseProgressProc close = nullptr;
  OpenMessageWinProc message = nullptr;
  int32_t* lightwave_call = nullptr;

  // Loads the staged module; every name must be found.
  void Load() {
    library = platform::OpenLibrary(StagedOmOutPath().c_str());
    ASSERT_NE(library, nullptr) << platform::LibraryError();
    Find(omout::kInitOmOutDll, init_dll);
    Find(omout::kOpenProgress, open);
    Find(omout::kInitProgress, init);
    Find(omout::kSetMessage, set_message);
    Find(omout::kShowProgress, show);
    Find(omout::kUpdateProgress, update);
    Find(omout::kCloseProgress, close);
    Find(omout::kOpenMessageWin, message);
    Find(omout::kLightWaveCall, lightwave_call);
  }

  template <typename T>
  void Find(const char* name, T& target) {
    target = reinterpret_cast<T>(platform::LibrarySymbol(library, name));
    EXPECT_NE(target, nullptr) << name;
  }
};

}  // namespace ombrix::test
