// Reading books written by hand.
#include "help/generator/page_books.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "help/generator/kind_facts.h"
#include "help/generator/texts.h"

namespace ombrix::help {
namespace fs = std::filesystem;

namespace {

constexpr int kKindCount = 17;

std::string ReadFile(const fs::path& path, bool* ok) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  *ok = bool(in) || in.eof();
  return text.str();
}

// "key: value" header lines up to the first blank line; the rest is the body.
bool ReadHeader(const std::string& text, std::vector<std::pair<std::string, std::string>>& header, std::string& body) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trim(std::string_view(text).substr(start, end - start));
    start = end + 1;
    if (line.empty()) break;
    const size_t colon = line.find(':');
    if (colon == std::string::npos) return false;
    header.emplace_back(Trim(std::string_view(line).substr(0, colon)), Trim(std::string_view(line).substr(colon + 1)));
  }
  body = start < text.size() ? text.substr(start) : std::string();
  return true;
}

std::vector<std::string> SplitKeywords(const std::string& list) {
  std::vector<std::string> words;
  std::istringstream in(list);
  std::string word;
  while (std::getline(in, word, ';'))
    if (!Trim(word).empty()) words.push_back(Trim(word));
  return words;
}

void Replace(std::string& text, const std::string& marker, const std::string& filling) {
  for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + filling.size()))
    text.replace(at, marker.size(), filling);
}

// "05-main-window.html" gives "main-window.html".
std::string PageFileName(const std::string& source) {
  size_t digits = 0;
  while (digits < source.size() && source[digits] >= '0' && source[digits] <= '9') ++digits;
  return digits > 0 && digits < source.size() && source[digits] == '-' ? source.substr(digits + 1) : source;
}

}  // namespace

std::vector<std::string> PageBookFolders(const std::string& sources) {
  std::vector<std::string> folders;
  std::error_code failed;
  for (const fs::directory_entry& entry : fs::directory_iterator(sources, failed))
    if (entry.is_directory() && fs::exists(entry.path() / "book.txt")) folders.push_back(entry.path().string());
  std::sort(folders.begin(), folders.end());
  return folders;
}

std::string FilterListHtml(const std::vector<FilterBook>& filters) {
  std::string html;
  for (const FilterBook& book : filters) {
    std::vector<const FilterDescriptor*> sorted = book.filters;
    std::sort(sorted.begin(), sorted.end(), [](const FilterDescriptor* a, const FilterDescriptor* b) {
      return DisplayName(Utf8FromAnsi(a->name)) < DisplayName(Utf8FromAnsi(b->name));
    });
    html += "<h3>" + HtmlEscape(book.title) + "</h3>\n<p>Plug-in <tt>" + HtmlEscape(book.module) + "</tt>, " +
            std::to_string(sorted.size()) + " filters, help book <tt>" + HtmlEscape(book.help_file) + "</tt>:</p>\n<p>";
    for (size_t i = 0; i < sorted.size(); ++i)
      html += (i > 0 ? ", " : "") + HtmlEscape(DisplayName(Utf8FromAnsi(sorted[i]->name)));
    html += ".</p>\n";
  }
  return html;
}

std::string KindTableHtml() {
  std::string html =
      "<table border=\"1\" cellpadding=\"4\" cellspacing=\"0\">\n<tr bgcolor=\"#D9E2EC\"><th align=\"left\">Kind</th>"
      "<th align=\"left\">Name</th><th align=\"left\">Range in the editor</th></tr>\n";
  for (int kind = 0; kind < kKindCount; ++kind) {
    const std::string range = RangeText(kind);
    html += "<tr><td>" + std::to_string(kind) + "</td><td>" + HtmlEscape(FactsOfKind(kind).name) + "</td><td>" +
            (range.empty() ? "&nbsp;" : HtmlEscape(range)) + "</td></tr>\n";
  }
  return html + "</table>\n";
}

bool ReadPageBook(const std::string& folder, const std::vector<FilterBook>& filters, HelpBook& book,
                  std::string* error) {
  book = {};
  const fs::path dir(folder);
  bool ok = false;
  std::vector<std::pair<std::string, std::string>> header;
  std::string rest;
  if (!ReadHeader(ReadFile(dir / "book.txt", &ok) + "\n", header, rest) || !ok) {
    *error = (dir / "book.txt").string() + ": cannot be read";
    return false;
  }
  for (const auto& [key, value] : header) {
    if (key == "book") book.path = value;
    if (key == "title") book.title = value;
  }
  if (book.path.empty() || book.title.empty()) {
    *error = (dir / "book.txt").string() + ": needs \"book:\" and \"title:\"";
    return false;
  }

  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const fs::path& path : files) {
    const std::string name = path.filename().string();
    if (path.extension() == ".png") {
      book.pictures.push_back(name);
      continue;
    }
    if (path.extension() != ".html") continue;
    header.clear();
    HelpPage page;
    page.file = PageFileName(name);
    const std::string text = ReadFile(path, &ok);
    if (!ok || !ReadHeader(text, header, page.body)) {
      *error = path.string() + ": the header lines need \"key: value\"";
      return false;
    }
    for (const auto& [key, value] : header) {
      if (key == "title") page.title = value;
      if (key == "topic") page.topic = std::stoi(value);
      if (key == "level") page.level = std::stoi(value);
      if (key == "keywords") page.keywords = SplitKeywords(value);
    }
    if (page.title.empty()) {
      *error = path.string() + ": no \"title:\" line";
      return false;
    }
    Replace(page.body, "{{filters}}", FilterListHtml(filters));
    Replace(page.body, "{{kinds}}", KindTableHtml());
    book.pages.push_back(std::move(page));
  }
  if (book.pages.empty()) {
    *error = folder + ": no page";
    return false;
  }
  return true;
}

}  // namespace ombrix::help
