// The progress module bound at run time by its path ("OmOutDll"): the nine exported names and
// the called-from-renderer flag written into its data word.
#pragma once

#include <cstdint>
#include <string>

#include "core/platform/dynamic_library.h"

namespace ombrix::engine {

struct ProgressFunctions {
  void (*OmInitOmOutDll)(void) = nullptr;
  void (*OmOpenProgress)(int32_t host_call) = nullptr;
  void (*OmInitProgress)(int32_t bar, int32_t low, int32_t high) = nullptr;
  void (*OmSetMessage)(const char* caption, const char* line1, const char* line2, const char* info) = nullptr;
  void (*OmShowProgress)(int32_t command) = nullptr;
  int32_t (*OmUpdateProgress)(int32_t bar, int32_t position) = nullptr;
  void (*OmCloseProgress)(void) = nullptr;
  int32_t (*OpenMessageWin)(const char* title, const char* text, int32_t kind) = nullptr;
  int32_t* OmOutLightWaveCall = nullptr;
};

class ProgressBinding {
 public:
  // The module's path, read from "OmOutDll" before the first Bind.
  void SetModulePath(const std::string& path) { path_ = path; }
  const std::string& ModulePath() const { return path_; }
  // Loads the module and binds its names; with open, opens the progress window (show) or only
  // prepares message windows. 0 after showing what went wrong.
  int Bind(bool open, bool show);
  // Closes the progress window and unloads the module.
  void Unbind();
  bool IsBound() const { return library_ != nullptr; }
  const ProgressFunctions& Functions() const { return functions_; }

  // The called-from-renderer flag, written into the module's data word at every Bind.
  static void SetRendererCall(int32_t value) { renderer_call_ = value; }
  static int32_t RendererCall() { return renderer_call_; }

  // OmSetMessage, or the "NULL Pointer" message box when it is not bound.
  void SetMessage(const char* caption, const char* line1, const char* line2, const char* info) const;
  // OpenMessageWin when bound; otherwise a platform message box (questions answered "No").
  int32_t Message(const char* title, const char* text, int32_t kind) const;

 private:
  std::string path_;
  platform::LibraryHandle library_ = nullptr;
  ProgressFunctions functions_;
  static int32_t renderer_call_;
};

}  // namespace ombrix::engine
