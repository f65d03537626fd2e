// A help book as the help viewer reads it: HTML pages, a project file (<base>.hhp) naming the
// contents (<base>.hhc) and index (<base>.hhk) files, and the pictures the pages show, packed
// into one zip file that keeps the book's own file name ("ZvOmPal.Hlp").
//
// Topic numbers are the "ID" of a page's contents entry. Every entry carries an ID (-1 for pages
// without a topic), since the viewer's contents reader keeps the last ID it saw for entries that
// give none.
#pragma once

#include <string>
#include <vector>

namespace ombrix::help {

inline constexpr int kNoTopic = -1;

struct HelpPage {
  std::string file;  // "negative.html"
  std::string title;
  int topic = kNoTopic;
  int level = 1;                      // 1 at the top of the contents, 2 under the entry before it
  std::vector<std::string> keywords;  // index entries besides the title
  std::string body;                   // HTML of the page's body
};

struct HelpBook {
  std::string path;                   // where the book file goes, relative to the installation root
  std::string title;                  // the viewer's title of the book
  std::vector<HelpPage> pages;        // the first one opens when the book is opened without a topic
  std::vector<std::string> pictures;  // files of the book's folder that the pages show
};

// The base name of the project files: the book file's name without its extension.
std::string ProjectBaseName(const HelpBook& book);

// A whole HTML page around a body.
std::string PageHtml(const std::string& title, const std::string& body);

// Writes the pages and the three project files into folder (which holds the pictures already),
// then packs them and the pictures into the book file under root, replacing it atomically.
// False with a message when a file cannot be written.
bool WriteHelpBook(const HelpBook& book, const std::string& folder, const std::string& root, std::string* error);

}  // namespace ombrix::help
