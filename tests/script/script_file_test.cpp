// ScriptFile: the exact bytes written, the line rules of reading, number reading and safe saving.
#include "core/script/script_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "core/platform/files.h"

namespace {

using namespace ombrix;

std::string TempDir() {
  std::string pattern = std::string(OMBRIX_TEST_OUTPUT_DIR) + "/script_file.XXXXXX";
  return mkdtemp(pattern.data());
}

TEST(ScriptFile, WritesTheExactByteFormat) {
  ScriptFile f;
  f.SetText("Header", "Identification", "Zorvex\xA7OmbrixScript");
  f.SetInt("Header", "nFilter", 40000);
  f.SetReal("Filter_0", "AlphaInit", 12.5);
  f.SetText("Filter_0", "Empty", "");
  f.SetInt("header", "NFILTER", 2);  // replaces in place, keeps the first spelling
  f.SetReal("Filter_0", "AlphaStep", -0.0000004);
  const std::string expected =
      "9\r\n"
      "[Header]\r\n"
      "\tIdentification=Zorvex\xA7OmbrixScript\r\n"
      "\tnFilter=2\r\n"
      "\r\n"
      "[Filter_0]\r\n"
      "\tAlphaInit=12.500000\r\n"
      "\tEmpty=\r\n"
      "\tAlphaStep=-0.000000\r\n"
      "\r\n";
  EXPECT_EQ(f.Format(), expected);

  const std::string dir = TempDir();
  const std::string path = dir + "/Effect.Oms";
  ASSERT_EQ(f.Save(path.c_str()), 1);
  EXPECT_EQ(platform::ReadWholeFile(path.c_str()).value_or(""), expected);
  EXPECT_TRUE(platform::IsReadOnly(path.c_str()));
  EXPECT_EQ(ScriptFile().Format(), "0\r\n");
}

TEST(ScriptFile, IntegersKeepTheirLow16BitsAndRealsPrintSixDecimals) {
  ScriptFile f;
  const struct {
    int32_t value;
    const char* text;
  } ints[] = {{40000, "-25536"}, {65535, "-1"}, {-1, "-1"}, {32767, "32767"}, {65536 + 7, "7"}, {-32768, "-32768"}};
  for (const auto& c : ints) {
    f.SetInt("S", "K", c.value);
    EXPECT_EQ(*f.Find("S", "K"), c.text) << c.value;
  }
  const struct {
    double value;
    const char* text;
  } reals[] = {{0.0, "0.000000"},
               {1.5, "1.500000"},
               {-2.25, "-2.250000"},
               {0.1f, "0.100000"},
               {0.0000015, "0.000002"},
               {1234567.0000005, "1234567.000000"},
               {1e20, "100000000000000000000.000000"}};
  for (const auto& c : reals) {
    f.SetReal("S", "R", c.value);
    EXPECT_EQ(*f.Find("S", "R"), c.text) << c.value;
  }
}

TEST(ScriptFile, ReadsLinesByTheFormatRules) {
  ScriptFile f;
  const std::string text =
      "\tbefore=any section\r\n"  // pairs before a header go to section ""
      "[Header]\r\n"              // no count line: nothing is lost
      "\tZone=1 2 3 4=5\r\n"      // every '=' after the first stays in the value
      "\ta=\r\n"                  // two characters: ignored
      "\tab=\r\n"                 // three: a key with an empty value
      "\t\tTabbed=x\r\n"          // only one leading TAB is dropped
      "\t Blank = y \r\n"         // blanks are kept
      "\tCut=keep\rlost=1\r\n"    // everything from the first CR is cut
      "\tNoEquals\r\n"
      "[Unclosed\r\n"  // a header without "]" runs to the line end
      "\tk=1\n"        // LF alone ends a line too
      "[Named]junk\r\n"
      "\tk=2\r\n"
      "[HEADER]\r\n"  // an earlier section again
      "\tlate=3";     // a last line without a line end
  f.LoadText(text);
  EXPECT_EQ(*f.Find("", "before"), "any section");
  EXPECT_EQ(*f.Find("header", "zone"), "1 2 3 4=5");
  EXPECT_EQ(f.Find("Header", "a"), nullptr);
  EXPECT_EQ(*f.Find("Header", "ab"), "");
  EXPECT_EQ(*f.Find("Header", "\tTabbed"), "x");
  EXPECT_EQ(*f.Find("Header", " Blank "), " y ");
  EXPECT_EQ(*f.Find("Header", "Cut"), "keep");
  EXPECT_EQ(f.Find("Header", "lost"), nullptr);
  EXPECT_EQ(*f.Find("unclosed", "K"), "1");
  EXPECT_EQ(*f.Find("Named", "k"), "2");
  EXPECT_EQ(*f.Find("Header", "late"), "3");
  ASSERT_EQ(f.Sections().size(), 4u);
  EXPECT_EQ(f.Sections()[1].name, "Header");
  EXPECT_EQ(f.Sections()[1].pairs.back().key, "late");
}

TEST(ScriptFile, LongLinesAndNulBytesAreCut) {
  // 511 bytes of a line are read; the rest is dropped and cannot become a key of its own.
  const std::string value(600, 'v');
  std::string text = "[S]\r\n\tLong=" + value + "\r\n";
  text.replace(5 + 550, 9, "X=phantom");  // an '=' beyond the limit, in the same line
  text += std::string("\tNul=ab\0cd\r\n", 12);
  ScriptFile f;
  f.LoadText(text);
  ASSERT_NE(f.Find("S", "Long"), nullptr);
  EXPECT_EQ(f.Find("S", "Long")->size(), ScriptFile::kMaxLineBytes - std::string("\tLong=").size());
  EXPECT_EQ(f.Sections().at(0).pairs.size(), 2u);  // Long and Nul only
  EXPECT_EQ(*f.Find("S", "Nul"), "ab");
}

TEST(ScriptFile, GettersReadLeadingNumbersAndCopySafely) {
  ScriptFile f;
  f.LoadText("[S]\n\tA=12abc\n\tB=-7\n\tC= 5\n\tD=abc\n\tE=2.5x\n\tF=.5\n\tG=1e3\n\tH=nan\n\tI=-inf\n\tJ=1e999\n");
  EXPECT_EQ(f.GetInt("s", "a"), 12);
  EXPECT_EQ(f.GetInt("S", "B"), -7);
  EXPECT_EQ(f.GetInt("S", "C"), 5);
  EXPECT_EQ(f.GetInt("S", "D"), 0);
  EXPECT_EQ(f.GetInt("S", "Missing"), 0);
  EXPECT_EQ(f.GetInt("Missing", "A"), 0);
  EXPECT_EQ(f.GetReal("S", "E"), 2.5);
  EXPECT_EQ(f.GetReal("S", "F"), 0.5);
  EXPECT_EQ(f.GetReal("S", "G"), 1000.0);
  EXPECT_EQ(f.GetReal("S", "H"), 0.0);
  EXPECT_EQ(f.GetReal("S", "I"), 0.0);
  EXPECT_GT(f.GetReal("S", "J"), 1e300);
  EXPECT_EQ(f.GetReal("S", "A"), 12.0);
  char small[4];
  f.GetText("S", "D", small, sizeof small);
  EXPECT_STREQ(small, "abc");
  f.GetText("S", "A", small, sizeof small);
  EXPECT_STREQ(small, "12a");
  f.GetText("S", "Missing", small, sizeof small);
  EXPECT_STREQ(small, "");
}

TEST(ScriptFile, LoadRemembersThePathAndAFailedLoadChangesNothing) {
  const std::string dir = TempDir();
  const std::string path = dir + "/a.Oms";
  ScriptFile f;
  f.SetText("S", "K", "1");
  EXPECT_EQ(f.Load((dir + "/missing.Oms").c_str()), 0);
  EXPECT_EQ(*f.Find("S", "K"), "1");
  ASSERT_EQ(f.Save(path.c_str()), 1);
  ScriptFile g;
  ASSERT_EQ(g.Load(path.c_str()), 1);
  EXPECT_EQ(g.Path(), path);
  EXPECT_EQ(g.Format(), f.Format());
  g.Clear();
  EXPECT_TRUE(g.Sections().empty());
  EXPECT_EQ(g.Find("S", "K"), nullptr);
}

void ExitBeforeRename(const char*, const char*) { _exit(0); }

TEST(ScriptFile, SaveReplacesAReadOnlyScriptAndNeverLosesTheOldOne) {
  const std::string dir = TempDir();
  const std::string path = dir + "/Effect.Oms";
  ScriptFile old_script;
  old_script.SetText("Header", "Version", "old");
  ASSERT_EQ(old_script.Save(path.c_str()), 1);
  ASSERT_TRUE(platform::IsReadOnly(path.c_str()));
  const std::string old_bytes = platform::ReadWholeFile(path.c_str()).value();

  // A writer that dies after writing the new text but before it replaces the old file.
  const pid_t child = fork();
  if (child == 0) {
    platform::SetBeforeReplaceHook(ExitBeforeRename);
    ScriptFile new_script;
    new_script.SetText("Header", "Version", "new");
    new_script.Save(path.c_str());
    _exit(1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(platform::ReadWholeFile(path.c_str()).value_or(""), old_bytes);

  // The read-only script is replaced by a normal save, and is read-only again.
  ScriptFile new_script;
  new_script.SetText("Header", "Version", "new");
  ASSERT_EQ(new_script.Save(path.c_str()), 1);
  ScriptFile read_back;
  ASSERT_EQ(read_back.Load(path.c_str()), 1);
  EXPECT_EQ(*read_back.Find("Header", "Version"), "new");
  EXPECT_TRUE(platform::IsReadOnly(path.c_str()));
  EXPECT_EQ(new_script.Save((dir + "/no/such/dir/x.Oms").c_str()), 0);
}

}  // namespace
