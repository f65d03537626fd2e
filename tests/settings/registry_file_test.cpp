// The REGEDIT4 text of a registry root: reading, writing back, and damaged files.
#include "core/platform/registry_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace ombrix::platform;

constexpr const char* kRoot = "HKEY_CURRENT_USER";

// Parses, writes back and parses again: the tree read back equals the tree first read, and the
// second text equals the first.
std::string Normalised(const std::string& text) {
  const RegistryDocument first = ParseRegistryText(kRoot, text);
  std::string once = FormatRegistryText(kRoot, first);
  const RegistryDocument second = ParseRegistryText(kRoot, once);
  EXPECT_TRUE(second.root == first.root) << once;
  EXPECT_EQ(second.preamble, first.preamble);
  EXPECT_EQ(FormatRegistryText(kRoot, second), once);
  return once;
}

TEST(RegistryFile, WellFormedFileWritesBackByteForByte) {
  const std::string text =
      "REGEDIT4\n"
      "\n"
      "[HKEY_CURRENT_USER\\Software]\n"
      "\n"
      "[HKEY_CURRENT_USER\\Software\\Zorvex]\n"
      "\n"
      "[HKEY_CURRENT_USER\\Software\\Zorvex\\Ombrix]\n"
      "\"InstallDir\"=\"C:\\\\Program Files\\\\Ombrix\"\n"
      "@=\"say \\\"hi\\\"\"\n"
      "\"Sect\xA7ion\"=\"\xA7 \xB0\"\n"
      "\"Count\"=dword:00000010\n"
      "\"Blob\"=hex:01,02,\\\n"
      "  03,04\n"
      "; a comment stays with its key\n"
      "\n"
      "[HKEY_CURRENT_USER\\Software\\Zorvex\\Ombrix\\Options]\n"
      "\"AskDel\"=\"1\"\n"
      "\n";
  const RegistryDocument doc = ParseRegistryText(kRoot, text);
  EXPECT_EQ(doc.first_damaged_line, 0u);
  const RegistryKeyNode* ombrix = doc.Find({"Software", "Zorvex", "Ombrix"});
  ASSERT_NE(ombrix, nullptr);
  ASSERT_NE(ombrix->FindValue("InstallDir"), nullptr);
  EXPECT_EQ(ombrix->FindValue("InstallDir")->data, "C:\\Program Files\\Ombrix");
  EXPECT_EQ(ombrix->FindValue("")->data, "say \"hi\"");
  EXPECT_EQ(ombrix->FindValue("Sect\xA7ion")->data, "\xA7 \xB0");
  EXPECT_FALSE(ombrix->FindValue("Count")->is_string);
  EXPECT_EQ(ombrix->FindValue("Blob")->data, "hex:01,02,\\\n  03,04");
  EXPECT_EQ(FormatRegistryText(kRoot, doc), text);
}

TEST(RegistryFile, NamesIgnoreLetterCaseAndRepeatedSectionsMerge) {
  const std::string text =
      "REGEDIT4\r\n\r\n"
      "[hkey_current_user\\SOFTWARE\\Zorvex]\r\n"
      "\"Name\"=\"first\"\r\n"
      "[HKEY_CURRENT_USER\\software\\zorvex\\Ombrix]\r\n"
      "[HKEY_CURRENT_USER\\Software\\ZORVEX]\r\n"
      "\"NAME\"=\"second\"\r\n"
      "\"Other\"=\"x\"\r\n";
  RegistryDocument doc = ParseRegistryText(kRoot, text);
  EXPECT_EQ(doc.first_damaged_line, 0u);
  RegistryKeyNode* zorvex = doc.Find({"software", "ZORVEX"});
  ASSERT_NE(zorvex, nullptr);
  EXPECT_EQ(zorvex->name, "Zorvex");  // the first spelling stays
  ASSERT_EQ(zorvex->values.size(), 2u);
  EXPECT_EQ(zorvex->values[0].name, "Name");
  EXPECT_EQ(zorvex->values[0].data, "second");
  EXPECT_NE(doc.Find({"SOFTWARE", "zorvex", "OMBRIX"}), nullptr);
  EXPECT_EQ(doc.root.subkeys.size(), 1u);
  // Written back with LF line ends, every key listed, parents first.
  EXPECT_EQ(FormatRegistryText(kRoot, doc),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE]\n\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Zorvex]\n\"Name\"=\"second\"\n\"Other\"=\"x\"\n\n"
            "[HKEY_CURRENT_USER\\SOFTWARE\\Zorvex\\Ombrix]\n\n");
}

