// The help generator: reading the hand-written notes, finding where they and the catalogue
// disagree, the tables of a filter page, the variations of the gallery, and the committed
// gallery naming every filter the staged plug-ins offer.
#include <gtest/gtest.h>
#include <wx/init.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "help/generator/catalogues.h"
#include "help/generator/filter_notes.h"
#include "help/generator/filter_pages.h"
#include "help/generator/page_books.h"
#include "help/generator/texts.h"
#include "help/generator/variation.h"

namespace {

using namespace ombrix;
using namespace ombrix::help;
namespace fs = std::filesystem;

// The toolkit's base part converts the catalogue texts.
const wxInitializer toolkit;

constexpr const char* kNotes =
    "# a comment\n"
    "book: Help/ZvTest.Hlp\n"
    "title: Test Filters\n"
    "\n"
    "The overview,\n"
    "on two lines.\n"
    "\n"
    "== Two  Tone \n"
    "Paints the picture in two colours. Dark pixels take the first.\n"
    "\n"
    "A second paragraph.\n"
    "- Dark, Light: the two colours,\n"
    "  red, green and blue.\n"
    "- Middle: the threshold.\n"
    "- Hard, Soft: the edge.\n"
    "- Keep: a switch.\n"
    "variation: Middle = 100; Soft; frame 12\n";

// A descriptor as a catalogue holds it: two colours, a byte-range threshold, a group of two
// options and a switch.
struct TestFilter {
  FilterDescriptor d{};
  ParameterRecord parameters[11]{};
  OptionRecord options[11]{};
  TestFilter() {
    std::strcpy(d.name, "Two  Tone");
    std::strcpy(d.file_name, "ZvTest.Omp");
    std::strcpy(d.help_file, "ZvTest.Hlp");
    d.help_topic = 3;
    d.parameter_count = d.option_count = 11;
    d.parameters = parameters;
    d.options = options;
    for (OptionRecord& o : options) o.state = -1;
    Parameter(1, "Dark", "0 0 0", 1);
    Parameter(2, "Light", "255 255 255", 1);
    Parameter(4, "Middle", "128", 14);
    Option(1, "Hard", 1, 1);
    Option(2, "Soft", 0, 1);
    Option(5, "Keep", 0, 2);
  }
  void Parameter(int k, const char* name, const char* value, int16_t kind) {
    std::strcpy(parameters[k].name, name);
    std::strcpy(parameters[k].value, value);
    std::strcpy(parameters[k].step, "0");
    parameters[k].kind = kind;
  }
  void Option(int k, const char* name, int16_t state, int16_t group) {
    std::strcpy(options[k].name, name);
    options[k].state = state;
    options[k].group = group;
  }
};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(HelpNotes, ReadTheOverviewEachFiltersParagraphsMeaningsAndVariation) {
  BookNotes notes;
  std::string error;
  ASSERT_TRUE(ParseNotes(kNotes, notes, &error)) << error;
  EXPECT_EQ(notes.book, "Help/ZvTest.Hlp");
  EXPECT_EQ(notes.title, "Test Filters");
  EXPECT_EQ(notes.overview, std::vector<std::string>{"The overview, on two lines."});
  const FilterNote* note = notes.Find(" Two  Tone ");  // blanks at the ends do not count
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->paragraphs.size(), 2u);
  EXPECT_EQ(note->meanings.at("Dark"), "the two colours, red, green and blue.");
  EXPECT_EQ(note->meanings.at("Light"), note->meanings.at("Dark"));
  EXPECT_EQ(note->variation, "Middle = 100; Soft; frame 12");
  EXPECT_EQ(FirstSentence(note->paragraphs[0]), "Paints the picture in two colours.");

  EXPECT_FALSE(ParseNotes("title: x\n", notes, &error));
  EXPECT_EQ(error, "line 1: no \"book:\" line");
  EXPECT_FALSE(ParseNotes("book: b\n== A\n== A\n", notes, &error));
  EXPECT_EQ(error, "line 3: \"A\" has notes already");
  EXPECT_FALSE(ParseNotes("book: b\n== A\n- no colon here\n", notes, &error));
  EXPECT_EQ(error, "line 3: a meaning needs \"name: text\"");
}

