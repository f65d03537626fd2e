// Effect scripts: chains written and read back, the exact bytes written, scripts written on
// Windows, and the reader's rules for dropped filters, options, numbers and missing files.
#include "core/script/effect_script.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/platform/files.h"
#include "core/plugin/last_error.h"

namespace {

using namespace ombrix;

class EffectScript : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(LoadPluginFile(table_, SCRIPT_TEST_MODULE), 1) << LastErrorText();
    ASSERT_EQ(table_.Count(), 2);
    std::string pattern = std::string(OMBRIX_TEST_OUTPUT_DIR) + "/effect_script.XXXXXX";
    dir_ = mkdtemp(pattern.data());
    content_ = dir_ + "/content/";
    fallback_ = dir_ + "/fallback";
    ASSERT_TRUE(platform::MakeDirectories((content_ + "Textures").c_str()));
    ASSERT_TRUE(platform::MakeDirectories(fallback_.c_str()));
    for (const std::string& file : {content_ + "wood.bmp", content_ + "Textures/stone.bmp", content_ + "mask.bmp",
                                    fallback_ + "/only_in_fallback.bmp"})
      ASSERT_TRUE(platform::ReplaceFileAtomically(file.c_str(), "x"));
  }
  void TearDown() override {
    for (FilterDescriptor*& e : entries_) FreeDescriptor(e, true);
  }

  // A new chain entry of the test module's filter; freed with the fixture.
  FilterDescriptor* Entry(const char* name) {
    entries_.push_back(FindDescriptor(table_, name, "ScriptFx.Omp"));
    return entries_.back();
  }

  // Reads script text into out[], as ReadScript does after loading the file.
  int Read(const std::string& text, std::vector<FilterDescriptor*>& out, int& count,
           const MissingFileHandler& handler = {}) {
    ScriptFile file;
    file.LoadText(text);
    int frame = -99;
    const int result = ReadScriptFrom(file, out.data(), int(out.size()), &count, &frame, header_, table_, handler);
    test_frame_ = frame;
    return result;
  }

  static void FreeAll(std::vector<FilterDescriptor*>& out) {
    for (FilterDescriptor*& e : out) {
      FreeDescriptor(e, true);
      e = nullptr;
    }
  }

  PluginTable table_;
  std::vector<FilterDescriptor*> entries_;
  std::string dir_, content_, fallback_;
  ScriptHeader header_;
  int test_frame_ = 0;
};

// A script of one Tint filter with the given extra lines for its section.
std::string TintScript(const std::string& lines, const std::string& content = "") {
  return "[Header]\r\n\tIdentification=Zorvex\xA7OmbrixScript\r\n\tnFilter=1\r\n\tContentDirectory=" + content +
         "\r\n\r\n[Filter_0]\r\n\tDllName=ScriptFx.Omp\r\n\tFilterName=Tint\r\n" + lines + "\r\n";
}

