// Writing help books.
#include "help/generator/help_book.h"

#include <wx/datetime.h>
#include <wx/wfstream.h>
#include <wx/zipstrm.h>

#include <filesystem>
#include <fstream>

#include "core/platform/files.h"
#include "help/generator/texts.h"

namespace ombrix::help {
namespace fs = std::filesystem;

namespace {

bool WriteText(const fs::path& path, const std::string& text, std::string* error) {
  if (platform::ReplaceFileAtomically(path.c_str(), text)) return true;
  *error = "cannot write \"" + path.string() + "\"";
  return false;
}

std::string SitemapObject(const std::string& name, const std::string& page, int topic) {
  return "<OBJECT type=\"text/sitemap\">\n<param name=\"Name\" value=\"" + HtmlEscape(name) +
         "\">\n<param name=\"ID\" value=\"" + std::to_string(topic) + "\">\n<param name=\"Local\" value=\"" + page +
         "\">\n</OBJECT>\n";
}

std::string ContentsFile(const HelpBook& book) {
  std::string text = "<HTML><BODY>\n<UL>\n";
  int level = 1;
  for (const HelpPage& page : book.pages) {
    for (; level < page.level; ++level) text += "<UL>\n";
    for (; level > page.level; --level) text += "</UL>\n";
    text += "<LI> " + SitemapObject(page.title, page.file, page.topic);
  }
  for (; level > 1; --level) text += "</UL>\n";
  return text + "</UL>\n</BODY></HTML>\n";
}

std::string IndexFile(const HelpBook& book) {
  std::string text = "<HTML><BODY>\n<UL>\n";
  for (const HelpPage& page : book.pages) {
    text += "<LI> " + SitemapObject(page.title, page.file, kNoTopic);
    for (const std::string& keyword : page.keywords) text += "<LI> " + SitemapObject(keyword, page.file, kNoTopic);
  }
  return text + "</UL>\n</BODY></HTML>\n";
}

std::string ProjectFile(const HelpBook& book) {
  const std::string base = ProjectBaseName(book);
  std::string text = "[OPTIONS]\nCompatibility=1.1 or later\nContents file=" + base + ".hhc\nIndex file=" + base +
                     ".hhk\nDefault topic=" + book.pages.front().file + "\nTitle=" + book.title +
                     "\nCharset=UTF-8\n\n[FILES]\n";
  for (const HelpPage& page : book.pages) text += page.file + "\n";
  return text;
}

// Packs the files of folder, named as they are, into a zip at path.
bool Pack(const fs::path& folder, const std::vector<std::string>& files, const fs::path& path, std::string* error) {
  const fs::path partial = path.string() + ".partial";
  {
    wxFFileOutputStream file(partial.string());
    if (!file.IsOk()) {
      *error = "cannot write \"" + partial.string() + "\"";
      return false;
    }
    wxZipOutputStream zip(file, 9);
    // One fixed date, so that a book built twice from the same pages is the same file.
    const wxDateTime date(1, wxDateTime::Jan, 2000);
    for (const std::string& name : files) {
      std::ifstream in(folder / name, std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      if (!in && !in.eof()) {
        *error = "cannot read \"" + (folder / name).string() + "\"";
        return false;
      }
      zip.PutNextEntry(new wxZipEntry(name, date, wxFileOffset(bytes.size())));
      zip.Write(bytes.data(), bytes.size());
    }
    if (!zip.Close() || !file.Close()) {
      *error = "cannot write \"" + partial.string() + "\"";
      return false;
    }
  }
  std::error_code failed;
  fs::create_directories(path.parent_path(), failed);
  fs::rename(partial, path, failed);
  if (failed) *error = "cannot replace \"" + path.string() + "\": " + failed.message();
  return !failed;
}

}  // namespace

std::string ProjectBaseName(const HelpBook& book) { return fs::path(book.path).stem().string(); }

std::string PageHtml(const std::string& title, const std::string& body) {
  return "<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n<title>" +
         HtmlEscape(title) + "</title>\n</head>\n<body bgcolor=\"#FFFFFF\" text=\"#1A1A1A\" link=\"#1F4E8C\">\n" +
         body + "\n</body>\n</html>\n";
}

bool WriteHelpBook(const HelpBook& book, const std::string& folder, const std::string& root, std::string* error) {
  if (book.pages.empty()) {
    *error = "\"" + book.path + "\" has no page";
    return false;
  }
  const fs::path dir(folder);
  std::error_code made;
  fs::create_directories(dir, made);
  const std::string base = ProjectBaseName(book);
  std::vector<std::string> files = {base + ".hhp", base + ".hhc", base + ".hhk"};
  if (!WriteText(dir / files[0], ProjectFile(book), error) || !WriteText(dir / files[1], ContentsFile(book), error) ||
      !WriteText(dir / files[2], IndexFile(book), error))
    return false;
  for (const HelpPage& page : book.pages) {
    if (!WriteText(dir / page.file, PageHtml(page.title, page.body), error)) return false;
    files.push_back(page.file);
  }
  for (const std::string& picture : book.pictures) {
    if (!fs::exists(dir / picture)) {
      *error = "\"" + book.path + "\" shows \"" + picture + "\", which is not in \"" + folder + "\"";
      return false;
    }
    files.push_back(picture);
  }
  return Pack(dir, files, fs::path(root) / book.path, error);
}

}  // namespace ombrix::help