TEST(HelpFilterPages, ShowTheCatalogueRowsWithKindsRangesGroupsAndScriptKeys) {
  BookNotes notes;
  std::string error;
  ASSERT_TRUE(ParseNotes(kNotes, notes, &error)) << error;
  TestFilter filter;
  const FilterBook catalogue{"ZvTest.Hlp", "Test Filters", "ZvTest.Omp", {&filter.d}};
  HelpBook book;
  ASSERT_TRUE(BuildFilterBook(catalogue, notes, book, &error)) << error;
  EXPECT_EQ(book.path, "Help/ZvTest.Hlp");
  ASSERT_EQ(book.pages.size(), 2u);
  EXPECT_EQ(book.pages[0].topic, kNoTopic);  // the overview
  const HelpPage& page = book.pages[1];
  EXPECT_EQ(page.file, "two-tone.html");
  EXPECT_EQ(page.topic, 3);
  EXPECT_EQ(book.pictures, std::vector<std::string>{"two-tone.png"});
  EXPECT_NE(page.body.find("<img src=\"two-tone.png\""), std::string::npos);
  EXPECT_NE(page.body.find("byte range<br>0 to 255"), std::string::npos);
  EXPECT_NE(page.body.find("<tt>Parameter_4</tt>"), std::string::npos);
  EXPECT_NE(page.body.find("<tt>Option_5</tt>"), std::string::npos);
  EXPECT_NE(page.body.find("one of 2 (group 1)"), std::string::npos);
  EXPECT_NE(page.body.find("on or off"), std::string::npos);
  EXPECT_NE(page.body.find("<tt>FilterName=Two  Tone</tt>"), std::string::npos);
}

TEST(HelpFilterPages, SayWhereTheNotesAndTheCatalogueDisagree) {
  BookNotes notes;
  std::string error;
  ASSERT_TRUE(ParseNotes(std::string(kNotes) + "== Gone\nNot in the catalogue.\n", notes, &error)) << error;
  TestFilter filter;
  filter.Parameter(6, "Added Later", "1", 10);  // a row the notes do not explain
  std::strcpy(filter.options[5].name, "");      // "Keep" is gone from the catalogue
  TestFilter other;
  std::strcpy(other.d.name, "Unwritten");
  const FilterBook catalogue{"ZvTest.Hlp", "Test Filters", "ZvTest.Omp", {&filter.d, &other.d}};
  HelpBook book;
  EXPECT_FALSE(BuildFilterBook(catalogue, notes, book, &error));
  EXPECT_NE(error.find("\"Two  Tone\": no meaning for \"Added Later\""), std::string::npos) << error;
  EXPECT_NE(error.find("\"Two  Tone\" has no row \"Keep\""), std::string::npos) << error;
  EXPECT_NE(error.find("no notes for \"Unwritten\""), std::string::npos) << error;
  EXPECT_NE(error.find("no filter \"Gone\" in ZvTest.Omp"), std::string::npos) << error;
}

TEST(HelpVariations, SetParametersOptionsOfAGroupFramesAndZones) {
  TestFilter filter;
  UseWholePicture(filter.d);
  int frame = 0;
  std::string error;
  ASSERT_TRUE(ApplyVariation("Middle = 100; Soft; Keep = on; frame 12", "/inst", filter.d, frame, &error)) << error;
  EXPECT_STREQ(filter.parameters[4].value, "100");
  EXPECT_EQ(filter.options[1].state, 0);  // the other option of the group goes off
  EXPECT_EQ(filter.options[2].state, 1);
  EXPECT_EQ(filter.options[5].state, 1);
  EXPECT_EQ(frame, 12);
  EXPECT_EQ(filter.d.full_screen, 1);

  ASSERT_TRUE(ApplyVariation("zone 10 20 30 40", "/inst", filter.d, frame, &error)) << error;
  EXPECT_EQ(filter.d.full_screen, 0);
  EXPECT_EQ(filter.d.zone[2], 30);

  // A picture parameter's file is taken relative to the installation.
  filter.Parameter(7, "Picture Name", "(none)", 4);
  ASSERT_TRUE(ApplyVariation("Picture Name = Images/Back.Bmp", "/inst", filter.d, frame, &error)) << error;
  EXPECT_STREQ(filter.parameters[7].value, "/inst/Images/Back.Bmp");

  EXPECT_FALSE(ApplyVariation("Widht = 3", "/inst", filter.d, frame, &error));
  EXPECT_EQ(error, "variation \"Widht = 3\": no parameter or option of \"Two  Tone\" has that name");
  EXPECT_FALSE(ApplyVariation("Soft = maybe", "/inst", filter.d, frame, &error));
  EXPECT_FALSE(ApplyVariation("frame 31", "/inst", filter.d, frame, &error));
  EXPECT_FALSE(ApplyVariation("zone 1 2 3", "/inst", filter.d, frame, &error));
}

