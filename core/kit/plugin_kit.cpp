// Module side of the plug-in interface: the catalogue arrays, the helpers that fill them and the
// command dispatch of the filter entry.
#include "core/kit/plugin_kit.h"

#include <cstdlib>
#include <cstring>

#include "core/boundary.h"

namespace {

// Module-wide, as hosts expect: one catalogue, one parallel array of apply routines, and the
// last host block. Calls into one module never overlap.
FilterDescriptor* g_descriptors = nullptr;
ApplyRoutine* g_apply_routines = nullptr;
int32_t g_count = 0;
HostBlock* g_host_block = nullptr;
const char* g_module_title = "";  // set by the filter entry before the catalogue is built

void CopyField(char* field, const char* text, size_t max_chars) {
  std::memset(field, 0, max_chars + 1);
  if (text != nullptr) std::strncpy(field, text, max_chars);
}

FilterDescriptor* CurrentDescriptor() {
  return g_count > 0 && g_descriptors != nullptr ? &g_descriptors[g_count - 1] : nullptr;
}

void ReleaseCatalogue() {
  for (int32_t i = 0; i < g_count; ++i) {
    std::free(g_descriptors[i].parameters);
    std::free(g_descriptors[i].options);
    std::free(g_descriptors[i].xalpha);
  }
  std::free(g_descriptors);
  std::free(g_apply_routines);
  g_descriptors = nullptr;
  g_apply_routines = nullptr;
  g_count = 0;
}

}  // namespace

int32_t RegisterFilter(const char* name, ApplyRoutine apply, SetupRoutine setup, intptr_t user_value) {
  auto* parameters = static_cast<ParameterRecord*>(std::calloc(kSlotCount, sizeof(ParameterRecord)));
  auto* options = static_cast<OptionRecord*>(std::calloc(kSlotCount, sizeof(OptionRecord)));
  auto* xalpha = static_cast<XAlphaRecord*>(std::calloc(1, sizeof(XAlphaRecord)));
  auto* descriptors =
      parameters && options && xalpha
          ? static_cast<FilterDescriptor*>(std::realloc(g_descriptors, sizeof(FilterDescriptor) * size_t(g_count + 1)))
          : nullptr;
  if (descriptors != nullptr) g_descriptors = descriptors;
  auto* routines =
      descriptors
          ? static_cast<ApplyRoutine*>(std::realloc(g_apply_routines, sizeof(ApplyRoutine) * size_t(g_count + 1)))
          : nullptr;
  if (routines != nullptr) g_apply_routines = routines;
  if (routines == nullptr) {
    // The arrays keep their old entries; a grown descriptor array only has spare room.
    std::free(parameters);
    std::free(options);
    std::free(xalpha);
    return 0;
  }

  FilterDescriptor& d = g_descriptors[g_count];
  std::memset(&d, 0, sizeof d);
  CopyField(d.name, name, 254);
  CopyField(d.title, g_module_title, 254);
  d.parameter_count = kHighestSlot;
  d.option_count = kHighestSlot;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    options[slot].state = -1;
    options[slot].group = 1;
  }
  d.parameters = parameters;
  d.options = options;
  d.xalpha = xalpha;
  d.index = g_count;
  g_apply_routines[g_count] = apply;
  ++g_count;
  return setup != nullptr ? setup(user_value) : 1;
}

void SetHelp(const char* file, int32_t topic) {
  FilterDescriptor* d = CurrentDescriptor();
  if (d == nullptr) return;
  std::memset(d->help_file, 0, sizeof d->help_file);
  if (file != nullptr) std::strncpy(d->help_file, file, 256);
  d->help_topic = topic;
}

int32_t SetParam(int32_t slot, const char* name, const char* value, const char* step, int16_t kind, const char* extra) {
  FilterDescriptor* d = CurrentDescriptor();
  if (d == nullptr || slot < 0 || slot > kHighestSlot) return 0;
  ParameterRecord& p = d->parameters[slot];
  CopyField(p.name, name, 255);
  CopyField(p.value, value, 255);
  CopyField(p.step, step, 255);
  CopyField(p.extra, extra, 255);
  p.kind = kind;
  if (slot > d->parameter_count) d->parameter_count = slot;
  return 1;
}

int32_t SetOption(int32_t slot, const char* name, int16_t state, int16_t group) {
  FilterDescriptor* d = CurrentDescriptor();
  if (d == nullptr || slot < 0 || slot > kHighestSlot) return 0;
  OptionRecord& o = d->options[slot];
  CopyField(o.name, name, 255);
  o.state = state;
  o.group = group;
  if (slot > d->option_count) d->option_count = slot;
  return 1;
}

namespace ombrix::kit {

HostBlock* CurrentHostBlock() { return g_host_block; }
int32_t FilterCount() { return g_count; }
FilterDescriptor* Filter(int32_t index) { return index >= 0 && index < g_count ? &g_descriptors[index] : nullptr; }

int32_t PluginEntry(const PluginInfo* info, int32_t type, int32_t a, void* out) {
  return GuardBoundary(0, [&] { return AnswerPluginEntry(*info, type, a, out); });
}

namespace {

int32_t RunCommand(const PluginInfo* info, int32_t command, HostBlock* block) {
  switch (command) {
    case kCommandInitialise: {
      ReleaseCatalogue();
      g_module_title = info->title != nullptr ? info->title : "";
      if (info->extension != nullptr && info->extension->catalogue != nullptr) info->extension->catalogue();
      return 1;
    }
    case kCommandReadCatalogue: {
      if (block == nullptr || block->call == nullptr) return 0;
      auto* reply = static_cast<CatalogueReply*>(block->call);
      reply->count = g_count;
      reply->descriptors = g_descriptors;
      return 1;
    }
    case kCommandApply: {
      if (g_descriptors == nullptr || block == nullptr || block->call == nullptr) return 0;
      auto* call = static_cast<CallRecord*>(block->call);
      if (call->descriptor == nullptr) return 0;
      int32_t i = call->filter_index;
      // The index is a hint: when it names another filter (or none), look the name up.
      if (i < 0 || i >= g_count || std::strcmp(g_descriptors[i].name, call->descriptor->name) != 0) {
        i = -1;
        for (int32_t j = 0; j < g_count; ++j) {
          if (std::strcmp(g_descriptors[j].name, call->descriptor->name) == 0) {
            i = j;
            break;
          }
        }
        if (i < 0) return 0;
        call->filter_index = i;
      }
      ApplyRoutine apply = g_apply_routines[i];
      return apply != nullptr ? apply(call->context) : 0;
    }
    case kCommandRelease:
      ReleaseCatalogue();
      return 1;
    default:
      return 0;
  }
}

}  // namespace

int32_t FilterEntry(const PluginInfo* info, int32_t command, int32_t zero, HostBlock* block) {
  g_host_block = block;
  return GuardBoundary(0, [&] { return RunCommand(info, command, block); });
}

}  // namespace ombrix::kit
