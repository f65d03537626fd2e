// An extended editor as a plug-in ships one: it moves the entry's zone and says so.
#include <cstdint>

#include "core/records.h"

extern "C" __attribute__((visibility("default"))) int32_t Test_Extended_Editor(FilterDescriptor* entry) {
  if (entry == nullptr) return 0;
  entry->zone[0] = 42;
  return 1;
}

// A procedure that looks and changes nothing.
extern "C" __attribute__((visibility("default"))) int32_t Test_Look_Only(FilterDescriptor*) { return 0; }
