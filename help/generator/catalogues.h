// The filters an installation offers, read from the plug-ins its settings list exactly as a host
// reads them (identification, catalogue, deep copies), and grouped by the help book each filter
// names.
#pragma once

#include <string>
#include <vector>

#include "core/plugin/plugin_host.h"
#include "core/records.h"

namespace ombrix::help {

// The filters of one help book, in the order the plug-ins register them.
struct FilterBook {
  std::string help_file;  // as its first filter names it (the names of a book may differ in case)
  std::string title;      // the plug-in title, UTF-8
  std::string module;     // the plug-in file, e.g. "ZvCom.Omp"
  std::vector<const FilterDescriptor*> filters;
};

class InstallationCatalogue {
 public:
  InstallationCatalogue() = default;
  ~InstallationCatalogue();
  InstallationCatalogue(const InstallationCatalogue&) = delete;
  InstallationCatalogue& operator=(const InstallationCatalogue&) = delete;

  // Reads the catalogues of every plug-in the installation at root registers, through a
  // settings store of this run's own filled with root's initial settings. False with a message
  // when the store cannot be made, a plug-in cannot be read or no filter was found.
  bool Load(const std::string& root, std::string* error);

  const std::string& Root() const { return root_; }
  const PluginTable& Table() const { return table_; }
  // One book per help file name (compared without regard to letter case), in the order their
  // first filters come in the table.
  std::vector<FilterBook> Books() const;

 private:
  std::string root_;
  std::string store_;
  PluginTable table_;
};

}  // namespace ombrix::help
