// What can be known about an effect before a frame is rendered: that it reads as a script with
// filters, that every filter and plug-in it names is installed and every file it names exists.
#pragma once

#include <string>
#include <vector>

#include "core/plugin/plugin_host.h"

namespace ombrix::render {

struct EffectCheck {
  std::vector<std::string> filters;   // the chain, "\"Name\" of File.Omp" each
  std::vector<std::string> problems;  // each one a reason no frame would get the whole effect
};

// Fills table with the catalogues of the plug-ins the settings register ("Plug-ins"); a file
// that cannot be read goes into problems when given.
void BuildHostPluginTable(PluginTable& table, std::vector<std::string>* problems = nullptr);

// Checks the bytes of an effect script against the installation the settings describe.
EffectCheck CheckEffect(const std::string& script);

// The frames of [first, last] whose input file is missing, for the message that lists them.
std::vector<int> MissingFrames(const std::vector<std::string>& paths, int first);

}  // namespace ombrix::render