TEST(HelpTexts, PageNamesAndShownNamesOfTheCataloguesOddNames) {
  EXPECT_EQ(PageSlug("Black && White"), "black-and-white");
  EXPECT_EQ(PageSlug("16/9"), "16-9");
  EXPECT_EQ(PageSlug("Combinate "), "combinate");
  EXPECT_EQ(PageSlug("X Speed (pixel/loop)"), "x-speed-pixel-loop");
  EXPECT_EQ(DisplayName("Black && White"), "Black & White");
  EXPECT_EQ(Utf8FromAnsi("Color n\xB0"
                         "1"),
            "Color n\xC2\xB0"
            "1");
  EXPECT_EQ(HtmlEscape("a<b & \"c\">"), "a&lt;b &amp; &quot;c&quot;&gt;");
}

TEST(HelpPageBooks, ReadHeadersOrderPagesAndFillTheMarkers) {
  const fs::path folder = fs::path(OMBRIX_TEST_OUTPUT_DIR) / "help" / "page-book";
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::ofstream(folder / "book.txt") << "book: Help/Test.Hlp\ntitle: Test Help\n";
  std::ofstream(folder / "10-second.html") << "title: Second\ntopic: 7\nlevel: 2\nkeywords: a; b\n\n{{kinds}}";
  std::ofstream(folder / "02-first.html") << "title: First\n\n<p>{{filters}}</p>";
  TestFilter filter;
  const std::vector<FilterBook> filters = {{"ZvTest.Hlp", "Test Filters", "ZvTest.Omp", {&filter.d}}};
  HelpBook book;
  std::string error;
  ASSERT_TRUE(ReadPageBook(folder.string(), filters, book, &error)) << error;
  EXPECT_EQ(book.path, "Help/Test.Hlp");
  ASSERT_EQ(book.pages.size(), 2u);
  EXPECT_EQ(book.pages[0].file, "first.html");
  EXPECT_EQ(book.pages[0].topic, kNoTopic);
  EXPECT_NE(book.pages[0].body.find("Two  Tone"), std::string::npos);
  EXPECT_EQ(book.pages[1].file, "second.html");
  EXPECT_EQ(book.pages[1].topic, 7);
  EXPECT_EQ(book.pages[1].level, 2);
  EXPECT_EQ(book.pages[1].keywords, (std::vector<std::string>{"a", "b"}));
  EXPECT_NE(book.pages[1].body.find("<td>14</td><td>byte range</td><td>0 to 255</td>"), std::string::npos);
}

// The gallery is committed; a filter added to a plug-in must reach it (scripts/gallery.sh).
TEST(HelpGallery, NamesEveryFilterOfTheStagedPlugins) {
  InstallationCatalogue catalogue;
  std::string error;
  ASSERT_TRUE(catalogue.Load(OMBRIX_STAGE_DIR, &error)) << error;
  const std::string gallery = ReadText(fs::path(OMBRIX_SOURCE_DIR) / "docs" / "gallery.md");
  ASSERT_FALSE(gallery.empty());
  EXPECT_TRUE(fs::exists(fs::path(OMBRIX_SOURCE_DIR) / "docs" / "gallery.png"));
  const std::vector<FilterBook> books = catalogue.Books();
  EXPECT_EQ(books.size(), 3u);
  int filters = 0;
  for (const FilterBook& book : books)
    for (const FilterDescriptor* d : book.filters) {
      ++filters;
      const std::string row = "| " + DisplayName(Utf8FromAnsi(d->name)) + " |";
      EXPECT_NE(gallery.find(row), std::string::npos) << row << " is not in docs/gallery.md";
    }
  EXPECT_EQ(filters, 54);
}

}  // namespace
