// Registration of catalogue rows through the kit's catalogue helpers.
#include "core/kit/catalogue_row.h"

#include "core/kit/plugin_kit.h"

namespace ombrix::kit {
namespace {

// The set-up routine RegisterFilter calls; the user value carries the row.
int32_t SetUpFromRow(intptr_t user_value) {
  const auto* row = reinterpret_cast<const CatalogueRow*>(user_value);
  SetHelp(row->help_file, row->help_topic);
  int32_t result = 1;
  for (const ParameterRow& p : row->parameters)
    if (SetParam(p.slot, p.name, p.value, p.step, p.kind, nullptr) == 0) result = 0;
  for (const OptionRow& o : row->options)
    if (SetOption(o.slot, o.name, o.state, o.group) == 0) result = 0;
  return result;
}

}  // namespace

int32_t RegisterRow(const CatalogueRow& row) {
  return RegisterFilter(row.name, row.apply, SetUpFromRow, reinterpret_cast<intptr_t>(&row));
}

void RegisterRows(std::span<const CatalogueRow* const> rows) {
  for (const CatalogueRow* row : rows)
    if (row != nullptr) RegisterRow(*row);
}

}  // namespace ombrix::kit
