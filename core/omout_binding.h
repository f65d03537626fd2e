// The progress module bound by name, as the render engine, omout-try and the tests bind it: one
// pointer for each export of the table (core/omout_table.h), looked up in a loaded module.
#pragma once

#include <vector>

#include "core/omout_api.h"
#include "core/platform/dynamic_library.h"

namespace ombrix {

// Members carry the exported names; a name the module does not export stays null, so callers
// test a pointer before they call it.
struct ProgressFunctions {
#define OMBRIX_OMOUT_MEMBER(name, ...) decltype(&::name) name = nullptr;
  OMBRIX_OMOUT_TABLE(OMBRIX_OMOUT_MEMBER, OMBRIX_OMOUT_MEMBER)
#undef OMBRIX_OMOUT_MEMBER
};

// Looks every name of the table up in a loaded module.
inline ProgressFunctions BindOmOut(platform::LibraryHandle library) {
  ProgressFunctions f;
#define OMBRIX_OMOUT_LOOK_UP(name, ...) \
  f.name = reinterpret_cast<decltype(f.name)>(platform::LibrarySymbol(library, #name));
  OMBRIX_OMOUT_TABLE(OMBRIX_OMOUT_LOOK_UP, OMBRIX_OMOUT_LOOK_UP)
#undef OMBRIX_OMOUT_LOOK_UP
  return f;
}

// The names that BindOmOut found no export for, in table order.
inline std::vector<const char*> UnboundOmOutNames(const ProgressFunctions& f) {
  std::vector<const char*> names;
#define OMBRIX_OMOUT_UNBOUND(name, ...) \
  if (f.name == nullptr) names.push_back(#name);
  OMBRIX_OMOUT_TABLE(OMBRIX_OMOUT_UNBOUND, OMBRIX_OMOUT_UNBOUND)
#undef OMBRIX_OMOUT_UNBOUND
  return names;
}

}  // namespace ombrix