TEST(RegistryFile, KeyPathsSplitAtBackslashesOnly) {
  EXPECT_EQ(SplitKeyPath("Software\\Zorvex\\Ombrix\\"), (std::vector<std::string>{"Software", "Zorvex", "Ombrix"}));
  EXPECT_EQ(SplitKeyPath("\\\\a\\\\b"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitKeyPath("image/png"), (std::vector<std::string>{"image/png"}));
  EXPECT_TRUE(SplitKeyPath("").empty());
  EXPECT_TRUE(IsStorableText("C:\\x \xA7"));
  EXPECT_FALSE(IsStorableText("a\nb"));
  EXPECT_FALSE(IsStorableText("a\rb"));
  EXPECT_FALSE(IsStorableText(std::string("a\0b", 3)));
}

// Each damaged file: the first damaged line is found, the good parts are read, and writing the
// tree back keeps every damaged line (so nothing the file held is lost).
struct DamageCase {
  const char* what;
  std::string text;
  size_t damaged_line;
  std::vector<std::string> kept;  // lines that must survive a rewrite
};

TEST(RegistryFile, DamagedFilesReadAsFarAsTheyParseAndKeepTheRest) {
  const std::string good_tail = "[HKEY_CURRENT_USER\\Good]\n\"v\"=\"1\"\n";
  const std::vector<DamageCase> cases = {
      {"unclosed quote", "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"open\n" + good_tail, 3, {"\"x\"=\"open"}},
      {"unknown escape", "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"p\"=\"C:\\dir\"\n" + good_tail, 3, {"\"p\"=\"C:\\dir\""}},
      {"text after the value",
       "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"1\" junk\n" + good_tail,
       3,
       {"\"x\"=\"1\" junk"}},
      {"binary junk with NUL",
       "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n" + std::string("\x01\xff\0\"z\"=\"1\"\0", 11) + "\n" + good_tail,
       3,
       {std::string("\x01\xff\0\"z\"=\"1\"\0", 11)}},
      {"missing header", "[HKEY_CURRENT_USER\\A]\n" + good_tail, 1, {}},
      {"junk header", "REGEDIT5\n" + good_tail, 1, {"REGEDIT5"}},
      {"value before any key", "REGEDIT4\n\"lost\"=\"1\"\n" + good_tail, 2, {"\"lost\"=\"1\""}},
      {"section of another root",
       "REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"m\"=\"1\"\n" + good_tail,
       2,
       {"[HKEY_LOCAL_MACHINE\\A]", "\"m\"=\"1\""}},
      {"unclosed key header",
       "REGEDIT4\n[HKEY_CURRENT_USER\\A\n\"m\"=\"1\"\n" + good_tail,
       2,
       {"[HKEY_CURRENT_USER\\A", "\"m\"=\"1\""}},
      {"empty key name", "REGEDIT4\n[HKEY_CURRENT_USER\\A\\\\B]\n" + good_tail, 2, {"[HKEY_CURRENT_USER\\A\\\\B]"}},
      {"deletion entry", "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"d\"=-\n" + good_tail, 3, {"\"d\"=-"}},
      {"dangling continuation",
       "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"h\"=hex:01,\\\n" + good_tail,
       3,
       {"\"h\"=hex:01,\\"}},
  };
  for (const DamageCase& c : cases) {
    SCOPED_TRACE(c.what);
    const RegistryDocument doc = ParseRegistryText(kRoot, c.text);
    EXPECT_EQ(doc.first_damaged_line, c.damaged_line);
    const RegistryKeyNode* good = doc.Find({"Good"});
    ASSERT_NE(good, nullptr);
    ASSERT_NE(good->FindValue("v"), nullptr);
    EXPECT_EQ(good->FindValue("v")->data, "1");
    const std::string written = Normalised(c.text);
    for (const std::string& line : c.kept) EXPECT_NE(written.find(line + "\n"), std::string::npos) << line;
    EXPECT_NE(written.find("[HKEY_CURRENT_USER\\Good]\n\"v\"=\"1\"\n"), std::string::npos);
  }
}

