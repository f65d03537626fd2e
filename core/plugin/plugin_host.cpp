// Reading filter catalogues out of plug-in modules, and copying descriptors.
#include "core/plugin/plugin_host.h"

#include <cstring>
#include <new>

#include "core/picture/picture.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/plugin/last_error.h"

namespace ombrix {
namespace {

constexpr const char* kErrorCaption = "Ombrix - Error";
constexpr size_t kCodeBufferBytes = 256;

// The module the loader holds between loading a file and unloading it again.
platform::LibraryHandle g_loaded_module = nullptr;

void UnloadHeldModule() {
  platform::CloseLibrary(g_loaded_module);
  g_loaded_module = nullptr;
}

const PluginInfo* IdentifiedInfo(platform::LibraryHandle module) {
  auto entry = reinterpret_cast<PluginEntryFunction>(platform::LibrarySymbol(module, "Zorvex_Plugin_Entry"));
  if (entry == nullptr) return nullptr;
  char code[kCodeBufferBytes] = {};
  entry(1, 0, code);
  code[kCodeBufferBytes - 1] = '\0';
  if (std::strcmp(code, OMBRIX_IDENTIFICATION_CODE) != 0) return nullptr;
  const PluginInfo* info = nullptr;
  entry(2, 0, &info);
  return info;
}

}  // namespace

PluginTable::~PluginTable() { Clear(); }

void PluginTable::Append(FilterDescriptor* descriptor, platform::LibraryHandle module) {
  descriptors_.push_back(descriptor);
  modules_.push_back(module);
}

void PluginTable::Clear() {
  for (FilterDescriptor* d : descriptors_) FreeDescriptor(d, true);
  descriptors_.clear();
  modules_.clear();
}

bool CheckModuleKind(platform::LibraryHandle module, int32_t kind) {
  const PluginInfo* info = IdentifiedInfo(module);
  if (info == nullptr || info->kinds == nullptr) return false;
  for (const int32_t* k = info->kinds; *k != 0; ++k)
    if (*k == kind) return true;
  return false;
}

const char* GetModuleTitle(platform::LibraryHandle module) {
  const PluginInfo* info = IdentifiedInfo(module);
  return info != nullptr ? info->title : nullptr;
}

int LoadPluginFile(PluginTable& table, const char* path) {
  if (table.Count() >= kMaxTableDescriptors) {
    RecordLastError(kErrorCaption, "This program cannot support more than 255 plug-ins");
    return 0;
  }
  const char* shown = path != nullptr ? path : "";
  if (!platform::CanOpenForReading(path)) {
    RecordLastError(kErrorCaption, "Error loading\n\"%s\".", shown);
    return 0;
  }
  UnloadHeldModule();
  g_loaded_module = platform::OpenLibrary(path);
  if (g_loaded_module == nullptr) {
    RecordLastError(kErrorCaption, "Error loading\n\"%s\".", shown);
    return 0;
  }
  if (!CheckModuleKind(g_loaded_module, 1)) {
    RecordLastError(kErrorCaption, "This version of Ombrix cannot recognize\n this type of plug-in \"%s\".", shown);
    UnloadHeldModule();
    return 0;
  }
  auto entry =
      reinterpret_cast<FilterEntryFunction>(platform::LibrarySymbol(g_loaded_module, "Ombrix_Filter_Plugin_Entry"));
  if (entry == nullptr) {
    RecordLastError(kErrorCaption, "Cannot find plug-in init procedure.");
    UnloadHeldModule();
    return 0;
  }
  HostBlock block{};
  CatalogueReply reply{};
  block.call = &reply;
  entry(kCommandInitialise, 0, nullptr);
  entry(kCommandReadCatalogue, 0, &block);
  if (reply.descriptors != nullptr) {
    for (int32_t i = 0; i < reply.count; ++i) AppendDescriptor(table, &reply.descriptors[i], path);
  }
  entry(kCommandRelease, 0, nullptr);
  UnloadHeldModule();
  return 1;
}

int AppendDescriptor(PluginTable& table, const FilterDescriptor* source, const char* path) {
  // A module's counts name its highest slot (0..10); anything else would read past its arrays.
  if (source == nullptr || source->parameter_count < 0 || source->parameter_count > kHighestSlot ||
      source->option_count < 0 || source->option_count > kHighestSlot)
    return 0;
  auto* d = new (std::nothrow) FilterDescriptor(*source);
  if (d == nullptr) return 0;
  d->parameter_count = source->parameter_count + 1;
  d->option_count = source->option_count + 1;
  d->parameters = new (std::nothrow) ParameterRecord[size_t(d->parameter_count)]();
  d->options = new (std::nothrow) OptionRecord[size_t(d->option_count)]();
  d->xalpha = new (std::nothrow) XAlphaRecord();
  if (d->parameters == nullptr || d->options == nullptr || d->xalpha == nullptr) {
    FreeDescriptor(d, false);
    return 0;
  }
  if (source->parameters != nullptr)
    std::memcpy(d->parameters, source->parameters, sizeof(ParameterRecord) * size_t(d->parameter_count));
  if (source->options != nullptr)
    std::memcpy(d->options, source->options, sizeof(OptionRecord) * size_t(d->option_count));
  if (source->xalpha != nullptr) *d->xalpha = *source->xalpha;
  d->xalpha->picture = nullptr;  // a module's mask picture is not ours to share
  std::memset(d->file_name, 0, sizeof d->file_name);
  std::strncpy(d->file_name, platform::FileNamePart(path), sizeof d->file_name - 1);
  d->alpha_init = 0;
  d->alpha_step = 0;
  table.Append(d, nullptr);
  return table.Count();
}

int CopyDescriptor(FilterDescriptor* target, const FilterDescriptor* source, bool copy_mask_picture) {
  if (target == nullptr || source == nullptr) return 0;
  *target = *source;
  target->parameters = nullptr;
  target->options = nullptr;
  target->xalpha = nullptr;
  const int parameters = source->parameter_count > 0 ? source->parameter_count : 0;
  const int options = source->option_count > 0 ? source->option_count : 0;
  target->parameters = new (std::nothrow) ParameterRecord[size_t(parameters)]();
  target->options = new (std::nothrow) OptionRecord[size_t(options)]();
  target->xalpha = new (std::nothrow) XAlphaRecord();
  if (target->parameters == nullptr || target->options == nullptr || target->xalpha == nullptr) {
    FreeDescriptorRecords(target, false);
    return 0;
  }
  if (source->parameters != nullptr)
    std::memcpy(target->parameters, source->parameters, sizeof(ParameterRecord) * size_t(parameters));
  if (source->options != nullptr) std::memcpy(target->options, source->options, sizeof(OptionRecord) * size_t(options));
  if (source->xalpha != nullptr) *target->xalpha = *source->xalpha;
  if (copy_mask_picture && target->xalpha->picture != nullptr) {
    auto* copy = new (std::nothrow) Picture();
    if (copy == nullptr || !copy->CopyFrom(target->xalpha->picture)) {
      delete copy;
      target->xalpha->picture = nullptr;
      FreeDescriptorRecords(target, false);
      return 0;
    }
    target->xalpha->picture = copy;
  }
  return 1;
}

const FilterDescriptor* FindTableEntry(const PluginTable& table, const char* filter_name, const char* file_name) {
  if (filter_name == nullptr || file_name == nullptr) return nullptr;
  for (int i = 0; i < table.Count(); ++i) {
    const FilterDescriptor* d = table.At(i);
    if (std::strcmp(d->name, filter_name) == 0 && std::strcmp(d->file_name, file_name) == 0) return d;
  }
  return nullptr;
}

FilterDescriptor* FindDescriptor(const PluginTable& table, const char* filter_name, const char* file_name) {
  const FilterDescriptor* d = FindTableEntry(table, filter_name, file_name);
  if (d == nullptr) return nullptr;
  auto* entry = new (std::nothrow) FilterDescriptor();
  if (entry == nullptr) return nullptr;
  if (!CopyDescriptor(entry, d, true)) {
    delete entry;
    return nullptr;
  }
  return entry;
}

void FreeDescriptorRecords(FilterDescriptor* d, bool owns_mask_picture) {
  if (d == nullptr) return;
  delete[] d->parameters;
  delete[] d->options;
  if (d->xalpha != nullptr && owns_mask_picture) delete d->xalpha->picture;
  delete d->xalpha;
  d->parameters = nullptr;
  d->options = nullptr;
  d->xalpha = nullptr;
}

void FreeDescriptor(FilterDescriptor* d, bool owns_mask_picture) {
  FreeDescriptorRecords(d, owns_mask_picture);
  delete d;
}

}  // namespace ombrix
