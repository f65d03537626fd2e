// The editor's smaller pieces without windows: the command line, the chain's reading and
// filter choice, the missing-file question and picture fitting.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/platform/files.h"
#include "core/plugin/plugin_host.h"
#include "core/settings/settings.h"
#include "editor/model/chain_commands.h"
#include "editor/model/command_line.h"
#include "editor/model/editor_link.h"
#include "editor/model/filter_chain.h"
#include "editor/model/missing_file.h"
#include "editor/model/picture_fit.h"
#include "gui/scripted_dialogs.h"
#include "tests/editor/editor_test_support.h"

namespace {

using namespace ombrix;
using namespace ombrix::editor;

CommandLine Parse(std::initializer_list<const char*> args) {
  std::vector<const char*> argv = {"ombrix-editor"};
  argv.insert(argv.end(), args);
  return ParseCommandLine(int(argv.size()), argv.data(), "/work/dir");
}

TEST(EditorCommandLine, TheArgumentsJoinedAreTheLaunchScript) {
  EXPECT_EQ(Parse({}).action, CommandLine::Action::kRun);
  EXPECT_EQ(Parse({}).launch_script, "");
  // The binding starts "editor script" as one line, so a path with blanks comes in pieces.
  EXPECT_EQ(Parse({"/fx/my", "effect.Oms"}).launch_script, "/fx/my effect.Oms");
  EXPECT_EQ(Parse({"fx.Oms"}).launch_script, "/work/dir/fx.Oms");
  EXPECT_EQ(Parse({"--help"}).action, CommandLine::Action::kHelp);
  EXPECT_EQ(Parse({"-h"}).action, CommandLine::Action::kHelp);
  EXPECT_EQ(Parse({"--version"}).action, CommandLine::Action::kVersion);
  const CommandLine root = Parse({"--root", "stage", "/fx/a.Oms"});
  EXPECT_EQ(root.root, "/work/dir/stage");
  EXPECT_EQ(root.launch_script, "/fx/a.Oms");
  EXPECT_EQ(Parse({"--root"}).action, CommandLine::Action::kUsageError);
  EXPECT_EQ(Parse({"--bogus"}).action, CommandLine::Action::kUsageError);
  // Once the path has begun, everything belongs to it.
  EXPECT_EQ(Parse({"/fx/a", "--help"}).launch_script, "/fx/a --help");
}

class Model : public ::testing::Test {
 protected:
  void SetUp() override {
    name_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    test::UsePrivateStores(name_);
  }
  std::string name_;
};

TEST_F(Model, AChainSurvivesAFileThatCannotBeOpenedButNotOneThatIsNoScript) {
  PluginTable table;
  ASSERT_TRUE(LoadPluginFile(table, test::TestModule("good_module.Omp").c_str()));
  FilterChain chain;
  ASSERT_TRUE(chain.SetCurrentFilter(*table.At(1)));
  ScriptHeader header;
  int frame = 4;
  EXPECT_FALSE(chain.Read("/no/such/script.Oms", table, header, &frame, {}));
  EXPECT_STREQ(chain.At(0)->name, "Second Filter");
  EXPECT_EQ(frame, 4);

  const std::string other = test::FreshDirectory(name_) + "/other.Oms";
  test::WriteFile(other, "3\r\n[Header]\r\n\tIdentification=Something else\r\n\r\n");
  EXPECT_FALSE(chain.Read(other.c_str(), table, header, &frame, {}));
  EXPECT_EQ(chain.Count(), 1);
  EXPECT_TRUE(FilterChain::IsEmptyFilter(chain.At(0)));
}

TEST_F(Model, AChosenFilterIsAFreshCopyWithThePlugInsDefaults) {
  PluginTable table;
  ASSERT_TRUE(LoadPluginFile(table, test::TestModule("good_module.Omp").c_str()));
  FilterChain chain;
  ASSERT_TRUE(chain.SetCurrentFilter(*table.At(0)));
  FilterDescriptor* entry = chain.CurrentEntry();
  ASSERT_NE(entry->parameters, table.At(0)->parameters);
  std::strcpy(entry->parameters[1].value, "99");
  EXPECT_STREQ(table.At(0)->parameters[1].value, "2");
  ASSERT_TRUE(chain.SetCurrentFilter(*table.At(0)));
  EXPECT_STREQ(chain.CurrentEntry()->parameters[1].value, "2");
  EXPECT_EQ(chain.CurrentEntry()->parameter_count, 11);
}

TEST_F(Model, ChainCommandsKeepOneToTwoHundredFiftyFiveEntriesEachOwningItsCopy) {
  PluginTable table;
  ASSERT_TRUE(LoadPluginFile(table, test::TestModule("good_module.Omp").c_str()));
  FilterChain chain;
  // Before a filter is chosen only the moves that exist are offered, and Add explains itself.
  ChainAvailability a = AvailabilityOf(chain, false);
  EXPECT_FALSE(a.add_filter || a.remove || a.next || a.previous || a.filter_work);
  EXPECT_STREQ(UnavailableWarning(ChainCommand::kAddFilter, chain),
               "Cannot add filter\nbecause current filter is empty");
  EXPECT_STREQ(UnavailableWarning(ChainCommand::kDelete, chain), "Cannot delete first filter");
  EXPECT_STREQ(UnavailableWarning(ChainCommand::kExtended, chain), "Only works when current filtre\nisn't empty");
  EXPECT_EQ(UnavailableWarning(ChainCommand::kRender, chain), nullptr);

  ASSERT_TRUE(chain.SetCurrentFilter(*table.At(0)));
  FilterDescriptor* first = chain.CurrentEntry();
  first->xalpha->picture = new Picture();
  ASSERT_TRUE(first->xalpha->picture->Create(4, 2));
  ASSERT_TRUE(chain.AddCopyOfCurrent());
  ASSERT_TRUE(chain.AddCopyOfCurrent());
  ASSERT_EQ(chain.Count(), 3);
  EXPECT_EQ(chain.Current(), 2);
  // Deep copies: own records and own mask picture.
  EXPECT_NE(chain.At(1)->parameters, first->parameters);
  ASSERT_NE(chain.At(1)->xalpha->picture, nullptr);
  EXPECT_NE(chain.At(1)->xalpha->picture, first->xalpha->picture);
  EXPECT_EQ(chain.At(1)->xalpha->picture->Info()->width, 4);
  a = AvailabilityOf(chain, true);
  EXPECT_TRUE(a.add_filter && a.remove && a.previous && a.filter_work);
  EXPECT_FALSE(a.next);

  // Deleting the last of three while it is current leaves two, entry 1 current.
  std::strcpy(chain.At(1)->name, "Middle");
  ASSERT_TRUE(chain.DeleteCurrent());
  EXPECT_EQ(chain.Count(), 2);
  EXPECT_EQ(chain.Current(), 1);
  EXPECT_STREQ(chain.CurrentEntry()->name, "Middle");
  EXPECT_EQ(chain.At(2), nullptr);
  // Deleting the first moves the rest down.
  chain.SetCurrent(0);
  ASSERT_TRUE(chain.DeleteCurrent());
  EXPECT_EQ(chain.Current(), 0);
  EXPECT_STREQ(chain.CurrentEntry()->name, "Middle");
  EXPECT_FALSE(chain.DeleteCurrent());  // the last entry stays, whatever its index
  EXPECT_EQ(chain.Count(), 1);

  // An entry added in the middle goes right after the current one.
  ASSERT_TRUE(chain.AddCopyOfCurrent());
  std::strcpy(chain.At(1)->name, "Last");
  chain.SetCurrent(0);
  ASSERT_TRUE(chain.AddCopyOfCurrent());
  EXPECT_EQ(chain.Current(), 1);
  EXPECT_STREQ(chain.At(2)->name, "Last");

  while (chain.Count() < kMaxChainEntries) ASSERT_TRUE(chain.AddCopyOfCurrent());
  EXPECT_FALSE(chain.AddCopyOfCurrent());
  EXPECT_EQ(chain.Count(), 255);
  EXPECT_FALSE(AvailabilityOf(chain, true).add_filter);
  EXPECT_STREQ(UnavailableWarning(ChainCommand::kAddFilter, chain), "Cannot add more filter");
}

TEST_F(Model, AMissingFileIsReplacedOnlyWhenTheUserChoosesOne) {
  gui::ScriptedDialogs dialogs;
  char text[256] = "tex/wood.tga";
  dialogs.AnswerQuestion(0);
  EXPECT_EQ(ReplaceMissingFile(text, "/content/", dialogs), 0);
  EXPECT_STREQ(text, "tex/wood.tga");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text,
            "Cannot find file\n\"tex/wood.tga\".\nDo you want to replace it with a new file.");
  EXPECT_EQ(dialogs.messages[0].caption, "Ombrix - Warning");
  EXPECT_TRUE(dialogs.messages[0].question);
  EXPECT_TRUE(dialogs.files.empty());