// A trailing backslash outside quotes continues hex data only; anywhere else it is text.
TEST(RegistryFile, TrailingBackslashContinuesHexDataOnly) {
  // The shortest file that used to change at every rewrite: an unquoted default value ending in
  // a backslash, an empty line and an indented line.
  const std::string shortest("[HKEY_CURRENT_USER]\n@=d:\\\n\n r", 29);
  RegistryDocument doc = ParseRegistryText(kRoot, shortest);
  ASSERT_EQ(doc.root.values.size(), 1u);
  EXPECT_EQ(doc.root.values[0], (RegistryValue{"", "d:\\", false}));
  EXPECT_EQ(doc.root.kept_lines, " r\n");
  EXPECT_EQ(doc.first_damaged_line, 1u);  // no header line
  EXPECT_EQ(Normalised(shortest), "REGEDIT4\n\n[HKEY_CURRENT_USER]\n@=d:\\\n r\n\n");

  // A value of another type keeps its backslash and is not continued, indented line or not.
  doc = ParseRegistryText(kRoot, "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"n\"=dword:\\\n  00000001\n");
  EXPECT_EQ(doc.Find({"A"})->values, (std::vector<RegistryValue>{{"n", "dword:\\", false}}));
  EXPECT_EQ(doc.Find({"A"})->kept_lines, "  00000001\n");
  EXPECT_EQ(doc.first_damaged_line, 4u);

  // Hex data, in either spelling, goes on over indented lines.
  doc = ParseRegistryText(kRoot, "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"h\"=HEX(2):41,\\\n  42,\\\r\n\t00\n");
  EXPECT_EQ(doc.first_damaged_line, 0u);
  EXPECT_EQ(doc.Find({"A"})->values, (std::vector<RegistryValue>{{"h", "HEX(2):41,\\\n  42,\\\n\t00", false}}));

  // Hex data whose backslash continues nothing keeps every line it read and is written with an
  // empty line after it, so the indented line that followed the blank one stays apart.
  const std::string dangling =
      "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"h\"=hex:01,\\\n  02,\\\n\n  03\n\"s\"=\"x\"\n  ; note\n";
  doc = ParseRegistryText(kRoot, dangling);
  EXPECT_EQ(doc.first_damaged_line, 4u);
  EXPECT_EQ(doc.Find({"A"})->values,
            (std::vector<RegistryValue>{{"h", "hex:01,\\\n  02,\\", false}, {"s", "x", true}}));
  EXPECT_EQ(doc.Find({"A"})->kept_lines, "  03\n  ; note\n");
  EXPECT_EQ(Normalised(dangling),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"h\"=hex:01,\\\n  02,\\\n\n\"s\"=\"x\"\n  03\n  ; note\n\n");

  // A hand-edited file of the same kind: an unquoted path, a dangling continuation before a
  // value line, and indented lines that the rewrite sets after the key's values.
  const std::string edited =
      "REGEDIT4\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Zorvex\\Ombrix\\Options]\r\n"
      "\"ContentDirectory\"=d:\\Content\\\r\n"
      "\"Blob\"=hex:01,02,\\\r\n"
      "\"TestPicture\"=\"d:\\\\Content\\\\Back.Bmp\"\r\n"
      "\r\n"
      "  ; kept for the next install\r\n"
      "  03,04\r\n";
  doc = ParseRegistryText(kRoot, edited);
  const RegistryKeyNode* options = doc.Find({"Software", "Zorvex", "Ombrix", "Options"});
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(options->FindValue("ContentDirectory")->data, "d:\\Content\\");
  EXPECT_EQ(options->FindValue("Blob")->data, "hex:01,02,\\");
  EXPECT_EQ(options->FindValue("TestPicture")->data, "d:\\Content\\Back.Bmp");
  EXPECT_EQ(options->kept_lines, "  ; kept for the next install\r\n  03,04\r\n");
  Normalised(edited);
}

TEST(RegistryFile, EndlessLineAndEmptyTexts) {
  // A 4 MiB line without a line end, after a good key.
  std::string text = "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"a\"=\"1\"\n";
  text += std::string(4u << 20, 'x');
  const RegistryDocument doc = ParseRegistryText(kRoot, text);
  EXPECT_EQ(doc.first_damaged_line, 4u);
  ASSERT_NE(doc.Find({"A"}), nullptr);
  EXPECT_EQ(doc.Find({"A"})->kept_lines.size(), (4u << 20) + 1);

  EXPECT_EQ(ParseRegistryText(kRoot, "").first_damaged_line, 0u);
  EXPECT_EQ(ParseRegistryText(kRoot, " \n\r\n").first_damaged_line, 0u);
  EXPECT_EQ(FormatRegistryText(kRoot, ParseRegistryText(kRoot, "")), "REGEDIT4\n\n");
}

TEST(RegistryFile, ValuesOnTheRootKeyAndTreeEdits) {
  RegistryDocument doc = ParseRegistryText(kRoot, "REGEDIT4\n[HKEY_CURRENT_USER]\n\"Top\"=\"t\"\n");
  ASSERT_NE(doc.root.FindValue("top"), nullptr);
  RegistryKeyNode& a = doc.root.SubkeyOrNew("A");
  a.SubkeyOrNew("B").SetString("x", "1");
  a.SetString("", "default");
  EXPECT_EQ(&doc.root.SubkeyOrNew("a"), &a);
  EXPECT_EQ(FormatRegistryText(kRoot, doc),
            "REGEDIT4\n\n[HKEY_CURRENT_USER]\n\"Top\"=\"t\"\n\n[HKEY_CURRENT_USER\\A]\n@=\"default\"\n\n"
            "[HKEY_CURRENT_USER\\A\\B]\n\"x\"=\"1\"\n\n");
  EXPECT_TRUE(doc.root.RemoveSubkey("a"));
  EXPECT_FALSE(doc.root.RemoveSubkey("a"));
  EXPECT_TRUE(doc.root.RemoveValue("TOP"));
  EXPECT_EQ(FormatRegistryText(kRoot, doc), "REGEDIT4\n\n");
}

}  // namespace
