// Grouping, sorting and cutting the filter menu.
#include "editor/model/filter_menu.h"

#include <algorithm>

#include "core/text/ascii.h"

namespace ombrix::editor {

std::vector<FilterMenuGroup> BuildFilterMenu(const PluginTable& table) {
  std::vector<FilterMenuGroup> groups;
  int i = 0;
  while (i < table.Count()) {
    const std::string title = table.At(i)->title;
    std::vector<FilterMenuItem> items;
    for (; i < table.Count() && text::EqualsIgnoringCase(table.At(i)->title, title); ++i)
      items.push_back({table.At(i)->name, i + 1});
    // std::string compares as unsigned bytes, which is the byte order the menu is sorted in.
    std::stable_sort(items.begin(), items.end(),
                     [](const FilterMenuItem& a, const FilterMenuItem& b) { return a.name < b.name; });
    FilterMenuGroup group;
    group.title = title;
    for (size_t k = 0; k < items.size(); ++k) {
      if (k % kFilterMenuColumnItems == 0) group.columns.emplace_back();
      group.columns.back().push_back(items[k]);
    }
    groups.push_back(std::move(group));
  }
  return groups;
}

std::string FilterMenuColumnTitle(const FilterMenuGroup& group, size_t column) {
  if (column == 0) return group.title;
  return group.title + " (" + std::to_string(column + 1) + ")";
}

}  // namespace ombrix::editor
