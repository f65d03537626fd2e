// The effect script: a header and a chain of filter entries, written to and read from a .Oms
// file through ScriptFile. The editor writes scripts; the editor and the image-filter module read
// them, each with its own plug-in table and missing-file handler.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/plugin/plugin_host.h"
#include "core/records.h"
#include "core/script/script_file.h"

namespace ombrix {

// The "Identification" value of section "Header" ("§" is the Windows-1252 byte 0xA7).
inline constexpr const char* kScriptIdentification = "Zorvex\xA7OmbrixScript";
// Filter sections read from one script, and the room of the image-filter module's chain.
inline constexpr int kMaxScriptEntries = 256;
// Size of the text buffer a missing-file handler gets, as the value fields of the records.
inline constexpr size_t kScriptPathBytes = 256;

// What a host keeps beside its chain: written into every script's header, and replaced by the
// script's own values when one is read.
struct ScriptHeader {
  std::string content_directory;  // folder against which relative file names are resolved
  int32_t based_width = 0;        // size of the picture zones and positions were set on
  int32_t based_height = 0;
};

// Called for a file a script names that exists neither as named nor in the content or fallback
// directory. text is a buffer of kScriptPathBytes bytes holding the name; the handler may replace
// it (for instance by asking the user) and returns non-zero when it did. The text it leaves is
// used either way. An empty handler leaves the name as it is.
using MissingFileHandler = std::function<int(char* text)>;

// Fills `file` with the header and one "Filter_%d" section per non-null entry of entries[0..slots),
// numbered from 0 in chain order. File paths in parameters of the file kinds (2, 4, 7) and the
// X-Alpha picture are written relative to header.content_directory when they lie under it.
void WriteScriptTo(ScriptFile& file, const FilterDescriptor* const* entries, int slots, int test_frame,
                   const ScriptHeader& header);
// WriteScriptTo into a new ScriptFile, then ScriptFile::Save. 1, or 0 when the file cannot be written.
int WriteScript(const char* path, const FilterDescriptor* const* entries, int slots, int test_frame,
                const ScriptHeader& header);

// Reads a script into entries[0..capacity). First frees the *count entries held so far (each with
// its records and its mask picture when entries_own_mask_pictures) and sets their slots to null.
// Filters the table does not hold are dropped; the entries read later move up. On success sets
// *count, *test_frame and the header (based size and content directory; a content directory that
// does not exist as a directory is replaced by the one the header held before) and returns 1.
// Returns 0 when the file cannot be opened (nothing is freed) or is not an effect script (the
// held entries are freed, *count is left unchanged).
int ReadScript(const char* path, FilterDescriptor** entries, int capacity, int* count, int* test_frame,
               ScriptHeader& header, const PluginTable& table, const MissingFileHandler& missing_file,
               bool entries_own_mask_pictures = true);
// The same for a script already loaded into a ScriptFile.
int ReadScriptFrom(const ScriptFile& file, FilterDescriptor** entries, int capacity, int* count, int* test_frame,
                   ScriptHeader& header, const PluginTable& table, const MissingFileHandler& missing_file,
                   bool entries_own_mask_pictures = true);

// The entries of a script that ReadScript drops, in chain order, each said as "Unknown filter
// \"FilterName\" of DllName" (the table does not hold it) or "No filter in section Filter_N"
// (the header counts more sections than the script has).
std::vector<std::string> FiltersNotInTable(const ScriptFile& file, const PluginTable& table);

}  // namespace ombrix