TEST_F(EffectScript, AChainWrittenAndReadBackKeepsEveryField) {
  FilterDescriptor* tint = Entry("Tint");
  tint->zone[0] = 10, tint->zone[1] = 20, tint->zone[2] = 300, tint->zone[3] = -40;
  tint->zone_step[0] = 0.5f, tint->zone_step[1] = -1.25f, tint->zone_step[3] = 2.0f;
  tint->start_frame = 3, tint->end_frame = 120;
  tint->full_screen = 1, tint->all_frames = 0, tint->proportional = 1;
  tint->alpha_init = 12.5f, tint->alpha_step = -0.25f;
  std::strcpy(tint->parameters[1].value, "7");
  std::strcpy(tint->parameters[1].step, "0.5");
  std::strcpy(tint->parameters[2].value, "255 128 0");
  std::strcpy(tint->parameters[3].value, (content_ + "wood.bmp").c_str());
  std::strcpy(tint->parameters[4].value, (content_ + "Textures/stone.bmp").c_str());
  std::strcpy(tint->parameters[5].value, "Changed Proc");  // kind 16: never written
  tint->options[1].state = 0, tint->options[2].state = 1, tint->options[3].state = 0;
  std::strcpy(tint->xalpha->picture_path, (content_ + "mask.bmp").c_str());
  tint->xalpha->type = 2, tint->xalpha->negative = 1, tint->xalpha->stretch = 1, tint->xalpha->percent = 75;
  FilterDescriptor* blur = Entry("Blur");
  std::strcpy(blur->parameters[1].value, "9");
  std::strcpy(blur->parameters[1].step, "-1");
  blur->options[1].state = 0;
  FilterDescriptor* plain = Entry("Tint");
  const FilterDescriptor* chain[] = {tint, nullptr, blur, plain};

  const std::string path = dir_ + "/Chain.Oms";
  ASSERT_EQ(WriteScript(path.c_str(), chain, 4, 17, ScriptHeader{content_, 800, 600}), 1);
  ScriptFile written;
  ASSERT_EQ(written.Load(path.c_str()), 1);
  EXPECT_EQ(*written.Find("Filter_0", "Parameter_3_Val"), "wood.bmp");
  EXPECT_EQ(*written.Find("Filter_0", "Parameter_4_Val"), "Textures/stone.bmp");
  EXPECT_EQ(*written.Find("Filter_0", "Parameter_5_Val"), "");
  EXPECT_EQ(*written.Find("Filter_0", "XAlphaPicture"), "mask.bmp");
  EXPECT_EQ(*written.Find("Filter_1", "FilterName"), "Blur");  // the null slot takes no number
  EXPECT_EQ(written.Find("Filter_3", "FilterName"), nullptr);

  std::vector<FilterDescriptor*> out(kMaxScriptEntries, nullptr);
  int count = 0, frame = 0;
  ScriptHeader header{fallback_, 1, 1};
  ASSERT_EQ(ReadScript(path.c_str(), out.data(), int(out.size()), &count, &frame, header, table_, {}), 1);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(frame, 17);
  EXPECT_EQ(header.content_directory, content_);
  EXPECT_EQ(header.based_width, 800);
  EXPECT_EQ(header.based_height, 600);

  // Fields expected back: everything written, with file paths made whole again and the kind-16
  // slot at the plug-in's default.
  std::strcpy(tint->parameters[5].value, "ZvExt Edit");
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const FilterDescriptor& a = *out[size_t(i)];
    const FilterDescriptor& b = *(i == 0 ? tint : i == 1 ? blur : plain);
    EXPECT_STREQ(a.name, b.name);
    EXPECT_STREQ(a.file_name, b.file_name);
    EXPECT_EQ(0, std::memcmp(a.zone, b.zone, sizeof a.zone));
    EXPECT_EQ(0, std::memcmp(a.zone_step, b.zone_step, sizeof a.zone_step));
    EXPECT_EQ(a.start_frame, b.start_frame);
    EXPECT_EQ(a.end_frame, b.end_frame);
    EXPECT_EQ(a.full_screen, b.full_screen);
    EXPECT_EQ(a.all_frames, b.all_frames);
    EXPECT_EQ(a.proportional, b.proportional);
    EXPECT_EQ(a.alpha_init, b.alpha_init);
    EXPECT_EQ(a.alpha_step, b.alpha_step);
    ASSERT_EQ(a.parameter_count, b.parameter_count);
    for (int k = 0; k < a.parameter_count; ++k) {
      EXPECT_STREQ(a.parameters[k].name, b.parameters[k].name) << k;
      EXPECT_STREQ(a.parameters[k].value, b.parameters[k].value) << k;
      EXPECT_STREQ(a.parameters[k].step, b.parameters[k].step) << k;
      EXPECT_EQ(a.parameters[k].kind, b.parameters[k].kind) << k;
    }
    ASSERT_EQ(a.option_count, b.option_count);
    for (int k = 0; k < a.option_count; ++k) EXPECT_EQ(a.options[k].state, b.options[k].state) << k;
    EXPECT_STREQ(a.xalpha->picture_path, b.xalpha->picture_path);
    EXPECT_EQ(a.xalpha->type, b.xalpha->type);
    EXPECT_EQ(a.xalpha->negative, b.xalpha->negative);
    EXPECT_EQ(a.xalpha->stretch, b.xalpha->stretch);
    EXPECT_EQ(a.xalpha->percent, b.xalpha->percent);
  }
  EXPECT_EQ(out[3], nullptr);

  // Reading again frees what the array held (the sanitizer build checks for leaks).
  ASSERT_EQ(ReadScript(path.c_str(), out.data(), int(out.size()), &count, &frame, header, table_, {}), 1);
  EXPECT_EQ(count, 3);
  // A file that cannot be opened changes nothing.
  EXPECT_EQ(ReadScript((dir_ + "/none.Oms").c_str(), out.data(), int(out.size()), &count, &frame, header, table_, {}),
            0);
  EXPECT_EQ(count, 3);
  EXPECT_NE(out[2], nullptr);
  FreeAll(out);
}

