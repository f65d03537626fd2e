// ombrix-help-books: makes the help books, their pictures and the gallery from an installation's
// own plug-ins and the hand-written texts beside this program's sources.
#include <Magick++.h>
#include <wx/init.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/text/ascii.h"
#include "help/generator/catalogues.h"
#include "help/generator/filter_notes.h"
#include "help/generator/filter_pages.h"
#include "help/generator/filter_pictures.h"
#include "help/generator/gallery.h"
#include "help/generator/help_book.h"
#include "help/generator/page_books.h"

namespace {

using namespace ombrix::help;
namespace fs = std::filesystem;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr const char* kDefaultFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

void Usage(FILE* out) {
  std::fprintf(out,
               "usage: ombrix-help-books pictures --root DIR --work DIR\n"
               "       ombrix-help-books books --root DIR --sources DIR --work DIR\n"
               "       ombrix-help-books gallery --root DIR --sources DIR --work DIR --out DIR [--font FILE]\n"
               "\n"
               "Makes the help books of an installation from its own plug-ins' catalogues and the hand-written\n"
               "texts of the sources folder (help/books): \"pictures\" renders every filter with its defaults\n"
               "over the test picture through the installation's ombrix-render; \"books\" writes the filter\n"
               "books (with those pictures) and the books written by hand into the installation; \"gallery\"\n"
               "writes gallery.md and the contact sheet gallery.png of every filter into the out folder.\n"
               "\n"
               "options:\n"
               "  --root DIR     the installation (the staged tree)\n"
               "  --sources DIR  the hand-written texts: one notes file per filter book, one folder per other book\n"
               "  --work DIR     scratch folder for scripts, renders and the books' pages\n"
               "  --out DIR      where the gallery goes\n"
               "  --font FILE    TrueType font of the gallery's names (default %s)\n"
               "  --help\n"
               "\n"
               "example:\n"
               "  ombrix-help-books books --root stage --sources help/books --work build/release/help\n"
               "\n"
               "exit status: 0 done, 1 failure, 2 usage\n",
               kDefaultFont);
}

struct Arguments {
  std::string command, root, sources, work, out, font = kDefaultFont;
};

bool Parse(int argc, char** argv, Arguments& a) {
  if (argc < 2) return false;
  a.command = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::string flag = argv[i];
    std::string* target = flag == "--root"      ? &a.root
                          : flag == "--sources" ? &a.sources
                          : flag == "--work"    ? &a.work
                          : flag == "--out"     ? &a.out
                          : flag == "--font"    ? &a.font
                                                : nullptr;
    if (target == nullptr || i + 1 >= argc) {
      std::fprintf(stderr, "ombrix-help-books: %s\n",
                   target == nullptr ? ("unknown option " + flag).c_str() : (flag + " needs a value").c_str());
      return false;
    }
    *target = argv[++i];
  }
  const bool needs_sources = a.command != "pictures";
  if (a.root.empty() || a.work.empty() || (needs_sources && a.sources.empty()) ||
      (a.command == "gallery" && a.out.empty())) {
    std::fprintf(stderr, "ombrix-help-books: %s needs --root, --work%s\n", a.command.c_str(),
                 a.command == "gallery" ? ", --sources and --out"
                 : needs_sources        ? " and --sources"
                                        : "");
    return false;
  }
  return a.command == "pictures" || a.command == "books" || a.command == "gallery";
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "ombrix-help-books: %s\n", message.c_str());
  return kExitFailure;
}

// The notes of every catalogue book, in the catalogue's order; each notes file must belong to a
// book of the catalogue.
bool ReadAllNotes(const std::string& sources, const std::vector<FilterBook>& books, std::vector<BookNotes>& notes,
                  std::string* error) {
  std::vector<BookNotes> read;
  std::vector<fs::path> files;
  std::error_code failed;
  for (const fs::directory_entry& entry : fs::directory_iterator(sources, failed))
    if (entry.path().extension() == ".txt") files.push_back(entry.path());
  if (failed) {
    *error = "cannot read \"" + sources + "\": " + failed.message();
    return false;
  }
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    BookNotes book;
    if (!ParseNotes(text.str(), book, error)) {
      *error = file.string() + ": " + *error;
      return false;
    }
    read.push_back(std::move(book));
  }
  for (const FilterBook& book : books) {
    auto same = [&](const BookNotes& n) {
      return ombrix::text::EqualsIgnoringCase(fs::path(n.book).filename().string(), book.help_file);
    };
    const auto found = std::find_if(read.begin(), read.end(), same);
    if (found == read.end()) {
      *error = "no notes file in \"" + sources + "\" says \"book: .../" + book.help_file + "\" (" + book.module + ")";
      return false;
    }
    notes.push_back(*found);
  }
  if (notes.size() != read.size()) {
    *error = "a notes file in \"" + sources + "\" names a book no plug-in of the installation names";
    return false;
  }
  return true;
}

