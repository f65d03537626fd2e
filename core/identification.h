// What every Ombrix module answers through Zorvex_Plugin_Entry: its PluginInfo record (made by
// MakePluginInfo, so the words no host reads are written once) and the answer to types 1 and 2.
// The filter plug-ins answer through the kit, ombrix-filter.p through its own exports.
#pragma once

#include <cstdint>
#include <cstring>

#include "core/records.h"

namespace ombrix {

inline constexpr PluginRights kZorvexRights = {"Copyright Zorvex", "All Rights Reserved.", 0, 0};

// A module's identification record, version 1.0. The six leading words (1, 48, 0, 4, 8, 16)
// are read by no host; every module carries them unchanged.
constexpr PluginInfo MakePluginInfo(const char* title, const PluginRights* rights, const int32_t* kinds,
                                    const PluginExtension* extension, FilterEntryFunction filter_entry,
                                    OtherTypesFunction other_types = nullptr) {
  return PluginInfo{{1, 48, 0, 4, 8, 16}, title, rights, 1.0, kinds, extension, other_types, filter_entry};
}

// Zorvex_Plugin_Entry for `info`: type 1 copies the identification code with its NUL to out,
// type 2 stores the address of the record at out (both 1; 0 for a null out); any other type goes
// to the record's function for other types, 0 without one.
inline int32_t AnswerPluginEntry(const PluginInfo& info, int32_t type, int32_t a, void* out) {
  switch (type) {
    case 1:
      if (out == nullptr) return 0;
      std::memcpy(out, OMBRIX_IDENTIFICATION_CODE, sizeof OMBRIX_IDENTIFICATION_CODE);
      return 1;
    case 2:
      if (out == nullptr) return 0;
      *static_cast<const PluginInfo**>(out) = &info;
      return 1;
    default:
      return info.other_types != nullptr ? info.other_types(type, a, out) : 0;
  }
}

}  // namespace ombrix
