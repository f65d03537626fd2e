// Resolving the editor's help commands.
#include "editor/model/help_requests.h"

#include <cstring>

#include "core/platform/directory_entries.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"

namespace ombrix::editor {
namespace {

HelpRequest Missing(const std::string& name) { return {{}, 0, "Cannot find \"" + name + "\".", "Ombrix - Error"}; }

// The book as named, else the entry of that name in the help folder whatever its letter case. A
// book is a file (a zip of its pages) or a folder of pages.
std::string FindHelpBook(const std::string& help_folder, const std::string& name) {
  if (platform::FileExists(name.c_str())) return name;
  return platform::ResolveIgnoringCase(help_folder, name);
}

}  // namespace

HelpRequest MainHelpRequest(const DerivedPaths& paths, int topic) {
  std::string book = paths.main_help_file;
  if (!platform::FileExists(book.c_str()))
    book = platform::ResolveIgnoringCase(paths.help_folder, platform::FileNamePart(book.c_str()));
  if (book.empty()) return Missing(paths.main_help_file);
  return {book, topic, {}, {}};
}

HelpRequest FilterHelpRequest(const DerivedPaths& paths, const FilterDescriptor* entry) {
  if (entry == nullptr || entry->name[0] == '\0') return MainHelpRequest(paths, kFilterChoiceHelpTopic);
  const std::string name(entry->help_file, strnlen(entry->help_file, sizeof entry->help_file));
  if (name.empty())
    return {{}, 0, "Filter \"" + std::string(entry->name) + "\" have no help associated.", "Ombrix - Message"};
  const std::string book = FindHelpBook(paths.help_folder, name);
  if (book.empty()) return Missing(name);
  return {book, entry->help_topic, {}, {}};
}

}  // namespace ombrix::editor