  dialogs.AnswerQuestion(1);
  dialogs.AnswerFile(std::nullopt);
  EXPECT_EQ(ReplaceMissingFile(text, "/content/", dialogs), 0);
  ASSERT_EQ(dialogs.files.size(), 1u);
  EXPECT_EQ(dialogs.files[0].title, "Select A New File");
  EXPECT_EQ(dialogs.files[0].filter, "All Files (*.*)|*.*||");
  EXPECT_EQ(dialogs.files[0].start_path, "/content/tex/wood.tga");

  dialogs.AnswerQuestion(1);
  dialogs.AnswerFile("/pictures/oak.tga");
  EXPECT_EQ(ReplaceMissingFile(text, "/content/", dialogs), 1);
  EXPECT_STREQ(text, "/pictures/oak.tga");
  EXPECT_EQ(ReadSetting(nullptr, "ErrorOpenDir"), "/pictures");

  // The next question starts in the remembered folder; an absolute missing path stays whole.
  char absolute[256] = "/old/place/oak.tga";
  dialogs.AnswerQuestion(1);
  dialogs.AnswerFile(std::string(300, 'x'));  // too long for the field: the name stays
  EXPECT_EQ(ReplaceMissingFile(absolute, "/content/", dialogs), 0);
  EXPECT_EQ(dialogs.files.back().start_path, "/old/place/oak.tga");
  EXPECT_STREQ(absolute, "/old/place/oak.tga");
  EXPECT_EQ(dialogs.unexpected, 0);
  EXPECT_EQ(dialogs.Unused(), 0u);
}