TEST_F(EffectScript, WritesTheExactBytes) {
  FilterDescriptor* blur = Entry("Blur");
  blur->zone[2] = 640, blur->zone[3] = 480;
  blur->zone_step[2] = 1.5f, blur->zone_step[3] = -0.5f;
  blur->start_frame = 40000, blur->end_frame = 100, blur->all_frames = 1;
  blur->alpha_init = 50.0f, blur->alpha_step = 0.1f;
  std::strcpy(blur->xalpha->picture_path, "/fx/Masks/m.bmp");
  blur->xalpha->type = 1, blur->xalpha->percent = 40000;
  const FilterDescriptor* chain[] = {blur};
  ScriptFile file;
  WriteScriptTo(file, chain, 1, 5, ScriptHeader{"/fx/", 640, 480});

  std::string expected =
      "61\r\n"
      "[Header]\r\n"
      "\tIdentification=Zorvex\xA7OmbrixScript\r\n"
      "\tnFilter=1\r\n"
      "\tTestFrame=5\r\n"
      "\tContentDirectory=/fx/\r\n"
      "\tBased XSize=640\r\n"
      "\tBased YSize=480\r\n"
      "\r\n"
      "[Filter_0]\r\n"
      "\tDllName=ScriptFx.Omp\r\n"
      "\tFilterName=Blur\r\n"
      "\tFullScreen=0\r\n"
      "\tAllFrames=1\r\n"
      "\tProportionnal=0\r\n"
      "\tnParameter=11\r\n"
      "\tnOption=11\r\n"
      "\tStartFrame=-25536\r\n"
      "\tEndFrame=100\r\n"
      "\tAlphaInit=50.000000\r\n"
      "\tAlphaStep=0.100000\r\n"
      "\tZone=0 0 640 480\r\n"
      "\tZone_Step=0.000000 0.000000 1.500000 -0.500000\r\n";
  for (int k = 0; k < 11; ++k) {
    const std::string n = std::to_string(k);
    expected += "\tParameter_" + n + "_Val=" + (k == 1 ? "3" : "") + "\r\n";
    expected += "\tParameter_" + n + "_Step=" + (k == 1 ? "1" : "") + "\r\n";
  }
  for (int k = 0; k < 11; ++k) expected += "\tOption_" + std::to_string(k) + "=" + (k == 1 ? "1" : "-1") + "\r\n";
  expected +=
      "\tXAlphaPicture=Masks/m.bmp\r\n"
      "\tXAlphaType=1\r\n"
      "\tXAlphaNegative=0\r\n"
      "\tXAlphaStretchP=0\r\n"
      "\tXAlphaPercent=-25536\r\n"
      "\r\n";
  EXPECT_EQ(file.Format(), expected);
}

