// Building the pages of a filter book.
#include "help/generator/filter_pages.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "help/generator/kind_facts.h"
#include "help/generator/texts.h"

namespace ombrix::help {
namespace {

constexpr const char* kHeaderRow = "<tr bgcolor=\"#D9E2EC\">";
constexpr const char* kTable = "<table border=\"1\" cellpadding=\"4\" cellspacing=\"0\" width=\"100%\">\n";

std::string Cell(const std::string& html) { return "<td valign=\"top\">" + html + "</td>"; }
std::string Head(const std::string& text, int width = 0) {
  return "<th align=\"left\"" + (width > 0 ? " width=\"" + std::to_string(width) + "%\"" : std::string()) + ">" + text +
         "</th>";
}

// A meaning as a table cell shows it: starting with a capital letter.
std::string Sentence(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = char(text[0] - 'a' + 'A');
  return text;
}
std::string Code(const std::string& text) { return "<tt>" + HtmlEscape(text) + "</tt>"; }

std::string Name(const char* ansi) { return Trim(Utf8FromAnsi(ansi)); }

// The value texts as the editor shows them: a kind without a value text shows nothing.
std::string ValueCell(const std::string& text) { return text.empty() ? "&nbsp;" : Code(text); }

std::string KindCell(int16_t kind) {
  std::string text = HtmlEscape(FactsOfKind(kind).name);
  const std::string range = RangeText(kind);
  if (!range.empty()) text += "<br>" + HtmlEscape(range);
  return text;
}

struct RowCheck {
  const FilterNote& note;
  std::set<std::string> used;
  std::vector<std::string>& problems;
  std::string Meaning(const std::string& row) {
    used.insert(row);
    const auto found = note.meanings.find(row);
    if (found != note.meanings.end()) return found->second;
    problems.push_back("\"" + note.name + "\": no meaning for \"" + row + "\"");
    return {};
  }
};

std::string ParameterTable(const FilterDescriptor& d, RowCheck& check) {
  std::string html;
  for (int k = 0; k < d.parameter_count; ++k) {
    const ParameterRecord& p = d.parameters[k];
    if (p.name[0] == '\0') continue;
    const std::string name = Name(p.name);
    html += "<tr>" +
            Cell("<b>" + HtmlEscape(name) + "</b><br><font size=\"-1\">" + Code("Parameter_" + std::to_string(k)) +
                 "</font>") +
            Cell(ValueCell(Utf8FromAnsi(p.value))) + Cell(ValueCell(Utf8FromAnsi(p.step))) + Cell(KindCell(p.kind)) +
            Cell(Sentence(check.Meaning(name))) + "</tr>\n";
  }
  if (html.empty()) return "<p>This filter has no parameters.</p>\n";
  return std::string("<h3>Parameters</h3>\n") + kTable + kHeaderRow + Head("Parameter", 24) + Head("Default", 12) +
         Head("Step", 8) + Head("Kind, range", 16) + Head("Meaning") + "</tr>\n" + html + "</table>\n";
}

std::string OptionTable(const FilterDescriptor& d, RowCheck& check) {
  std::vector<int> slots;
  for (int k = 0; k < d.option_count; ++k)
    if (d.options[k].name[0] != '\0') slots.push_back(k);
  if (slots.empty()) return "<p>This filter has no options.</p>\n";
  auto members = [&](int16_t group) {
    return std::count_if(slots.begin(), slots.end(), [&](int k) { return d.options[k].group == group; });
  };
  // Options of one group stay together, in slot order within it.
  std::stable_sort(slots.begin(), slots.end(), [&](int a, int b) { return d.options[a].group < d.options[b].group; });
  std::string html;
  for (const int k : slots) {
    const OptionRecord& o = d.options[k];
    const std::string name = Name(o.name);
    const long shared = members(o.group);
    const std::string group =
        shared > 1 ? "one of " + std::to_string(shared) + " (group " + std::to_string(o.group) + ")" : "on or off";
    html += "<tr>" +
            Cell("<b>" + HtmlEscape(name) + "</b><br><font size=\"-1\">" + Code("Option_" + std::to_string(k)) +
                 "</font>") +
            Cell(group) + Cell(o.state > 0 ? "on" : "off") + Cell(Sentence(check.Meaning(name))) + "</tr>\n";
  }
  return std::string(
             "<h3>Options</h3>\n<p>Options that share a group form a list of which exactly one is on; an "
             "option alone in its group is a switch.</p>\n") +
         kTable + kHeaderRow + Head("Option", 24) + Head("Choice", 20) + Head("Default", 8) + Head("Meaning") +
         "</tr>\n" + html + "</table>\n";
}

std::string FilterBody(const FilterDescriptor& d, const FilterNote& note, const std::string& help_file,
                       RowCheck& check) {
  const std::string name = DisplayName(Name(d.name));
  std::string html = "<h2>" + HtmlEscape(name) + "</h2>\n";
  html += "<p><img src=\"" + PageSlug(Name(d.name)) + ".png\" width=\"" + std::to_string(kPagePictureWidth) +
          "\" height=\"" + std::to_string(kPagePictureHeight) + "\" alt=\"" + HtmlEscape(name) + "\"><br>\n" +
          "<font size=\"-1\"><i>" + HtmlEscape(name) +
          " with its default parameters and options over the whole test picture.</i></font></p>\n";
  for (const std::string& paragraph : note.paragraphs) html += "<p>" + paragraph + "</p>\n";
  html += ParameterTable(d, check);
  html += OptionTable(d, check);
  html += "<h3>In an effect script</h3>\n<p>A section of this filter names it with " +
          Code("DllName=" + std::string(d.file_name)) + " and " + Code("FilterName=" + Utf8FromAnsi(d.name)) +
          "; the keys under the row names above hold its values (" + Code("Parameter_k_Val") + ", " +
          Code("Parameter_k_Step") + ") and option states (" + Code("Option_k") +
          "). The main help book describes the whole format.</p>\n";
  html += "<p><font size=\"-1\">Help topic " + std::to_string(d.help_topic) + " of " + HtmlEscape(help_file) +
          ".</font></p>\n";
  return html;
}

}  // namespace

std::string PicturePath(const FilterDescriptor& filter) {
  return std::filesystem::path(filter.file_name).stem().string() + "/" + PageSlug(Name(filter.name)) + ".png";
}

std::string FirstSentence(const std::string& paragraph) {
  const size_t end = paragraph.find(". ");
  return end == std::string::npos ? paragraph : paragraph.substr(0, end + 1);
}

bool BuildFilterBook(const FilterBook& filters, const BookNotes& notes, HelpBook& book, std::string* error) {
  std::vector<std::string> problems;
  book = {};
  book.path = notes.book;
  book.title = notes.title.empty() ? filters.title : notes.title;

  std::vector<const FilterDescriptor*> sorted = filters.filters;
  std::sort(sorted.begin(), sorted.end(), [](const FilterDescriptor* a, const FilterDescriptor* b) {
    return DisplayName(Name(a->name)) < DisplayName(Name(b->name));
  });

  HelpPage overview{"index.html", "Overview", kNoTopic, 1, {}, {}};
  overview.body = "<h2>" + HtmlEscape(book.title) + "</h2>\n";
  for (const std::string& paragraph : notes.overview) overview.body += "<p>" + paragraph + "</p>\n";
  overview.body += std::string(kTable) + kHeaderRow + Head("Filter") + Head("What it does") + "</tr>\n";
  std::vector<HelpPage> pages;
  for (const FilterDescriptor* d : sorted) {
    const std::string name = Name(d->name);
    const FilterNote* note = notes.Find(name);
    if (note == nullptr) {
      problems.push_back("no notes for \"" + name + "\"");
      continue;
    }
    RowCheck check{*note, {}, problems};
    const std::string slug = PageSlug(name);
    HelpPage page{slug + ".html", DisplayName(name), d->help_topic, 1, {}, FilterBody(*d, *note, notes.book, check)};
    for (const auto& [row, meaning] : note->meanings)
      if (check.used.count(row) == 0) problems.push_back("\"" + name + "\" has no row \"" + row + "\"");
    if (note->paragraphs.empty()) problems.push_back("\"" + name + "\": no paragraph says what it does");
    overview.body += "<tr>" + Cell("<a href=\"" + page.file + "\">" + HtmlEscape(page.title) + "</a>") +
                     Cell(note->paragraphs.empty() ? "" : FirstSentence(note->paragraphs.front())) + "</tr>\n";
    book.pictures.push_back(slug + ".png");
    pages.push_back(std::move(page));
  }
  overview.body += "</table>\n";
  for (const FilterNote& note : notes.filters) {
    const bool known = std::any_of(filters.filters.begin(), filters.filters.end(),
                                   [&](const FilterDescriptor* d) { return Name(d->name) == note.name; });
    if (!known)
      problems.push_back("line " + std::to_string(note.line) + ": no filter \"" + note.name + "\" in " +
                         filters.module);
  }
  book.pages.push_back(std::move(overview));
  for (HelpPage& page : pages) book.pages.push_back(std::move(page));

  if (problems.empty()) return true;
  *error = notes.book + ":";
  for (const std::string& problem : problems) *error += "\n  " + problem;
  return false;
}

}  // namespace ombrix::help
