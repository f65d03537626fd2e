// The search exports: find-first and find-next with attribute filters, the volume-label
// search, closing, and the directory test of a found entry.
#include "fileaccess/find.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "core/platform/environment.h"
#include "core/platform/file_system.h"
#include "core/platform/paths.h"
#include "core/platform/volumes.h"
#include "fileaccess/attributes.h"
#include "fileaccess/drives.h"
#include "fileaccess/file_times.h"
#include "fileaccess/module.h"

namespace ombrix::fileaccess {

bool PassesFilter(uint16_t attributes, uint16_t filter) {
  if ((attributes & PELCOR_ATTR_DIRECTORY) != 0) return (filter & PELCOR_ATTR_DIRECTORY) != 0;
  if ((filter & PELCOR_ATTR_DIRECTORY) != 0) return false;
  const bool hidden = (attributes & PELCOR_ATTR_HIDDEN) != 0;
  const bool system = (attributes & PELCOR_ATTR_SYSTEM) != 0;
  switch (filter & 7) {
    case 0:
    case 1:
      return !hidden && !system;
    case 2:
    case 3:
      return !system;
    case 4:
    case 5:
      return !hidden;
    default:
      return true;
  }
}

}  // namespace ombrix::fileaccess

using namespace ombrix;
using namespace ombrix::fileaccess;

namespace {

bool IsLabelFilter(uint16_t filter) { return filter == 8 || filter == 9; }

void FillNames(PelcorFind& find, const std::string& name) {
  std::memset(find.name, 0, sizeof find.name);
  std::memset(find.short_name, 0, sizeof find.short_name);
  std::memcpy(find.name, name.data(), std::min(name.size(), sizeof find.name - 1));
  // No 8.3 aliases exist: the short name is the name itself when it fits.
  if (name.size() < sizeof find.short_name) std::memcpy(find.short_name, name.data(), name.size());
}

// Moves the search to its next matching entry and fills the record with it.
bool Advance(Search& search, PelcorFind& find) {
  while (search.next < search.names.size()) {
    const std::string& name = search.names[search.next++];
    if (name[0] == '.' || !search.pattern.Matches(name)) continue;
    const std::string path = search.folder + name;
    platform::EntryStatus status;
    if (platform::QueryEntry(path.c_str(), status) != std::errc{}) continue;  // gone, or a dangling link
    const uint16_t attributes = AttributesOf(path.c_str(), status);
    if (!PassesFilter(attributes, search.filter)) continue;
    find.time = {};
    TimeRecordOf(status.modified, find.time);
    find.size = status.size > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(status.size);
    FillNames(find, name);
    find.attributes = attributes;
    return true;
  }
  return false;
}

PelcorBool FindLabel(const char* pattern, PelcorFind& find) {
  const Drive drive = DriveOfPath(pattern);
  if (drive != Drive::kRoot) return Fail(DriveError(drive));
  platform::VolumeInfo volume;
  platform::QueryVolume(kRootPath, volume);
  FillNames(find, volume.label);
  find.attributes = PELCOR_ATTR_LABEL;
  return Succeed();
}

PelcorBool FindFirst(const char* pattern, PelcorFind& find, uint16_t filter) {
  // A record still holding a search is not closed here: it may be uninitialised memory.
  find = {};
  find.filter = filter;
  if (IsLabelFilter(filter)) return FindLabel(pattern, find);
  const char* name_part = platform::FileNamePart(pattern);
  if (*name_part == '\0') return Fail(PELCOR_ERROR_FILE_NOT_FOUND);
  auto search =
      std::make_unique<Search>(Search{std::string(pattern, name_part), {}, 0, NamePattern(name_part), filter});
  if (!platform::ListDirectory(search->folder.empty() ? "." : search->folder, search->names)) {
    platform::EntryStatus status;
    const bool folder_exists = platform::QueryEntry(search->folder.c_str(), status) == std::errc{} &&
                               status.kind == platform::EntryKind::kDirectory;
    return Fail(folder_exists ? PELCOR_ERROR_ACCESS_DENIED : PELCOR_ERROR_PATH_NOT_FOUND);
  }
  if (!Advance(*search, find)) return Fail(PELCOR_ERROR_FILE_NOT_FOUND);
  ModuleState& state = State();
  const uintptr_t id = state.next_search++;
  state.searches.emplace(id, std::move(search));
  find.search = reinterpret_cast<void*>(id);
  return Succeed();
}

}  // namespace

extern "C" {

PELCOR_API PelcorBool bWF_FindFirst(const char* pattern, PelcorFind* find, uint16_t filter) {
  if (pattern == nullptr || find == nullptr) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
  return Guarded<PelcorBool>(0, [&] { return FindFirst(pattern, *find, filter); });
}

PELCOR_API PelcorBool bWF_FindNext(PelcorFind* find) {
  if (find == nullptr) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
  if (IsLabelFilter(find->filter)) return Fail(PELCOR_ERROR_NO_MORE_FILES);
  return Guarded<PelcorBool>(0, [&]() -> PelcorBool {
    const auto found = State().searches.find(reinterpret_cast<uintptr_t>(find->search));
    if (found == State().searches.end()) return Fail(PELCOR_ERROR_INVALID_HANDLE);
    return Advance(*found->second, *find) ? Succeed() : Fail(PELCOR_ERROR_NO_MORE_FILES);
  });
}

PELCOR_API void WF_FindClose(PelcorFind* find) {
  SetLastError(PELCOR_ERROR_NONE);
  if (find == nullptr) return;
  State().searches.erase(reinterpret_cast<uintptr_t>(find->search));
  find->search = nullptr;
}

PELCOR_API PelcorBool bWF_IsDirectory(const PelcorFind* find) {
  if (find == nullptr) return Fail(PELCOR_ERROR_INVALID_PARAMETER);
  SetLastError(PELCOR_ERROR_NONE);
  return (find->attributes & PELCOR_ATTR_DIRECTORY) != 0 ? 1 : 0;
}

}  // extern "C"