TEST_F(Model, TheEditorLinkCallsTheNamedProcedureOrSaysWhyNot) {
  FilterDescriptor entry{};
  EXPECT_EQ(RunEditorLink("Unknown Proc", entry).error, "Cannot create memory link to \"Unknown\".");
  EXPECT_EQ(RunEditorLink("", entry).error, "Cannot create memory link to \"\".");
  WriteSettingText("References", "Gone", "/no/such/module.Omp");
  EXPECT_EQ(RunEditorLink("Gone Proc", entry).error, "Cannot open file\n\"/no/such/module.Omp\".");
  const std::string text = test::FreshDirectory(name_) + "/not-a-module.Omp";
  test::WriteFile(text, "plain text");
  WriteSettingText("References", "Text", text.c_str());
  EXPECT_EQ(RunEditorLink("Text Proc", entry).error, "Cannot access datas of file\n\"" + text + "\".");
  const std::string module = test::TestModule("extended_editor_module.Omp");
  WriteSettingText("References", "Editor", module.c_str());
  EXPECT_EQ(RunEditorLink("Editor No_Such_Procedure", entry).error,
            "Cannot find module\"No_Such_Procedure\" in file \"" + module + "\".");
  EXPECT_EQ(entry.zone[0], 0);
  const EditorLinkResult looked = RunEditorLink("Editor Test_Look_Only", entry);
  EXPECT_TRUE(looked.error.empty());
  EXPECT_FALSE(looked.changed);
  const EditorLinkResult edited = RunEditorLink("Editor  Test_Extended_Editor", entry);
  EXPECT_TRUE(edited.error.empty()) << edited.error;
  EXPECT_TRUE(edited.changed);
  EXPECT_EQ(entry.zone[0], 42);
}

TEST(PictureFit, SizesFitTheAreaExactly) {
  EXPECT_EQ(FitSize(2000, 1500, 400, 300).width, 400);
  EXPECT_EQ(FitSize(2000, 1500, 400, 300).height, 300);
  const FittedSize enlarged = FitSize(100, 50, 400, 300);
  EXPECT_EQ(enlarged.width, 400);
  EXPECT_EQ(enlarged.height, 200);
  const FittedSize tall = FitSize(333, 1000, 400, 300);
  EXPECT_EQ(tall.height, 300);
  EXPECT_EQ(tall.width, 99);  // 333 x 0.3 = 99.9, truncated
  EXPECT_EQ(FitSize(1, 100000, 400, 300).width, 1);
  EXPECT_EQ(FitSize(0, 10, 400, 300).width, 0);
}

TEST(PictureFit, ThePointResizePicksSourcePixelsByRunningSums) {
  Picture source;
  ASSERT_TRUE(source.Create(4, 3));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      const uint8_t bgr[3] = {uint8_t(x), uint8_t(y), uint8_t(10 * y + x)};
      source.SetPixel(x, y, bgr);
    }
  auto same = PointResize(source, 4, 3);
  ASSERT_NE(same, nullptr);
  for (int y = 0; y < 3; ++y) EXPECT_EQ(std::memcmp(same->Row(y), source.Row(y), 12), 0);
  // Halving the width takes columns 0 and 2; tripling the height repeats each row three times.
  auto resized = PointResize(source, 2, 9);
  ASSERT_NE(resized, nullptr);
  uint8_t bgr[3];
  for (int y = 0; y < 9; ++y) {
    resized->GetPixel(1, y, bgr);
    EXPECT_EQ(bgr[0], 2);
    EXPECT_EQ(bgr[1], y / 3) << y;
  }
  EXPECT_EQ(PointResize(source, 0, 3), nullptr);
  Picture empty;
  EXPECT_EQ(FitPicture(empty, 10, 10, false), nullptr);
  EXPECT_EQ(FitPicture(empty, 10, 10, true), nullptr);
}

}  // namespace
