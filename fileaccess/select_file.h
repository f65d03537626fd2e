// The rules of bWF_SelectFile that need no window: the filter pairs, the initial filter and
// name, the window's options and how a chosen path is split into the outputs.
#pragma once

#include <cstdint>
#include <string>

namespace ombrix::fileaccess {

// The filter text's line feeds become NUL separators; the list ends with a second NUL.
std::string FilterPairs(const std::string& text);
// The first pair (counted from 1) whose pattern list holds "." and the extension (letter case
// ignored) ending at ";" or at the end of the list; 1 when there is none.
int32_t InitialFilterIndex(const std::string& text, const std::string& extension);
// The given name, or only its part after the last separator when its folder does not exist.
std::string InitialName(const std::string& name);
// The window's kFileSelect options for the call's flags.
int32_t WindowOptions(uint32_t flags);

struct SelectedFile {
  std::string path;       // the full path
  std::string directory;  // its folder, without a trailing separator (except the root "/")
  std::string name;       // the file name without the extension
  std::string extension;  // without its dot; empty when there is none
};
SelectedFile SplitSelection(const std::string& path);
// What goes to the full-path output: the path, the bare name (0x10) or "name.extension" (0x20).
std::string FullPathOutput(const SelectedFile& file, uint32_t flags);

}  // namespace ombrix::fileaccess
