// Choosing the help of the current filter.
#include "editor/model/filter_help.h"

#include "core/platform/files.h"
#include "core/platform/paths.h"

namespace ombrix::editor {

HelpChoice ChooseFilterHelp(const FilterDescriptor* entry, bool filter_chosen, const DerivedPaths& paths) {
  HelpChoice choice;
  if (!filter_chosen || entry == nullptr) {
    choice.path = paths.main_help_file;
    choice.topic = kNoFilterHelpTopic;
    return choice;
  }
  const std::string name = entry->help_file;
  if (name.empty()) {
    choice.message = "Filter \"" + std::string(entry->name) + "\" have no help associated.";
    choice.caption = "Ombrix - Message";
    return choice;
  }
  std::string path = name;
  if (!platform::FileExists(path.c_str())) path = platform::JoinPath(paths.help_folder, name);
  if (!platform::FileExists(path.c_str())) {
    choice.message = "Cannot find \"" + name + "\".";
    choice.caption = "Ombrix - Error";
    return choice;
  }
  choice.path = path;
  choice.topic = entry->help_topic;
  return choice;
}

}  // namespace ombrix::editor
