// Which book and topic the editor's help commands open, without a display: the main book at the
// windows' topics, each filter's own book at its catalogue topic, the messages when there is
// nothing to open, and book names that differ from the file only in letter case.
#include "editor/model/help_requests.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "editor/model/derived_paths.h"

namespace {

using namespace ombrix;
using namespace ombrix::editor;
namespace fs = std::filesystem;

class HelpRequests : public ::testing::Test {
 protected:
  void SetUp() override {
    install_ = fs::path(OMBRIX_TEST_OUTPUT_DIR) / "help" / "requests" /
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(install_);
    fs::create_directories(install_ / "Programs" / "Temp");
    fs::create_directories(install_ / "Help");
    paths_ = BuildDerivedPaths(install_.string(), kDefaultHelpFile, (install_ / "Programs" / "Temp").string());
  }
  void MakeBook(const std::string& name) { std::ofstream(install_ / "Help" / name) << "PK\x03\x04"; }
  FilterDescriptor Filter(const char* name, const char* help_file, int topic) {
    FilterDescriptor d{};
    std::strcpy(d.name, name);
    std::strcpy(d.help_file, help_file);
    d.help_topic = topic;
    return d;
  }

  fs::path install_;
  DerivedPaths paths_;
};

TEST_F(HelpRequests, AFilterOpensItsOwnBookAtItsTopicWhateverTheLetterCaseOfItsName) {
  MakeBook("ZvOmCom.Hlp");
  // Two of the composition filters spell their book "ZvOmCom.hlp".
  for (const char* spelling : {"ZvOmCom.Hlp", "ZvOmCom.hlp", "ZVOMCOM.HLP"}) {
    const FilterDescriptor compose = Filter("Compose", spelling, 2);
    const HelpRequest request = FilterHelpRequest(paths_, &compose);
    EXPECT_EQ(request.book, (install_ / "Help" / "ZvOmCom.Hlp").string()) << spelling;
    EXPECT_EQ(request.topic, 2);
    EXPECT_TRUE(request.message.empty());
  }
  // A name that is an existing file is used as it is.
  const std::string elsewhere = (install_ / "Other.Hlp").string();
  std::ofstream(elsewhere) << "x";
  const FilterDescriptor own = Filter("Own", elsewhere.c_str(), 9);
  EXPECT_EQ(FilterHelpRequest(paths_, &own).book, elsewhere);
}

TEST_F(HelpRequests, WithoutAChosenFilterTheMainBookOpensAtTheFilterChoiceTopic) {
  MakeBook("Ombrix.Hlp");
  const FilterDescriptor empty{};
  for (const FilterDescriptor* entry : {static_cast<const FilterDescriptor*>(nullptr), &empty}) {
    const HelpRequest request = FilterHelpRequest(paths_, entry);
    EXPECT_EQ(request.book, paths_.main_help_file);
    EXPECT_EQ(request.topic, kFilterChoiceHelpTopic);
  }
}

TEST_F(HelpRequests, NothingToOpenGivesTheEditorsMessages) {
  const FilterDescriptor no_book = Filter("Negative", "ZvOmPal.Hlp", 10);
  HelpRequest request = FilterHelpRequest(paths_, &no_book);
  EXPECT_TRUE(request.book.empty());
  EXPECT_EQ(request.message, "Cannot find \"ZvOmPal.Hlp\".");  // the name stored with the filter
  EXPECT_EQ(request.caption, "Ombrix - Error");

  const FilterDescriptor no_help = Filter("Black && White", "", 0);
  request = FilterHelpRequest(paths_, &no_help);
  EXPECT_TRUE(request.book.empty());
  EXPECT_EQ(request.message, "Filter \"Black && White\" have no help associated.");
  EXPECT_EQ(request.caption, "Ombrix - Message");

  request = MainHelpRequest(paths_, kMainWindowHelpTopic);
  EXPECT_TRUE(request.book.empty());
  EXPECT_EQ(request.message, "Cannot find \"" + paths_.main_help_file + "\".");
  EXPECT_EQ(request.caption, "Ombrix - Error");
}

TEST_F(HelpRequests, TheMainBookIsFoundWhateverTheLetterCaseOfItsFile) {
  MakeBook("OMBRIX.HLP");
  const HelpRequest request = MainHelpRequest(paths_, kXAlphaHelpTopic);
  EXPECT_EQ(request.book, (install_ / "Help" / "OMBRIX.HLP").string());
  EXPECT_EQ(request.topic, kXAlphaHelpTopic);
}

}  // namespace
