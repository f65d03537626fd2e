// Attribute bits of files and directories: read-only from the permission bits, hidden from the
// name, directory from the kind, system and archive from an extended attribute.
#pragma once

#include <cstdint>
#include <system_error>

#include "core/platform/file_system.h"

namespace ombrix::fileaccess {

// Holds the system and archive bits as decimal text ("36"); missing when both are clear.
inline constexpr const char* kAttributeTag = "user.zorvex.attrib";

// The bits of the entry at path, whose status the caller has read.
uint16_t AttributesOf(const char* path, const platform::EntryStatus& status);
// Applies read-only (files only), system and archive; hidden follows the name and stays as it
// is. On a file system without extended attributes system and archive are dropped silently.
std::errc ApplyAttributes(const char* path, const platform::EntryStatus& status, uint16_t bits);

}  // namespace ombrix::fileaccess