TEST_F(EffectScript, AScriptWrittenOnWindowsReads) {
  // CR LF line ends, the Windows-1252 section sign, backslash paths, a content directory that does
  // not exist here, and a second filter whose plug-in this table does not hold.
  const std::string text =
      "53\r\n[Header]\r\n\tIdentification=Zorvex\xA7OmbrixScript\r\n\tnFilter=2\r\n\tTestFrame=4\r\n"
      "\tContentDirectory=C:\\Program Files\\Zorvex\\Ombrix\\Content\\\r\n\tBased XSize=640\r\n"
      "\tBased YSize=480\r\n\r\n"
      "[Filter_0]\r\n\tDllName=ZvPal.Omp\r\n\tFilterName=Negative\r\n\tnParameter=11\r\n\r\n"
      "[Filter_1]\r\n\tDllName=ScriptFx.Omp\r\n\tFilterName=Tint\r\n\tFullScreen=1\r\n\tAllFrames=1\r\n"
      "\tProportionnal=0\r\n\tnParameter=11\r\n\tnOption=11\r\n\tStartFrame=0\r\n\tEndFrame=0\r\n"
      "\tAlphaInit=25.000000\r\n\tAlphaStep=0.000000\r\n\tZone=0 0 639 479\r\n"
      "\tZone_Step=0.000000 0.000000 0.000000 0.000000\r\n"
      "\tParameter_1_Val=4\r\n\tParameter_1_Step=0\r\n"
      "\tParameter_3_Val=Textures\\stone.bmp\r\n\tParameter_3_Step=\r\n"
      "\tParameter_4_Val=C:\\Program Files\\Zorvex\\Ombrix\\Content\\gone.dat\r\n\tParameter_4_Step=\r\n"
      "\tParameter_6_Val=-20 \xA7\r\n\tParameter_6_Step=1 %\r\n"
      "\tOption_0=-1\r\n\tOption_1=0\r\n\tOption_2=1\r\n\tOption_3=1\r\n"
      "\tXAlphaPicture=mask.bmp\r\n\tXAlphaType=1\r\n\tXAlphaNegative=0\r\n\tXAlphaStretchP=1\r\n"
      "\tXAlphaPercent=100\r\n\r\n";
  const std::string path = dir_ + "/Windows.Oms";
  ASSERT_TRUE(platform::ReplaceFileAtomically(path.c_str(), text));
  std::vector<std::string> asked;
  const MissingFileHandler handler = [&](char* name) {
    asked.push_back(name);
    std::strcpy(name, "/replaced/by/the/user.dat");
    return 1;
  };
  std::vector<FilterDescriptor*> out(kMaxScriptEntries, nullptr);
  int count = 0, frame = 0;
  header_.content_directory = content_;
  ASSERT_EQ(ReadScript(path.c_str(), out.data(), int(out.size()), &count, &frame, header_, table_, handler), 1);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(frame, 4);
  EXPECT_EQ(header_.content_directory, content_);  // the script's folder does not exist here
  const FilterDescriptor& e = *out[0];
  EXPECT_STREQ(e.name, "Tint");
  EXPECT_EQ(e.full_screen, 1);
  EXPECT_EQ(e.alpha_init, 25.0f);
  EXPECT_EQ(e.zone[2], 639);
  EXPECT_STREQ(e.parameters[1].value, "4");
  EXPECT_EQ(std::string(e.parameters[3].value), content_ + "Textures/stone.bmp");
  EXPECT_STREQ(e.parameters[4].value, "/replaced/by/the/user.dat");
  EXPECT_STREQ(e.parameters[6].value, "-20 \xA7");
  EXPECT_EQ(asked, std::vector<std::string>{"C:\\Program Files\\Zorvex\\Ombrix\\Content\\gone.dat"});
  EXPECT_EQ(e.options[1].state, 0);
  EXPECT_EQ(e.options[2].state, 1);
  EXPECT_EQ(e.options[0].state, -1);
  EXPECT_EQ(std::string(e.xalpha->picture_path), content_ + "mask.bmp");
  EXPECT_EQ(e.xalpha->stretch, 1);
  EXPECT_EQ(e.xalpha->percent, 100);
  FreeAll(out);
}

TEST_F(EffectScript, HeaderRulesLetterCaseAndIdentification) {
  std::vector<FilterDescriptor*> out(8, nullptr);
  int count = 0;
  // No count line, section and key names in other letter case.
  ASSERT_EQ(Read("[header]\n\tIDENTIFICATION=Zorvex\xA7OmbrixScript\n\tnfilter=1\n\ttestframe=9\n"
                 "[FILTER_0]\n\tdllname=ScriptFx.Omp\n\tfiltername=Blur\n\tparameter_1_val=6\n",
                 out, count),
            1);
  ASSERT_EQ(count, 1);
  EXPECT_EQ(test_frame_, 9);
  EXPECT_STREQ(out[0]->parameters[1].value, "6");
  // The identification compares exactly: another letter case is refused. The held entries are
  // freed and their slots emptied; the count is left as it was.
  EXPECT_EQ(Read("[Header]\n\tIdentification=zorvex\xA7ombrixscript\n\tnFilter=1\n", out, count), 0);
  EXPECT_EQ(out[0], nullptr);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(test_frame_, -99);
  EXPECT_EQ(Read("[Header]\n\tIdentification=Zorvex\xC2\xA7OmbrixScript\n", out, count), 0);
  EXPECT_EQ(Read("", out, count), 0);
}

