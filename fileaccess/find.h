// Searches of bWF_FindFirst and bWF_FindNext: the folder's names, read once, and the pattern and
// filter they are matched against.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fileaccess/wildcards.h"

namespace ombrix::fileaccess {

// Whether an entry with these attribute bits passes a search's attribute filter.
bool PassesFilter(uint16_t attributes, uint16_t filter);

struct Search {
  std::string folder;  // the pattern's folder part as given, separator included ("" for the current one)
  std::vector<std::string> names;
  size_t next = 0;
  NamePattern pattern;
  uint16_t filter = 0;
};

}  // namespace ombrix::fileaccess
