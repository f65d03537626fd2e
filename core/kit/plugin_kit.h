// The plug-in kit: what every filter module links in. It answers both module exports from the
// module's catalogue and gives the catalogue helpers (RegisterFilter, SetHelp, SetParam,
// SetOption) that a module's catalogue function calls.
#pragma once

#include <cstdint>

#include "core/identification.h"
#include "core/records.h"

// Adds one filter to the module's catalogue, after those registered before it (command 1
// empties the catalogue before the module's catalogue function registers its filters).
int32_t RegisterFilter(const char* name, ApplyRoutine apply, SetupRoutine setup, intptr_t user_value);
// These act on the filter that RegisterFilter made last.
void SetHelp(const char* file, int32_t topic);
int32_t SetParam(int32_t slot, const char* name, const char* value, const char* step, int16_t kind, const char* extra);
int32_t SetOption(int32_t slot, const char* name, int16_t state, int16_t group);

namespace ombrix::kit {

// The host block of the call in progress (every call of the filter entry stores it).
HostBlock* CurrentHostBlock();

// Bodies of the two exports; the OMBRIX_FILTER_PLUGIN macro forwards to them. Nothing thrown by
// the module (an allocation that fails inside a filter) leaves them: the call gives 0.
int32_t PluginEntry(const PluginInfo* info, int32_t type, int32_t a, void* out);
int32_t FilterEntry(const PluginInfo* info, int32_t command, int32_t zero, HostBlock* block);

// The descriptors registered so far (tests and the catalogue function's own checks).
int32_t FilterCount();
FilterDescriptor* Filter(int32_t index);

}  // namespace ombrix::kit

#define OMBRIX_EXPORT extern "C" __attribute__((visibility("default")))

// Declares the module's identification record and both exports. `catalogue` registers the
// module's filters in catalogue order.
#define OMBRIX_FILTER_PLUGIN(module_title, catalogue)                                                               \
  OMBRIX_EXPORT int32_t Ombrix_Filter_Plugin_Entry(int32_t command, int32_t zero, HostBlock* block);                \
  namespace {                                                                                                       \
  const int32_t kOmbrixKinds[] = {1, 0};                                                                            \
  const PluginExtension kOmbrixExtension = {"Ombrix Plug-ins Extension", 0, (catalogue), 0};                        \
  const PluginInfo kOmbrixPluginInfo = ombrix::MakePluginInfo((module_title), &ombrix::kZorvexRights, kOmbrixKinds, \
                                                              &kOmbrixExtension, Ombrix_Filter_Plugin_Entry);       \
  }                                                                                                                 \
  OMBRIX_EXPORT int32_t Zorvex_Plugin_Entry(int32_t type, int32_t a, void* out) {                                   \
    return ombrix::kit::PluginEntry(&kOmbrixPluginInfo, type, a, out);                                              \
  }                                                                                                                 \
  OMBRIX_EXPORT int32_t Ombrix_Filter_Plugin_Entry(int32_t command, int32_t zero, HostBlock* block) {               \
    return ombrix::kit::FilterEntry(&kOmbrixPluginInfo, command, zero, block);                                      \
  }