TEST_F(EffectScript, FilterSectionRules) {
  table_.At(0)->zone[2] = 33, table_.At(0)->zone[3] = 44, table_.At(0)->zone_step[1] = 7.0f;
  std::vector<FilterDescriptor*> out(8, nullptr);
  int count = 0;
  int calls = 0;
  const MissingFileHandler counting = [&](char*) { return ++calls, 0; };
  ASSERT_EQ(Read(TintScript("\tZone=5 6\r\n\tZone_Step=0.5 x\r\n"
                            "\tStartFrame=40000\r\n\tEndFrame=-1\r\n\tFullScreen=65537\r\n"
                            "\tOption_1=-1\r\n\tOption_2=65535\r\n"  // Option_3 missing
                            "\tParameter_1_Val=\r\n\tParameter_1_Step=99\r\n"
                            "\tParameter_2_Val=1 2 3\r\n"  // no step line
                            "\tParameter_3_Val=(NONE)\r\n\tParameter_4_Val= not looked up\r\n"
                            "\tParameter_5_Val=Hacked Proc\r\n\tParameter_5_Step=x\r\n"
                            "\tParameter_7_Val=missing-output.txt\r\n"),
                 out, count, counting),
            1);
  ASSERT_EQ(count, 1);
  const FilterDescriptor& e = *out[0];
  // Coordinates the text does not supply keep the table's values.
  EXPECT_EQ(e.zone[0], 5);
  EXPECT_EQ(e.zone[1], 6);
  EXPECT_EQ(e.zone[2], 33);
  EXPECT_EQ(e.zone[3], 44);
  EXPECT_EQ(e.zone_step[0], 0.5f);
  EXPECT_EQ(e.zone_step[1], 7.0f);
  // 16-bit fields, sign-extended.
  EXPECT_EQ(e.start_frame, -25536);
  EXPECT_EQ(e.end_frame, -1);
  EXPECT_EQ(e.full_screen, 1);
  // Option -1 (also 65535 cut to 16 bits) keeps the plug-in's state; a missing one clears it.
  EXPECT_EQ(e.options[1].state, 1);
  EXPECT_EQ(e.options[2].state, 0);
  EXPECT_EQ(e.options[3].state, 0);
  EXPECT_EQ(e.options[4].state, 0);  // an empty slot too
  // An empty value keeps value and step; a value without a step line gets an empty step.
  EXPECT_STREQ(e.parameters[1].value, "2");
  EXPECT_STREQ(e.parameters[1].step, "0");
  EXPECT_STREQ(e.parameters[2].value, "1 2 3");
  EXPECT_STREQ(e.parameters[2].step, "");
  // "(none)" and a leading blank are not looked up; kind 16 is never read; kind 7 is no input file.
  EXPECT_STREQ(e.parameters[3].value, "(NONE)");
  EXPECT_STREQ(e.parameters[4].value, " not looked up");
  EXPECT_STREQ(e.parameters[5].value, "ZvExt Edit");
  EXPECT_STREQ(e.parameters[5].step, "");
  EXPECT_STREQ(e.parameters[7].value, "missing-output.txt");
  EXPECT_EQ(calls, 0);
  FreeAll(out);
}

TEST_F(EffectScript, UnknownFiltersAreDroppedAndLongScriptsCut) {
  std::string text = "[Header]\n\tIdentification=Zorvex\xA7OmbrixScript\n\tnFilter=300\n";
  for (int i = 0; i < 300; ++i) {
    const bool unknown = i == 0 || i == 2;
    text += "[Filter_" + std::to_string(i) + "]\n\tDllName=" + (unknown ? "ZvPal.Omp" : "ScriptFx.Omp") +
            "\n\tFilterName=Blur\n\tParameter_1_Val=" + std::to_string(i) + "\n";
  }
  std::vector<FilterDescriptor*> out(300, nullptr);
  int count = 0;
  ASSERT_EQ(Read(text, out, count), 1);
  // Sections Filter_0 to Filter_255 are read; two of them name a plug-in the table lacks.
  EXPECT_EQ(count, 254);
  EXPECT_STREQ(out[0]->parameters[1].value, "1");
  EXPECT_STREQ(out[1]->parameters[1].value, "3");
  EXPECT_STREQ(out[253]->parameters[1].value, "255");
  EXPECT_EQ(out[254], nullptr);
  // A smaller array stops the reading when it is full.
  std::vector<FilterDescriptor*> small(3, nullptr);
  int small_count = 0;
  ASSERT_EQ(Read(text, small, small_count), 1);
  EXPECT_EQ(small_count, 3);
  EXPECT_STREQ(small[2]->parameters[1].value, "4");
  FreeAll(small);
  // A negative filter count reads no filter.
  ASSERT_EQ(Read("[Header]\n\tIdentification=Zorvex\xA7OmbrixScript\n\tnFilter=-5\n[Filter_0]\n"
                 "\tDllName=ScriptFx.Omp\n\tFilterName=Blur\n",
                 out, count),
            1);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(out[0], nullptr);
}

