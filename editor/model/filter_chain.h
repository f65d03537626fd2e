// The filter chain the editor works on: 1 to 255 entries in chain order, each a FilterDescriptor
// owned by the chain together with its parameter, option and X-Alpha records and its mask
// picture; one entry is the current one.
#pragma once

#include <array>

#include "core/plugin/plugin_host.h"
#include "core/records.h"
#include "core/script/effect_script.h"

namespace ombrix::editor {

inline constexpr int kMaxChainEntries = 255;

class FilterChain {
 public:
  FilterChain();  // one empty entry, current 0
  ~FilterChain();
  FilterChain(const FilterChain&) = delete;
  FilterChain& operator=(const FilterChain&) = delete;

  int Count() const { return count_; }
  int Current() const { return current_; }
  // Makes entry index (clamped to the chain) the current one.
  void SetCurrent(int index);
  FilterDescriptor* At(int index) const { return entries_[size_t(index)]; }
  FilterDescriptor* CurrentEntry() const { return entries_[size_t(current_)]; }
  // The entries in chain order, as the script reader and writer take them.
  const FilterDescriptor* const* Entries() const { return entries_.data(); }

  // An entry whose filter has not been chosen: no filter name (or no entry at all).
  static bool IsEmptyFilter(const FilterDescriptor* entry) { return entry == nullptr || entry->name[0] == '\0'; }

  // Frees every entry and leaves one empty entry, current 0.
  void Reset();
  // Reads a script over the chain. On success the chain holds the script's entries (one empty
  // entry when it names none the plug-in table holds), current 0, and the header and test frame
  // are the script's. A file that cannot be opened leaves the chain as it was; one that is no
  // effect script leaves one empty entry. A script longer than the chain's room is cut after its
  // 255th entry.
  bool Read(const char* path, const PluginTable& table, ScriptHeader& header, int* test_frame,
            const MissingFileHandler& missing_file);
  // Writes every entry with the test frame and the header.
  bool Write(const char* path, int test_frame, const ScriptHeader& header) const;
  // Makes the current entry a fresh copy of a plug-in table entry, with the plug-in's default
  // parameters and options. False, with the entry left as it was, when memory runs out.
  bool SetCurrentFilter(const FilterDescriptor& table_entry);
  // Puts a deep copy of the current entry (its records and its mask picture) right after it and
  // makes the copy current. False, with the chain unchanged, when the chain is full (255
  // entries), the current entry is missing or memory runs out.
  bool AddCopyOfCurrent();
  // Frees the current entry; the entries after it move down, and when it was the last one the
  // one before it becomes current. False, with the chain unchanged, when it is the only entry.
  bool DeleteCurrent();

 private:
  void FreeAll();
  std::array<FilterDescriptor*, kMaxChainEntries> entries_{};
  int count_ = 0;
  int current_ = 0;
};

}  // namespace ombrix::editor
