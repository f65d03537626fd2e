// Checks a module's catalogue, as a host loads it, against expected rows: name, title, file
// name, help file and topic, index, slot counts, and every parameter and option slot.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "core/plugin/plugin_host.h"

namespace ombrix::testing {

// An expected parameter slot and option slot of a catalogue row.
struct ExpectedParameter {
  int slot;
  const char* name;
  const char* value;
  const char* step;
  int kind;
};
struct ExpectedOption {
  int slot;
  const char* name;
  int state;
  int group = 1;
};

// Row: {name, topic, params, options}, with an optional help_file member (else every row uses
// `help_file`); params are ExpectedParameter, options ExpectedOption. Slots a row does not list
// must be empty.
template <typename Row>
void ExpectCatalogue(const PluginTable& table, const std::vector<Row>& rows, const char* title, const char* file_name,
                     const char* help_file = nullptr) {
  ASSERT_EQ(table.Count(), int(rows.size()));
  for (int i = 0; i < table.Count(); ++i) {
    const FilterDescriptor& d = *table.At(i);
    const Row& row = rows[size_t(i)];
    SCOPED_TRACE(row.name);
    EXPECT_STREQ(d.name, row.name);
    EXPECT_STREQ(d.title, title);
    EXPECT_STREQ(d.file_name, file_name);
    if constexpr (requires { row.help_file; }) {
      EXPECT_STREQ(d.help_file, row.help_file);
    } else {
      EXPECT_STREQ(d.help_file, help_file);
    }
    EXPECT_EQ(d.help_topic, row.topic);
    EXPECT_EQ(d.index, i);
    ASSERT_EQ(d.parameter_count, 11);
    ASSERT_EQ(d.option_count, 11);
    for (int slot = 0; slot < 11; ++slot) {
      SCOPED_TRACE(slot);
      const ParameterRecord& p = d.parameters[slot];
      const auto* want = static_cast<decltype(&row.params[0])>(nullptr);
      for (const auto& candidate : row.params)
        if (candidate.slot == slot) want = &candidate;
      EXPECT_STREQ(p.name, want ? want->name : "");
      EXPECT_STREQ(p.value, want ? want->value : "");
      EXPECT_STREQ(p.step, want ? want->step : "");
      EXPECT_EQ(p.kind, want ? want->kind : 0);
      EXPECT_STREQ(p.extra, "");

      const OptionRecord& o = d.options[slot];
      const auto* option = static_cast<decltype(&row.options[0])>(nullptr);
      for (const auto& candidate : row.options)
        if (candidate.slot == slot) option = &candidate;
      EXPECT_STREQ(o.name, option ? option->name : "");
      EXPECT_EQ(o.state, option ? option->state : -1);
      EXPECT_EQ(o.group, option ? option->group : 1);
    }
  }
}

}  // namespace ombrix::testing
