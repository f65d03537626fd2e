// The progress module bound at run time by its path ("OmOutDll"): its exported names and the
// called-from-renderer flag written into its data word.
#pragma once

#include <cstdint>
#include <string>

#include "core/omout_binding.h"
#include "core/platform/dynamic_library.h"

namespace ombrix::engine {

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
