// Owning, reading and writing the filter chain.
#include "editor/model/filter_chain.h"

#include <new>

namespace ombrix::editor {

FilterChain::FilterChain() { Reset(); }

FilterChain::~FilterChain() { FreeAll(); }

void FilterChain::FreeAll() {
  for (FilterDescriptor*& entry : entries_) {
    FreeDescriptor(entry, true);
    entry = nullptr;
  }
  count_ = 0;
  current_ = 0;
}

void FilterChain::Reset() {
  FreeAll();
  entries_[0] = new FilterDescriptor();
  count_ = 1;
}

void FilterChain::SetCurrent(int index) { current_ = index < 0 ? 0 : index >= count_ ? count_ - 1 : index; }

bool FilterChain::Read(const char* path, const PluginTable& table, ScriptHeader& header, int* test_frame,
                       const MissingFileHandler& missing_file) {
  int count = count_;
  int frame = test_frame != nullptr ? *test_frame : 0;
  const bool read =
      ReadScript(path, entries_.data(), kMaxChainEntries, &count, &frame, header, table, missing_file, true) == 1;
  if (!read) {
    // A file that cannot be opened leaves the chain whole; a file that is no effect script has
    // had the entries freed already, and the chain falls back to one empty entry.
    if (entries_[0] == nullptr) Reset();
    return false;
  }
  count_ = count;
  current_ = 0;
  if (count_ == 0) {
    entries_[0] = new FilterDescriptor();
    count_ = 1;
  }
  if (test_frame != nullptr) *test_frame = frame;
  return true;
}

bool FilterChain::Write(const char* path, int test_frame, const ScriptHeader& header) const {
  return WriteScript(path, entries_.data(), count_, test_frame, header) == 1;
}

bool FilterChain::SetCurrentFilter(const FilterDescriptor& table_entry) {
  auto* entry = new (std::nothrow) FilterDescriptor();
  if (entry == nullptr || !CopyDescriptor(entry, &table_entry, true)) {
    delete entry;
    return false;
  }
  FreeDescriptor(entries_[size_t(current_)], true);
  entries_[size_t(current_)] = entry;
  return true;
}

bool FilterChain::AddCopyOfCurrent() {
  const FilterDescriptor* source = CurrentEntry();
  if (count_ >= kMaxChainEntries || source == nullptr) return false;
  auto* copy = new (std::nothrow) FilterDescriptor();
  if (copy == nullptr || !CopyDescriptor(copy, source, true)) {
    delete copy;
    return false;
  }
  for (int i = count_; i > current_ + 1; --i) entries_[size_t(i)] = entries_[size_t(i) - 1];
  ++count_;
  ++current_;
  entries_[size_t(current_)] = copy;
  return true;
}

bool FilterChain::DeleteCurrent() {
  if (count_ <= 1) return false;
  FreeDescriptor(entries_[size_t(current_)], true);
  for (int i = current_; i < count_ - 1; ++i) entries_[size_t(i)] = entries_[size_t(i) + 1];
  entries_[size_t(count_ - 1)] = nullptr;
  --count_;
  if (current_ == count_) --current_;
  return true;
}

}  // namespace ombrix::editor
