// Attribute bits over permission bits, names and the extended attribute.
#include "fileaccess/attributes.h"

#include <cstring>
#include <string>

#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/text/numbers.h"
#include "fileaccess/pelcor.h"

namespace ombrix::fileaccess {
namespace {

constexpr uint16_t kTaggedBits = PELCOR_ATTR_SYSTEM | PELCOR_ATTR_ARCHIVE;

bool HiddenName(const char* path) {
  const char* name = platform::FileNamePart(path);
  return name[0] == '.' && std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0;
}

bool Unsupported(std::errc error) { return error == std::errc::operation_not_supported; }

}  // namespace

uint16_t AttributesOf(const char* path, const platform::EntryStatus& status) {
  uint16_t bits = 0;
  if (!status.any_write_bit) bits |= PELCOR_ATTR_READONLY;
  if (HiddenName(path)) bits |= PELCOR_ATTR_HIDDEN;
  if (status.kind == platform::EntryKind::kDirectory) bits |= PELCOR_ATTR_DIRECTORY;
  std::string tag;
  if (platform::ReadExtendedAttribute(path, kAttributeTag, tag) == std::errc{})
    bits |= uint16_t(text::LeadingInt(tag, 0)) & kTaggedBits;
  return bits;
}

std::errc ApplyAttributes(const char* path, const platform::EntryStatus& status, uint16_t bits) {
  // A directory's write bits decide who may make files in it, which the platform's read-only
  // attribute never did: directories keep their permissions.
  if (status.kind != platform::EntryKind::kDirectory) {
    const bool read_only = (bits & PELCOR_ATTR_READONLY) != 0;
    if (read_only == status.any_write_bit && !platform::SetReadOnly(path, read_only))
      return platform::LastSystemError();
  }
  const uint16_t tagged = bits & kTaggedBits;
  const std::errc error = tagged != 0 ? platform::WriteExtendedAttribute(path, kAttributeTag, std::to_string(tagged))
                                      : platform::RemoveExtendedAttribute(path, kAttributeTag);
  return Unsupported(error) ? std::errc{} : error;
}

}  // namespace ombrix::fileaccess
