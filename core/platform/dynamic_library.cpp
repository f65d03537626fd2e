// Shared-object loading with dlopen.
#include "core/platform/dynamic_library.h"

#include <dlfcn.h>

#include "core/platform/paths.h"

namespace ombrix::platform {

LibraryHandle OpenLibrary(const char* path) {
  if (path == nullptr) return nullptr;
  return dlopen(path, RTLD_NOW | RTLD_LOCAL);
}

void* LibrarySymbol(LibraryHandle library, const char* name) {
  if (library == nullptr || name == nullptr) return nullptr;
  return dlsym(library, name);
}

void CloseLibrary(LibraryHandle library) {
  if (library != nullptr) dlclose(library);
}

std::string LibraryError() {
  const char* text = dlerror();
  return text != nullptr ? text : "";
}

std::string ModuleDirectoryOf(const void* address) {
  Dl_info where{};
  if (dladdr(address, &where) == 0 || where.dli_fname == nullptr) return {};
  return DirectoryPart(where.dli_fname);
}

bool PinModuleOf(const void* address) {
  Dl_info where{};
  if (dladdr(address, &where) == 0 || where.dli_fname == nullptr) return false;
  // Reopening an already loaded object with RTLD_NODELETE marks it as never to be unloaded; the
  // extra reference is never dropped.
  return dlopen(where.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
}

}  // namespace ombrix::platform
