// A filter's catalogue row as data: name, apply routine, help topic, parameter and option slots.
// A module writes each row once, beside the filter's apply routine, and registers the rows in
// catalogue order.
#pragma once

#include <cstdint>
#include <span>

#include "core/records.h"

namespace ombrix::kit {

struct ParameterRow {
  int32_t slot;
  const char* name;
  const char* value;
  const char* step;
  ParameterKind kind;
};

struct OptionRow {
  int32_t slot;
  const char* name;
  int16_t state;  // 1 set by default, 0 not
  int16_t group;
};

struct CatalogueRow {
  const char* name;
  ApplyRoutine apply;
  const char* help_file;
  int32_t help_topic;
  std::span<const ParameterRow> parameters;
  std::span<const OptionRow> options;
};

// Registers one filter with RegisterFilter and fills its help, parameters and options from the
// row. Returns RegisterFilter's result: 0 when the filter could not be added or a slot was
// refused.
int32_t RegisterRow(const CatalogueRow& row);

// Registers the rows in order; a row that cannot be added is left out and the next one follows.
void RegisterRows(std::span<const CatalogueRow* const> rows);

}  // namespace ombrix::kit
