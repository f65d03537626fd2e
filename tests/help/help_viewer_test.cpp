// The staged help books in the toolkit's help viewer, on a private X server: every filter of
// the staged catalogues opens a page of its own book that shows its picture, every help command
// of the editor finds its topic in the main book, the read-me opens at "Introduction", and the
// editor's About and Help buttons open the right pages (or say which book is missing).
#include <gtest/gtest.h>
#include <wx/filesys.h>
#include <wx/html/helpctrl.h>
#include <wx/html/helpfrm.h>
#include <wx/html/helpwnd.h>
#include <wx/html/htmlwin.h>
#include <wx/image.h>
#include <wx/mstream.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "editor/model/help_requests.h"
#include "editor/windows/help.h"
#include "editor/windows/main_window.h"
#include "gui/ani_button.h"
#include "help/generator/texts.h"
#include "tests/editor/editor_gui_support.h"
#include "tests/editor/editor_test_support.h"
#include "tests/progress/gui_test_support.h"

namespace {

using namespace ombrix;
using namespace ombrix::editor;
using test::ClickControl;
namespace fs = std::filesystem;

std::string ReadLocation(const std::string& location) {
  wxFileSystem files;
  std::unique_ptr<wxFSFile> file(files.OpenFile(wxString::FromUTF8(location)));
  if (!file) return {};
  wxInputStream* in = file->GetStream();
  std::string bytes;
  char buffer[4096];
  while (!in->Eof()) {
    in->Read(buffer, sizeof buffer);
    bytes.append(buffer, in->LastRead());
    if (in->LastRead() == 0) break;
  }
  return bytes;
}

// The location of a file the page at `page` names, as the viewer resolves it.
std::string Beside(const std::string& page, const std::string& name) {
  return page.substr(0, page.find_last_of("/:") + 1) + name;
}

// Saves what the help window with this title shows as help/<name>.png of the test output.
void SaveHelpScreenshot(const std::string& title, const std::string& name) {
  wxWindow* window = test::FindTopLevel(wxString::FromUTF8(title));
  ASSERT_NE(window, nullptr) << title;
  const fs::path directory = fs::path(OMBRIX_TEST_OUTPUT_DIR) / "help";
  fs::create_directories(directory);
  const std::string path = (directory / (name + ".png")).string();
  EXPECT_TRUE(test::CaptureWindow(window).SaveFile(path, wxBITMAP_TYPE_PNG)) << path;
}

class HelpViewer : public test::EditorWindowTest {
 protected:
  void SetUp() override {
    EditorWindowTest::SetUp();
    // The installation of the test shows the staged books.
    const fs::path root(install_), stage(OMBRIX_STAGE_DIR);
    fs::remove_all(root / "Help");
    fs::create_directory_symlink(stage / "Help", root / "Help");
    fs::create_symlink(stage / "Readme.hlp", root / "Readme.hlp");
  }

  // The help data of a book, loaded once per test.
  const wxHtmlHelpData& Book(const std::string& path) {
    auto& data = books_[path];
    if (!data) {
      data = std::make_unique<wxHtmlHelpData>();
      EXPECT_TRUE(LoadHelpBook(*data, path)) << path;
    }
    return *data;
  }

  gui::AniButton* Button(int id) { return window_->Controls().Button(id); }

  // The page the help window of a book shows, by the page's title.
  std::string ShownPage(const std::string& title) {
    auto* frame = dynamic_cast<wxHtmlHelpFrame*>(test::FindTopLevel(wxString::FromUTF8(title)));
    if (frame == nullptr) return {};
    return std::string(frame->GetHelpWindow()->GetHtmlWindow()->GetOpenedPage().utf8_str());
  }

