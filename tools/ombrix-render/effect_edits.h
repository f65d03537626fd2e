// Effects made and changed from the command line: a template of catalogue filters, and changes
// of one run to an entry's values (--set) or to every entry's zone basis (--proportional).
#pragma once

#include <string>
#include <vector>

#include "core/plugin/plugin_host.h"

namespace ombrix::render {

// One --set: a key of the script's section "Filter_<entry>" and its new value.
struct EntryEdit {
  int entry = 0;
  std::string key;
  std::string value;
};

// Reads "N:SLOT=VALUE" (the value of parameter slot SLOT), "N:step:SLOT=VALUE" (its step per
// frame), "N:zone=L,T,R,B" (the zone, which stops being the full frame) and "N:alpha=PERCENT"
// (the transparency at the start frame). False with the reason.
bool ParseEntryEdit(const std::string& text, EntryEdit& edit, std::string& error);

// Applies the edits to the script's bytes and, with proportional, makes every entry scale its
// zone from the script's based size to the frame. False with the reason (an entry the script
// does not have).
bool ApplyEntryEdits(std::string& script, const std::vector<EntryEdit>& edits, bool proportional, std::string& error);

// An effect of the named filters in this order with the catalogue's values, each over the whole
// frame at every frame. False with the reason (a name no plug-in offers).
bool TemplateEffect(const std::vector<std::string>& names, const PluginTable& table, std::string& script,
                    std::string& error);

}  // namespace ombrix::render
