// The pages of a filter book: an overview listing the book's filters, and one page per filter
// with its picture, what it does, and its parameters and options as the catalogue gives them
// (names, defaults, steps, kinds with their ranges, option groups, script keys), each row
// explained by the notes.
#pragma once

#include <string>
#include <vector>

#include "help/generator/catalogues.h"
#include "help/generator/filter_notes.h"
#include "help/generator/help_book.h"

namespace ombrix::help {

// Width and height of the picture on a filter page (the test picture scaled by one half).
inline constexpr int kPagePictureWidth = 320;
inline constexpr int kPagePictureHeight = 240;

// The picture of a filter, as a path relative to the folder of rendered pictures:
// "<plug-in file without extension>/<page slug>.png".
std::string PicturePath(const FilterDescriptor& filter);

// Builds the book. Fails with one line per problem when the notes and the catalogue disagree: a
// filter without notes, notes of a filter the catalogue does not hold, a parameter or option
// without a meaning, or a meaning of a row the filter does not have.
bool BuildFilterBook(const FilterBook& filters, const BookNotes& notes, HelpBook& book, std::string* error);

// The first sentence of a paragraph (through its first ". "), for the overview's list.
std::string FirstSentence(const std::string& paragraph);

}  // namespace ombrix::help
