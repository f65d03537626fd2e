// A lean host for timing filters: loads a module through the host loader and applies its
// filters with command 3 and a host block, as the render engine does, with services that cost
// nothing (progress always goes on, messages are counted).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/picture/picture.h"
#include "core/plugin/apply_context.h"
#include "core/plugin/plugin_host.h"
#include "core/records.h"

namespace ombrix::bench {

// A chain entry with the catalogue defaults of one filter; file parameters (kinds 2 and 4) that
// name no file get second_picture.
class BenchEntry {
 public:
  BenchEntry(const FilterDescriptor& catalogue, const std::string& second_picture);
  ~BenchEntry();
  BenchEntry(const BenchEntry&) = delete;
  BenchEntry& operator=(const BenchEntry&) = delete;
  FilterDescriptor& Descriptor() { return d_; }

 private:
  FilterDescriptor d_{};
};

class FilterModule {
 public:
  FilterModule() = default;
  ~FilterModule();
  FilterModule(const FilterModule&) = delete;
  FilterModule& operator=(const FilterModule&) = delete;

  // Reads the catalogue through the host loader, then loads the module for applying
  // (command 1). False with the reason.
  bool Load(const std::string& path, std::string& error);
  // Sends command 4 and unloads the module.
  void Unload();
  const PluginTable& Catalogue() const { return table_; }

  // Prepares a call of one entry at its start frame over the whole picture (the context the
  // render engine builds, then the host block);
  // Call() then makes only the module call, so that a timer can wrap it alone.
  void Prepare(FilterDescriptor& entry, Picture& input, Picture& work);
  int32_t Call();
  // Host messages the filters asked for since loading.
  int Messages() const;
  const std::string& LastMessage() const;

 private:
  PluginTable table_;
  void* library_ = nullptr;
  FilterEntryFunction entry_ = nullptr;
  BuiltApplyContext built_;
  CallRecord record_{};
};

}  // namespace ombrix::bench