bool CopyFile(const fs::path& from, const fs::path& to, std::string* error) {
  std::error_code failed;
  fs::create_directories(to.parent_path(), failed);
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, failed);
  if (failed) *error = "cannot copy \"" + from.string() + "\" to \"" + to.string() + "\": " + failed.message();
  return !failed;
}

int MakePictures(const InstallationCatalogue& catalogue, const Arguments& a) {
  const PictureRenderer renderer(catalogue, (fs::path(a.work) / "renders").string());
  std::string error;
  int count = 0;
  for (const FilterBook& book : catalogue.Books())
    for (const FilterDescriptor* d : book.filters) {
      const std::string out = (fs::path(a.work) / "pictures" / PicturePath(*d)).string();
      if (!renderer.Render(*d, {}, out, kPagePictureWidth, kPagePictureHeight, &error)) return Fail(error);
      ++count;
    }
  std::printf("ombrix-help-books: %d filter pictures in %s\n", count, (fs::path(a.work) / "pictures").c_str());
  return 0;
}

int MakeBooks(const InstallationCatalogue& catalogue, const Arguments& a) {
  const std::vector<FilterBook> books = catalogue.Books();
  std::vector<BookNotes> notes;
  std::string error;
  if (!ReadAllNotes(a.sources, books, notes, &error)) return Fail(error);
  std::vector<std::string> written;
  for (size_t b = 0; b < books.size(); ++b) {
    HelpBook book;
    if (!BuildFilterBook(books[b], notes[b], book, &error)) return Fail(error);
    const fs::path folder = fs::path(a.work) / "books" / ProjectBaseName(book);
    for (const FilterDescriptor* d : books[b].filters) {
      const fs::path picture = fs::path(a.work) / "pictures" / PicturePath(*d);
      if (!CopyFile(picture, folder / picture.filename(), &error)) return Fail(error);
    }
    if (!WriteHelpBook(book, folder.string(), a.root, &error)) return Fail(error);
    written.push_back(book.path);
  }
  for (const std::string& source : PageBookFolders(a.sources)) {
    HelpBook book;
    if (!ReadPageBook(source, books, book, &error)) return Fail(error);
    const fs::path folder = fs::path(a.work) / "books" / ProjectBaseName(book);
    for (const std::string& picture : book.pictures)
      if (!CopyFile(fs::path(source) / picture, folder / picture, &error)) return Fail(error);
    if (!WriteHelpBook(book, folder.string(), a.root, &error)) return Fail(error);
    written.push_back(book.path);
  }
  std::string list;
  for (const std::string& path : written) list += (list.empty() ? "" : ", ") + path;
  std::printf("ombrix-help-books: %s in %s\n", list.c_str(), a.root.c_str());
  return 0;
}

int MakeGallery(const InstallationCatalogue& catalogue, const Arguments& a) {
  const std::vector<FilterBook> books = catalogue.Books();
  std::vector<BookNotes> notes;
  std::string error;
  if (!ReadAllNotes(a.sources, books, notes, &error)) return Fail(error);
  if (!fs::exists(a.font)) return Fail("no font \"" + a.font + "\" (the package fonts-dejavu-core has it)");
  const PictureRenderer renderer(catalogue, (fs::path(a.work) / "renders").string());
  if (!WriteGallery(books, notes, renderer, (fs::path(a.work) / "gallery").string(), a.font, a.out, &error))
    return Fail(error);
  std::printf("ombrix-help-books: gallery.md and gallery.png in %s\n", a.out.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
      Usage(stdout);
      return 0;
    }
  Arguments a;
  if (!Parse(argc, argv, a)) {
    Usage(stderr);
    return kExitUsage;
  }
  // The toolkit's base part converts the catalogues' texts and packs the books.
  wxInitializer toolkit;
  if (!toolkit.IsOk()) return Fail("cannot start the toolkit's base library");
  Magick::InitializeMagick(argv[0]);
  a.root = fs::absolute(a.root).lexically_normal().string();
  if (!a.root.empty() && a.root.back() == '/') a.root.pop_back();

  InstallationCatalogue catalogue;
  std::string error;
  if (!catalogue.Load(a.root, &error)) return Fail(error);
  if (a.command == "pictures") return MakePictures(catalogue, a);
  if (a.command == "books") return MakeBooks(catalogue, a);
  return MakeGallery(catalogue, a);
}
