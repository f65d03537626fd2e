// Which help the "About" button of the main window opens: the current filter's own help book at
// its topic, or a message saying why there is none, or the main help when no filter was chosen.
#pragma once

#include <string>

#include "core/records.h"
#include "editor/model/derived_paths.h"

namespace ombrix::editor {

inline constexpr int kMainHelpTopic = 5;      // the Help button
inline constexpr int kNoFilterHelpTopic = 2;  // "About" before a filter was chosen

struct HelpChoice {
  std::string path;  // the book to open at topic; empty when a message is shown instead
  int topic = 0;
  std::string message;
  std::string caption;
};

// A filter's help file name that is not an existing file is looked for in the help folder; when
// it is not there either: "Cannot find "<name>"." ("Ombrix - Error", with the name as the filter
// stores it). A filter without a help file: "Filter "<name>" have no help associated."
// ("Ombrix - Message"). No filter chosen: the main help file at topic 2.
HelpChoice ChooseFilterHelp(const FilterDescriptor* entry, bool filter_chosen, const DerivedPaths& paths);

}  // namespace ombrix::editor
