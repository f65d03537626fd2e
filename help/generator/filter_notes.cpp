// Reading a book's notes file.
#include "help/generator/filter_notes.h"

#include "help/generator/texts.h"

namespace ombrix::help {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// Splits "A, B, C" into its trimmed names.
std::vector<std::string> SplitNames(std::string_view list) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = list.find(", ", start);
    const size_t end = comma == std::string_view::npos ? list.size() : comma;
    names.push_back(Trim(list.substr(start, end - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 2;
  }
  return names;
}

}  // namespace

const FilterNote* BookNotes::Find(std::string_view name) const {
  const std::string wanted = Trim(name);
  for (const FilterNote& note : filters)
    if (note.name == wanted) return &note;
  return nullptr;
}

bool ParseNotes(std::string_view text, BookNotes& notes, std::string* error) {
  notes = {};
  FilterNote* filter = nullptr;
  std::string paragraph;
  // The meaning a continuation line adds to: the names of the last "- " line.
  std::vector<std::string> meaning_names;
  auto paragraphs = [&]() -> std::vector<std::string>& { return filter ? filter->paragraphs : notes.overview; };
  auto end_paragraph = [&] {
    if (!paragraph.empty()) paragraphs().push_back(paragraph);
    paragraph.clear();
  };
  auto fail = [&](int line, const std::string& what) {
    *error = "line " + std::to_string(line) + ": " + what;
    return false;
  };

  int number = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    if (StartsWith(line, "#")) continue;
    if (StartsWith(line, "  ") && !meaning_names.empty()) {
      for (const std::string& name : meaning_names) filter->meanings[name] += " " + Trim(line);
      continue;
    }
    meaning_names.clear();
    const std::string trimmed = Trim(line);
    if (trimmed.empty()) {
      end_paragraph();
      continue;
    }
    if (StartsWith(line, "== ")) {
      end_paragraph();
      const std::string name = Trim(line.substr(3));
      if (notes.Find(name) != nullptr) return fail(number, "\"" + name + "\" has notes already");
      notes.filters.push_back({name, {}, {}, {}, number});
      filter = &notes.filters.back();
      continue;
    }
    if (filter == nullptr && (StartsWith(line, "book:") || StartsWith(line, "title:"))) {
      end_paragraph();
      const size_t colon = line.find(':');
      (line[0] == 'b' ? notes.book : notes.title) = Trim(line.substr(colon + 1));
      continue;
    }
    if (filter != nullptr && StartsWith(line, "- ")) {
      end_paragraph();
      const size_t colon = line.find(": ");
      if (colon == std::string_view::npos) return fail(number, "a meaning needs \"name: text\"");
      meaning_names = SplitNames(line.substr(2, colon - 2));
      for (const std::string& name : meaning_names) {
        if (filter->meanings.count(name) != 0) return fail(number, "\"" + name + "\" has a meaning already");
        filter->meanings[name] = Trim(line.substr(colon + 2));
      }
      continue;
    }
    if (filter != nullptr && StartsWith(line, "variation:")) {
      end_paragraph();
      filter->variation = Trim(line.substr(10));
      continue;
    }
    if (!paragraph.empty()) paragraph += ' ';
    paragraph += trimmed;
  }
  end_paragraph();
  if (notes.book.empty()) return fail(1, "no \"book:\" line");
  return true;
}

}  // namespace ombrix::help
