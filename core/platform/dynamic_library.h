// Loading shared objects and looking up their exports by name.
#pragma once

#include <string>

namespace ombrix::platform {

using LibraryHandle = void*;

// Loads the module at path with every symbol resolved now and kept local to it. Null on failure.
LibraryHandle OpenLibrary(const char* path);
// Address of an exported name, or null.
void* LibrarySymbol(LibraryHandle library, const char* name);
void CloseLibrary(LibraryHandle library);
// The loader's text for the last failure.
std::string LibraryError();
// Directory of the loaded module that contains the given address (a function of that module).
std::string ModuleDirectoryOf(const void* address);
// Keeps the loaded module that contains address in memory for the rest of the process, whatever
// its users close later. For modules that start toolkits whose threads and callbacks outlive them.
bool PinModuleOf(const void* address);

}  // namespace ombrix::platform
