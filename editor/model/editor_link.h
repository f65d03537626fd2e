// The extended editor link of a kind 16 slot: its value text names a module by its reference
// name and a procedure the module exports ("module procedure"); the editor calls the procedure
// on the chain entry.
#pragma once

#include <string>

#include "core/records.h"

namespace ombrix::editor {

struct EditorLinkResult {
  bool changed = false;  // the procedure ran and changed the entry
  std::string error;     // shown with "Ombrix - Error" when not empty
};

// Looks the module name up in section "References", loads the module (it stays loaded for the
// rest of the run) and calls the procedure with the entry. The failures, in order:
// "Cannot create memory link to "<module>"." (no such reference), "Cannot open file\n"<path>"."
// (no such file), "Cannot access datas of file\n"<path>"." (not loadable),
// "Cannot find module"<procedure>" in file "<path>"." (no such export).
EditorLinkResult RunEditorLink(const std::string& link_text, FilterDescriptor& entry);

}  // namespace ombrix::editor
