// The image-filter module the editor renders with: opened and identified at start-up, kept
// loaded for the test renders.
#pragma once

#include <string>

#include "core/platform/dynamic_library.h"

namespace ombrix::editor {

class FilterModule {
 public:
  FilterModule() = default;
  ~FilterModule();
  FilterModule(const FilterModule&) = delete;
  FilterModule& operator=(const FilterModule&) = delete;

  // Opens the module at path and checks its identification (module kind 1). On failure the
  // module stays closed and *message holds the text to show:
  //   "Cannot open file\n"<path>"."        the file cannot be opened for reading;
  //   "Cannot access library\n"<path>"."   the loader refuses it;
  //   "This version of Ombrix cannot recognize plug-in header\n"<path>"."  wrong identification.
  bool Open(const std::string& path, std::string* message);
  void Close();
  bool IsOpen() const { return module_ != nullptr; }
  const std::string& Path() const { return path_; }
  // An export of the open module, or null.
  void* Export(const char* name) const;

 private:
  platform::LibraryHandle module_ = nullptr;
  std::string path_;
};

}  // namespace ombrix::editor
