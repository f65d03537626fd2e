// SZDD files: what we compress expands to the same bytes, a hand-made file of matches into the
// window's blank fill expands as the format says, damaged files are refused with a reason, and
// medium files expand or copy into place with their permission bits.
#include "core/platform/szdd.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace {

using namespace ombrix::platform;
namespace fs = std::filesystem;

std::string RoundTrip(const std::string& data) {
  std::string reason;
  const std::optional<std::string> expanded = SzddExpand(SzddCompress(data, 'e'), &reason);
  EXPECT_TRUE(expanded.has_value()) << reason;
  return expanded.value_or("<refused>");
}

std::string RandomBytes(size_t size, unsigned seed, int alphabet) {
  std::mt19937 random(seed);
  std::string data(size, '\0');
  for (char& c : data) c = static_cast<char>(random() % alphabet);
  return data;
}

TEST(Szdd, CompressedDataExpandsToTheSameBytes) {
  const std::string cases[] = {
      "",
      "x",
      " ",
      std::string(5000, ' '),   // blanks at the start match the window's own fill
      std::string(10000, 'a'),  // a run longer than the window, by overlapping matches
      std::string(4079, 'b') + "cdefg" + std::string(70, 'b'),
      "abcabcabcabcabc",
      RandomBytes(100000, 1, 256),  // hardly any matches
      RandomBytes(100000, 2, 3),    // matches everywhere, of every distance
  };
  for (const std::string& data : cases) EXPECT_EQ(RoundTrip(data), data) << "size " << data.size();

  // Text repeats across more than a window: only matches within the last 4095 bytes are valid.
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "line " + std::to_string(i % 700) + " of a longer file\n";
  EXPECT_EQ(RoundTrip(text), text);
  EXPECT_LT(SzddCompress(text).size(), text.size() / 2);
}

TEST(Szdd, HeaderHoldsTheMissingCharacterAndTheLength) {
  const std::string compressed = SzddCompress("hello", 'e');
  ASSERT_GE(compressed.size(), kSzddHeaderBytes);
  EXPECT_TRUE(IsSzdd(compressed));
  EXPECT_EQ(compressed.substr(0, 8), std::string("SZDD\x88\xF0\x27\x33", 8));
  EXPECT_EQ(compressed[8], 'A');
  EXPECT_EQ(compressed[9], 'e');
  EXPECT_EQ(compressed.substr(10, 4), std::string("\x05\0\0\0", 4));
  EXPECT_EQ(CompressedFileName("Setup.exe"), "Setup.ex_");
  EXPECT_EQ(CompressedFileName("x"), "x");
}

TEST(Szdd, AHandMadeFileOfMatchesExpandsAsTheFormatSays) {
  // Control 0b00000101: literal 'A' (written at 0xFF0), a match of three blanks from the
  // window's initial fill at 0x010, literal 'B', then a match of four bytes from 0xFF0, which
  // repeats what the first four gave.
  std::string bytes(reinterpret_cast<const char*>(kSzddMagic), 8);
  bytes += "A_";
  bytes += std::string("\x09\0\0\0", 4);
  bytes += '\x05';
  bytes += 'A';
  bytes += std::string("\x10\x00", 2);  // position 0x010, length 3
  bytes += 'B';
  bytes += std::string("\xF0\xF1", 2);  // position 0xFF0, length 4
  std::string reason;
  const auto expanded = SzddExpand(bytes, &reason);
  ASSERT_TRUE(expanded.has_value()) << reason;
  EXPECT_EQ(*expanded, std::string("A   B") + "A   ");
}

TEST(Szdd, DamagedFilesAreRefusedWithAReason) {
  const std::string good = SzddCompress(RandomBytes(3000, 3, 4));
  std::string reason;
  // Cut at every length: the header, a control byte, half a match, a literal.
  for (size_t cut = 0; cut < good.size(); ++cut) {
    reason.clear();
    EXPECT_FALSE(SzddExpand(good.substr(0, cut), &reason).has_value()) << "cut at " << cut;
    EXPECT_FALSE(reason.empty());
  }
  std::string wrong_mode = good;
  wrong_mode[8] = 'B';
  EXPECT_FALSE(SzddExpand(wrong_mode, &reason));
  EXPECT_EQ(reason, "unknown SZDD compression mode");

  std::string shorter = good;  // the data reach past a stated length one byte short
  shorter[10] = static_cast<char>(static_cast<unsigned char>(shorter[10]) - 1);
  EXPECT_FALSE(SzddExpand(shorter, &reason));
  std::string huge = SzddCompress("");
  huge[13] = '\x7F';
  EXPECT_FALSE(SzddExpand(huge, &reason));
  EXPECT_FALSE(SzddExpand("plain text", &reason));
  EXPECT_EQ(reason, "not an SZDD compressed file");
}

class ExpandFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("szdd-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  static void Write(const std::string& path, const std::string& data) { std::ofstream(path, std::ios::binary) << data; }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  fs::path dir_;
};

TEST_F(ExpandFileTest, CompressedSourcesExpandAndOthersCopyUnchanged) {
  const std::string program = "#!/bin/sh\necho installed\n";
  Write(Path("run.s_"), SzddCompress(program, 'h'));
  chmod(Path("run.s_").c_str(), 0755);
  EXPECT_EQ(ExpandFile(Path("run.s_"), Path("run.sh")), ExpandResult::kDone);
  EXPECT_EQ(Read(Path("run.sh")), program);
  struct stat st {};
  ASSERT_EQ(stat(Path("run.sh").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);

  Write(Path("plain.txt"), "not compressed");
  Write(Path("copy.txt"), "old text");
  EXPECT_EQ(ExpandFile(Path("plain.txt"), Path("copy.txt")), ExpandResult::kDone);
  EXPECT_EQ(Read(Path("copy.txt")), "not compressed");

  EXPECT_EQ(ExpandFile(Path("none"), Path("out")), ExpandResult::kSourceMissing);
  EXPECT_EQ(ExpandFile(dir_.string(), Path("out")), ExpandResult::kUnreadable);
  EXPECT_EQ(ExpandFile(Path("plain.txt"), Path("no/such/folder/out")), ExpandResult::kTargetFailed);
}

TEST_F(ExpandFileTest, ADamagedSourceLeavesTheTargetAsItWas) {
  const std::string compressed = SzddCompress(std::string(2000, 'z'));
  Write(Path("cut.z_"), compressed.substr(0, compressed.size() - 1));
  Write(Path("target"), "kept");
  std::string reason;
  EXPECT_EQ(ExpandFile(Path("cut.z_"), Path("target"), &reason), ExpandResult::kDamaged);
  EXPECT_EQ(reason, "the compressed data is truncated");
  EXPECT_EQ(Read(Path("target")), "kept");
  EXPECT_EQ(ExpandFile(Path("cut.z_"), Path("fresh")), ExpandResult::kDamaged);
  EXPECT_FALSE(fs::exists(Path("fresh")));
}

}  // namespace
