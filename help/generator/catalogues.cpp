// Reading an installation's catalogues.
#include "help/generator/catalogues.h"

#include "core/plugin/last_error.h"
#include "core/settings/private_store.h"
#include "core/settings/settings.h"
#include "core/text/ascii.h"
#include "help/generator/texts.h"

namespace ombrix::help {

InstallationCatalogue::~InstallationCatalogue() { RemovePrivateSettingsStore(store_); }

bool InstallationCatalogue::Load(const std::string& root, std::string* error) {
  root_ = root;
  store_ = CreatePrivateSettingsStore(root);
  if (store_.empty()) {
    *error = "cannot make a settings store for \"" + root + "\"";
    return false;
  }
  const int count = ReadSettingNumber("Plug-ins", "N_Plug", 0);
  for (int i = 0; i < count; ++i) {
    const std::string key = "Plug-in_" + std::to_string(i);
    const std::string path = ReadSetting("Plug-ins", key.c_str());
    if (!LoadPluginFile(table_, path.c_str())) {
      *error = Utf8FromAnsi(LastErrorText());
      return false;
    }
  }
  if (table_.Count() == 0) {
    *error = "the installation \"" + root + "\" registers no filter";
    return false;
  }
  return true;
}

std::vector<FilterBook> InstallationCatalogue::Books() const {
  std::vector<FilterBook> books;
  for (int i = 0; i < table_.Count(); ++i) {
    const FilterDescriptor* d = table_.At(i);
    size_t b = 0;
    while (b < books.size() && !text::EqualsIgnoringCase(books[b].help_file, d->help_file)) ++b;
    if (b == books.size()) books.push_back({d->help_file, Utf8FromAnsi(d->title), d->file_name, {}});
    books[b].filters.push_back(d);
  }
  return books;
}

}  // namespace ombrix::help
