// Opening and identifying the image-filter module.
#include "editor/model/filter_module.h"

#include <cstdio>

#include "core/platform/files.h"
#include "core/plugin/plugin_host.h"

namespace ombrix::editor {
namespace {

std::string WithPath(const char* format, const std::string& path) {
  char text[1024];
  std::snprintf(text, sizeof text, format, path.c_str());
  return text;
}

}  // namespace

FilterModule::~FilterModule() { Close(); }

bool FilterModule::Open(const std::string& path, std::string* message) {
  Close();
  path_ = path;
  std::string failure;
  if (!platform::CanOpenForReading(path.c_str())) {
    failure = WithPath("Cannot open file\n\"%s\".", path);
  } else if ((module_ = platform::OpenLibrary(path.c_str())) == nullptr) {
    failure = WithPath("Cannot access library\n\"%s\".", path);
  } else if (!CheckModuleKind(module_, 1)) {
    Close();
    failure = WithPath("This version of Ombrix cannot recognize plug-in header\n\"%s\".", path);
  }
  if (message != nullptr) *message = failure;
  return failure.empty();
}

void FilterModule::Close() {
  platform::CloseLibrary(module_);
  module_ = nullptr;
}

void* FilterModule::Export(const char* name) const {
  return module_ != nullptr ? platform::LibrarySymbol(module_, name) : nullptr;
}

}  // namespace ombrix::editor
