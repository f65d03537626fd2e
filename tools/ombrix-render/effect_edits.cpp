// Template effects and the changes of one run.
#include "tools/ombrix-render/effect_edits.h"

#include <cstdlib>

#include "core/script/effect_script.h"
#include "core/script/script_file.h"

namespace ombrix::render {
namespace {

// A whole non-negative decimal number.
bool ReadIndex(const std::string& text, int& value) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  value = int(std::strtol(text.c_str(), nullptr, 10));
  return true;
}

std::string SectionOf(int entry) { return "Filter_" + std::to_string(entry); }

}  // namespace

bool ParseEntryEdit(const std::string& text, EntryEdit& edit, std::string& error) {
  error = "bad --set \"" + text + "\" (N:SLOT=VALUE, N:step:SLOT=VALUE, N:zone=L,T,R,B or N:alpha=PERCENT)";
  const size_t colon = text.find(':'), equals = text.find('=');
  if (colon == std::string::npos || equals == std::string::npos || equals < colon) return false;
  if (!ReadIndex(text.substr(0, colon), edit.entry)) return false;
  const std::string what = text.substr(colon + 1, equals - colon - 1);
  edit.value = text.substr(equals + 1);
  int slot = 0;
  if (what == "zone") {
    std::string zone = edit.value;
    int commas = 0;
    for (char& c : zone)
      if (c == ',') c = ' ', ++commas;
    if (commas != 3) return false;
    edit.key = "Zone";
    edit.value = zone;
  } else if (what == "alpha") {
    edit.key = "AlphaInit";
  } else if (what.rfind("step:", 0) == 0 && ReadIndex(what.substr(5), slot)) {
    edit.key = "Parameter_" + std::to_string(slot) + "_Step";
  } else if (ReadIndex(what, slot)) {
    edit.key = "Parameter_" + std::to_string(slot) + "_Val";
  } else {
    return false;
  }
  error.clear();
  return true;
}

bool ApplyEntryEdits(std::string& script, const std::vector<EntryEdit>& edits, bool proportional, std::string& error) {
  ScriptFile file;
  file.LoadText(script);
  const int entries = int(int16_t(file.GetInt("Header", "nFilter")));
  for (const EntryEdit& edit : edits) {
    const std::string section = SectionOf(edit.entry);
    if (edit.entry >= entries || file.Find(section, "FilterName") == nullptr) {
      error = "the effect has no entry " + std::to_string(edit.entry) + " (entries count from 0)";
      return false;
    }
    file.SetText(section.c_str(), edit.key.c_str(), edit.value.c_str());
    if (edit.key == "Zone") file.SetText(section.c_str(), "FullScreen", "0");
  }
  if (proportional)
    for (int i = 0; i < entries; ++i)
      if (file.Find(SectionOf(i), "FilterName") != nullptr) file.SetText(SectionOf(i).c_str(), "Proportionnal", "1");
  script = file.Format();
  return true;
}

bool TemplateEffect(const std::vector<std::string>& names, const PluginTable& table, std::string& script,
                    std::string& error) {
  std::vector<FilterDescriptor*> entries;
  bool found_all = true;
  for (const std::string& name : names) {
    const FilterDescriptor* found = nullptr;
    for (int i = 0; i < table.Count() && found == nullptr; ++i)
      if (name == table.At(i)->name) found = table.At(i);
    FilterDescriptor* entry = found != nullptr ? FindDescriptor(table, found->name, found->file_name) : nullptr;
    if (entry == nullptr) {
      error = "no filter named \"" + name + "\" (see --list-filters)";
      found_all = false;
      break;
    }
    // Positions among the catalogue's values are set for the based size: they scale to the frame.
    entry->full_screen = 1;
    entry->all_frames = 1;
    entry->proportional = 1;
    entries.push_back(entry);
  }
  if (found_all) {
    ScriptFile file;
    ScriptHeader header;
    header.based_width = 640;
    header.based_height = 480;
    WriteScriptTo(file, entries.data(), int(entries.size()), 0, header);
    script = file.Format();
  }
  for (FilterDescriptor* entry : entries) FreeDescriptor(entry, true);
  return found_all;
}

}  // namespace ombrix::render