TEST_F(EffectScript, MissingFilesAreLookedForInContentThenFallback) {
  std::vector<FilterDescriptor*> out(2, nullptr);
  int count = 0;
  std::vector<std::string> asked;
  const MissingFileHandler handler = [&](char* name) {
    asked.push_back(name);
    return 0;  // leaves the text as it is
  };
  header_.content_directory = fallback_;
  ASSERT_EQ(Read(TintScript("\tParameter_3_Val=wood.bmp\r\n\tParameter_4_Val=only_in_fallback.bmp\r\n"
                            "\tXAlphaPicture=nowhere.bmp\r\n",
                            content_),
                 out, count, handler),
            1);
  EXPECT_EQ(header_.content_directory, content_);  // the script's folder exists: it is used
  EXPECT_EQ(std::string(out[0]->parameters[3].value), content_ + "wood.bmp");
  EXPECT_EQ(std::string(out[0]->parameters[4].value), fallback_ + "/only_in_fallback.bmp");
  EXPECT_STREQ(out[0]->xalpha->picture_path, "nowhere.bmp");
  EXPECT_EQ(asked, std::vector<std::string>{"nowhere.bmp"});

  // An existing file is kept as named; without a handler a missing one stays as it is.
  const std::string existing = content_ + "mask.bmp";
  ASSERT_EQ(Read(TintScript("\tParameter_3_Val=" + existing + "\r\n\tParameter_4_Val=gone.dat\r\n"), out, count), 1);
  EXPECT_EQ(std::string(out[0]->parameters[3].value), existing);
  EXPECT_STREQ(out[0]->parameters[4].value, "gone.dat");

  // A handler cannot write past its 256-byte buffer's end; its text is cut there.
  const MissingFileHandler long_answer = [](char* name) {
    std::memset(name, 'L', kScriptPathBytes);
    return 1;
  };
  ASSERT_EQ(Read(TintScript("\tXAlphaPicture=gone.bmp\r\n"), out, count, long_answer), 1);
  EXPECT_EQ(std::string(out[0]->xalpha->picture_path), std::string(kScriptPathBytes - 1, 'L'));
  FreeAll(out);
}

TEST_F(EffectScript, PathsAreWrittenRelativeOnlyUnderTheContentDirectory) {
  FilterDescriptor* tint = Entry("Tint");
  const FilterDescriptor* chain[] = {tint};
  const struct {
    const char* content;
    const char* value;
    const char* written;
  } cases[] = {
      {"C:\\FX", "c:\\fx\\tex.bmp", "tex.bmp"},
      {"C:\\FX\\", "C:\\FX\\Sub\\tex.bmp", "Sub\\tex.bmp"},
      {"/data/fx", "/data/fx/a.bmp", "a.bmp"},
      {"/data/fx/", "/data/fx/a.bmp", "a.bmp"},
      {"/data/fx", "/data/fxother/a.bmp", "/data/fxother/a.bmp"},  // not inside the folder
      {"/data/fx", "/elsewhere/a.bmp", "/elsewhere/a.bmp"},
      {"", "/data/fx/a.bmp", "/data/fx/a.bmp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    std::strcpy(tint->parameters[4].value, c.value);
    std::strcpy(tint->parameters[1].value, c.value);  // kind 0: not a file, written as it is
    std::strcpy(tint->xalpha->picture_path, c.value);
    ScriptFile file;
    WriteScriptTo(file, chain, 1, 0, ScriptHeader{c.content, 0, 0});
    EXPECT_EQ(*file.Find("Filter_0", "Parameter_4_Val"), c.written);
    EXPECT_EQ(*file.Find("Filter_0", "XAlphaPicture"), c.written);
    EXPECT_EQ(*file.Find("Filter_0", "Parameter_1_Val"), c.value);
  }
}

}  // namespace
