// Host side of the plug-in interface: checking a module, reading its catalogue into a table,
// and the deep copies that make a catalogue descriptor a chain entry.
#pragma once

#include <cstdint>
#include <vector>

#include "core/platform/dynamic_library.h"
#include "core/records.h"

namespace ombrix {

// Filter descriptors copied out of modules, each with the module handle it came from (null when
// the module was unloaded again after its catalogue was read).
class PluginTable {
 public:
  PluginTable() = default;
  ~PluginTable();
  PluginTable(const PluginTable&) = delete;
  PluginTable& operator=(const PluginTable&) = delete;

  int Count() const { return int(descriptors_.size()); }
  FilterDescriptor* At(int i) const { return descriptors_[size_t(i)]; }
  platform::LibraryHandle ModuleAt(int i) const { return modules_[size_t(i)]; }
  void Append(FilterDescriptor* descriptor, platform::LibraryHandle module);
  // Frees every descriptor (and any mask picture it holds).
  void Clear();

 private:
  std::vector<FilterDescriptor*> descriptors_;
  std::vector<platform::LibraryHandle> modules_;
};

inline constexpr int kMaxTableDescriptors = 256;

// True when the module answers the identification code exactly and lists `kind`.
bool CheckModuleKind(platform::LibraryHandle module, int32_t kind);
// The module's title after the code check, or null.
const char* GetModuleTitle(platform::LibraryHandle module);
// Reads one module's catalogue into the table and unloads it again. 0 with the last error set.
int LoadPluginFile(PluginTable& table, const char* path);
// Appends a deep copy of a module's descriptor; returns the new count, 0 on failure.
int AppendDescriptor(PluginTable& table, const FilterDescriptor* descriptor, const char* path);
// Deep copy for a chain entry. With copy_mask_picture the X-Alpha picture is copied, otherwise
// the pointer is shared. 0 when an allocation fails (target then holds no records).
int CopyDescriptor(FilterDescriptor* target, const FilterDescriptor* source, bool copy_mask_picture);
// The first table entry with this filter name and file name (exact comparison), or null.
const FilterDescriptor* FindTableEntry(const PluginTable& table, const char* filter_name, const char* file_name);
// A new chain entry copied from the first table entry with this name and file name, or null.
FilterDescriptor* FindDescriptor(const PluginTable& table, const char* filter_name, const char* file_name);
// Frees a host-made descriptor and its records; the mask picture too when the copy owns it.
void FreeDescriptor(FilterDescriptor* descriptor, bool owns_mask_picture);
// Frees only the records of a host-made descriptor (for descriptors not made with new).
void FreeDescriptorRecords(FilterDescriptor* descriptor, bool owns_mask_picture);

}  // namespace ombrix
