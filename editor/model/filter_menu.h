// The filter menu as data: one group per run of plug-in table entries with the same plug-in
// title, its items sorted by filter name and cut into columns of at most 19 items.
#pragma once

#include <string>
#include <vector>

#include "core/plugin/plugin_host.h"

namespace ombrix::editor {

inline constexpr int kFilterMenuColumnItems = 19;

struct FilterMenuItem {
  std::string name;
  int command = 0;  // the entry's index in the plug-in table plus 1
};

struct FilterMenuGroup {
  std::string title;  // the plug-in title of the run's first entry
  std::vector<std::vector<FilterMenuItem>> columns;
};

// Walks the table in order; consecutive entries whose titles match (letter case ignored) form
// one group, so a title that comes again after another one starts a second group of the same
// name. Within a group the items are in ascending byte order of their names (equal names in
// table order); the 20th, 39th, ... item starts a new column.
std::vector<FilterMenuGroup> BuildFilterMenu(const PluginTable& table);

// The title of column k (from 0) of a group: the group's title for the first column, then
// "Title (2)", "Title (3)", ... The toolkit draws no menu columns on every platform, so each
// column becomes a submenu of its own beside the first.
std::string FilterMenuColumnTitle(const FilterMenuGroup& group, size_t column);

}  // namespace ombrix::editor