  std::map<std::string, std::unique_ptr<wxHtmlHelpData>> books_;
};

TEST_F(HelpViewer, EveryFilterOpensAPageOfItsOwnBookThatShowsItsPicture) {
  Start();
  ASSERT_EQ(session_->plugins.Count(), 54);
  std::map<std::string, std::set<int>> topics;  // per book: topics are never shared
  for (int i = 0; i < session_->plugins.Count(); ++i) {
    const FilterDescriptor* filter = session_->plugins.At(i);
    const HelpRequest request = FilterHelpRequest(session_->paths, filter);
    ASSERT_FALSE(request.book.empty()) << filter->name << ": " << request.message;
    EXPECT_TRUE(topics[request.book].insert(request.topic).second) << filter->name;
    const std::string page = TopicPage(Book(request.book), request.topic);
    ASSERT_FALSE(page.empty()) << filter->name << " topic " << request.topic << " of " << request.book;

    const std::string html = ReadLocation(page);
    const std::string script_key = "FilterName=" + help::HtmlEscape(help::Utf8FromAnsi(filter->name));
    EXPECT_NE(html.find(script_key), std::string::npos) << page << " is not the page of " << filter->name;
    const size_t img = html.find("<img src=\"");
    ASSERT_NE(img, std::string::npos) << page;
    const std::string picture = html.substr(img + 10, html.find('"', img + 10) - img - 10);
    const std::string bytes = ReadLocation(Beside(page, picture));
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    wxImage image(stream, wxBITMAP_TYPE_PNG);
    ASSERT_TRUE(image.IsOk()) << picture << " of " << page;
    EXPECT_EQ(image.GetWidth(), 320);
    EXPECT_EQ(image.GetHeight(), 240);
  }
  // Palette, composition and picture filters each have their book.
  EXPECT_EQ(topics.size(), 3u);
}

TEST_F(HelpViewer, EveryHelpCommandOfTheEditorFindsItsTopicInTheMainBook) {
  Start();
  std::set<std::string> pages;
  for (const int topic :
       {kFilterChoiceHelpTopic, kMainWindowHelpTopic, kOptionsHelpTopic, kExtendedOptionsHelpTopic, kXAlphaHelpTopic}) {
    const HelpRequest request = MainHelpRequest(session_->paths, topic);
    ASSERT_FALSE(request.book.empty()) << request.message;
    const std::string page = TopicPage(Book(request.book), topic);
    ASSERT_FALSE(page.empty()) << "topic " << topic;
    EXPECT_FALSE(ReadLocation(page).empty()) << page;
    EXPECT_TRUE(pages.insert(page).second) << "topics share " << page;
  }
}

TEST_F(HelpViewer, TheReadMeAndTheProductBookOpen) {
  wxHtmlHelpData readme;
  ASSERT_TRUE(LoadHelpBook(readme, install_ + "/Readme.hlp"));
  // The setup opens the read-me at the keyword "Introduction".
  bool introduction = false;
  const wxHtmlHelpDataItems& index = readme.GetIndexArray();
  for (size_t i = 0; i < index.size(); ++i) introduction = introduction || index[i].name == "Introduction";
  EXPECT_TRUE(introduction);
  wxHtmlHelpData products;
  EXPECT_TRUE(LoadHelpBook(products, install_ + "/Help/ZvCat.Hlp"));
  EXPECT_FALSE(LoadHelpBook(products, install_ + "/Help/NoSuch.Hlp"));
}

// A book may also be a folder of pages, or its project file named directly. Topic 0 is a page of
// the book, not the book itself (which the toolkit numbers 0 as well).
TEST_F(HelpViewer, ABookIsAZipAFolderOrAProjectFile) {
  const fs::path folder = fs::path(install_) / "Help" / "Folder.Hlp";
  fs::remove(fs::path(install_) / "Help");
  fs::create_directories(folder);
  test::WriteFile((folder / "Folder.hhp").string(),
                  "[OPTIONS]\nContents file=Folder.hhc\nDefault topic=start.html\nTitle=Folder\n\n[FILES]\n");
  test::WriteFile((folder / "Folder.hhc").string(),
                  "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Start\">"
                  "<param name=\"ID\" value=\"-1\"><param name=\"Local\" value=\"start.html\"></OBJECT>"
                  "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Zero\">"
                  "<param name=\"ID\" value=\"0\"><param name=\"Local\" value=\"zero.html\"></OBJECT></UL>");
  for (const char* page : {"start.html", "zero.html"}) test::WriteFile((folder / page).string(), "<p>page</p>");
  for (const fs::path& book : {folder, folder / "Folder.hhp"}) {
    wxHtmlHelpData data;
    ASSERT_TRUE(LoadHelpBook(data, book.string())) << book;
    const std::string page = TopicPage(data, 0);
    EXPECT_NE(page.find("zero.html"), std::string::npos) << book << ": " << page;
    EXPECT_EQ(ReadLocation(page), "<p>page</p>");
    EXPECT_TRUE(TopicPage(data, 5).empty());
  }
}

TEST_F(HelpViewer, AboutOpensTheCurrentFiltersPageWithItsPicture) {
  Start(test::WriteOneFilterScript(name_, "Negative", "negative.Oms"));
  ClickControl(Button(kMainFilterHelp));
  test::PumpFor(300);
  EXPECT_TRUE(dialogs_->messages.empty()) << dialogs_->messages[0].text;
  const std::string page = ShownPage("Negative");
  EXPECT_NE(page.find("ZvOmPal.Hlp#zip:negative.html"), std::string::npos) << page;
  SaveHelpScreenshot("Negative", "filter_page");
}

TEST_F(HelpViewer, AboutOfACompositionFilterOpensItsBookThoughTheCatalogueSpellsItOtherwise) {
  Start(test::WriteOneFilterScript(name_, "Rub", "rub.Oms"));  // "ZvOmCom.hlp"
  ClickControl(Button(kMainFilterHelp));
  test::PumpFor(300);
  EXPECT_TRUE(dialogs_->messages.empty()) << dialogs_->messages[0].text;
  EXPECT_NE(ShownPage("Rub").find("ZvOmCom.Hlp#zip:rub.html"), std::string::npos);
  SaveHelpScreenshot("Rub", "composition_filter_page");
}

TEST_F(HelpViewer, AboutWithoutAFilterAndHelpOpenTheMainBookAtTheirTopics) {
  Start();
  ClickControl(Button(kMainFilterHelp));
  test::PumpFor(300);
  wxWindow* help = test::FindTopLevel("Choosing a filter");
  ASSERT_NE(help, nullptr);
  help->Close();
  test::PumpFor(100);
  ClickControl(Button(kMainHelp));
  test::PumpFor(300);
  EXPECT_NE(ShownPage("The main window").find("Ombrix.Hlp#zip:"), std::string::npos);
  SaveHelpScreenshot("The main window", "main_window_page");
  // F1 opens the same page again once its window is closed.
  test::FindTopLevel("The main window")->Close();
  test::PumpFor(100);
  ASSERT_TRUE(ShownPage("The main window").empty());
  test::PressKey(window_, WXK_F1);
  test::PumpFor(300);
  EXPECT_NE(ShownPage("The main window").find("Ombrix.Hlp#zip:"), std::string::npos);
  EXPECT_TRUE(dialogs_->messages.empty());
}

TEST_F(HelpViewer, AboutWithoutItsBookSaysWhichFileIsMissing) {
  fs::remove(fs::path(install_) / "Help");
  fs::create_directory(fs::path(install_) / "Help");
  Start(test::WriteOneFilterScript(name_, "Negative", "negative.Oms"));
  ClickControl(Button(kMainFilterHelp));
  test::PumpFor(100);
  ASSERT_EQ(dialogs_->messages.size(), 1u);
  EXPECT_EQ(dialogs_->messages[0].text, "Cannot find \"ZvOmPal.Hlp\".");
  EXPECT_EQ(dialogs_->messages[0].caption, "Ombrix - Error");
}

}  // namespace
