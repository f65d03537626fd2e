// Books written by hand: a folder holding book.txt and one file per page, read in the order of
// their names; a leading "NN-" of a file name orders the pages and is dropped from the page's
// name. book.txt gives "book: <path of the book file under the installation root>" and
// "title: <the book's title>". A page file starts with header lines, then a blank line and the
// page's body (HTML):
//   title: The main window
//   topic: 5              optional: the topic number the programs open it at
//   level: 2              optional: nested under the page before it in the contents
//   keywords: a; b; c     optional: index entries besides the title
// PNG files of the folder go into the book as they are. The body may hold markers that the
// generator fills from the installation:
//   {{filters}}  every filter of the installation by help book, with its topic
//   {{kinds}}    the parameter kinds with their ranges
#pragma once

#include <string>
#include <vector>

#include "help/generator/catalogues.h"
#include "help/generator/help_book.h"

namespace ombrix::help {

// The folders of books written by hand under the sources folder: those holding a book.txt.
std::vector<std::string> PageBookFolders(const std::string& sources);

bool ReadPageBook(const std::string& folder, const std::vector<FilterBook>& filters, HelpBook& book,
                  std::string* error);

// The fillings of the markers, shared with the tests that check them.
std::string FilterListHtml(const std::vector<FilterBook>& filters);
std::string KindTableHtml();

}  // namespace ombrix::help
