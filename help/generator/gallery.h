// The gallery of every filter: gallery.md, a page for the repository's readers that lists each
// filter with its defaults and its variation, and gallery.png, a contact sheet of small pictures
// of each filter on the test picture (its defaults above, the variation below, its name under
// them).
#pragma once

#include <string>
#include <vector>

#include "help/generator/catalogues.h"
#include "help/generator/filter_notes.h"
#include "help/generator/filter_pictures.h"

namespace ombrix::help {

// The notes belong to the books in the same order. The font is a TrueType file for the names.
bool WriteGallery(const std::vector<FilterBook>& books, const std::vector<BookNotes>& notes,
                  const PictureRenderer& renderer, const std::string& work_dir, const std::string& font,
                  const std::string& out_dir, std::string* error);

// "Index 1.4; Based on Green": the non-empty parameter values and the options that are on.
std::string DefaultsText(const FilterDescriptor& filter);

}  // namespace ombrix::help
