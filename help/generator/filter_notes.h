// The hand-written part of a filter book: a notes file per book holding the book's overview and,
// per filter, what it does, what each of its parameters and options means and the settings of
// the gallery's second picture. The catalogue gives everything else (names, kinds, defaults,
// steps, groups, topics).
//
// Format (UTF-8, one item a line):
//   # ...                      a comment
//   book: ZvOmPal.Hlp          the book's file name, as it is written into the help folder
//   title: Palette filters     the book's title
//   paragraph text             before the first filter: the book's overview page; after a
//                              "== Name" line: what that filter does. Blank lines separate
//                              paragraphs; the text may hold HTML markup.
//   == Negative                starts the notes of the filter of that catalogue name
//   - Red Negative, Green Negative: what these rows mean (units, what the range does); lines
//     indented by two blanks continue it
//   variation: Red Negative = 100; Circular overflow
//                              the gallery's second picture (see variation.h)
// Names compare after dropping blanks at both ends, so "Combinate " is written "Combinate".
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ombrix::help {

struct FilterNote {
  std::string name;
  std::vector<std::string> paragraphs;
  std::map<std::string, std::string> meanings;  // parameter or option name -> its meaning
  std::string variation;
  int line = 0;  // of the "==" line, for messages
};

struct BookNotes {
  std::string book;
  std::string title;
  std::vector<std::string> overview;
  std::vector<FilterNote> filters;

  // The notes of a filter by its catalogue name (UTF-8, blanks at both ends ignored), or null.
  const FilterNote* Find(std::string_view name) const;
};

// Parses a notes file. False with "line N: what is wrong" for a line it cannot take, a filter
// named twice or a missing "book:" line.
bool ParseNotes(std::string_view text, BookNotes& notes, std::string* error);

}  // namespace ombrix::help
