// The uninstall log's bytes: the exact layout, the round trip, and refusal of every truncated,
// lying or foreign file without reading past it (the sanitizer build watches the reads).
#include "setup/uninstall_log.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/setup/private_home.h"

namespace {

using namespace ombrix::setup;

UninstallLog SampleLog() {
  UninstallLog log;
  log.name = "Zorvex - Ombrix v1.0e";
  log.Add(EntryKind::RemoveDirectory, "/opt/ombrix");
  log.Add(EntryKind::RemoveFile, "/opt/ombrix/Help/A.HLP");
  log.Add(EntryKind::RemoveUserKey, "Software\\Zorvex\\", "Ombrix");
  log.Add(EntryKind::RemoveFileLine, "/opt/lw/LW.cfg", "Plugin X a b\n");
  log.entries.push_back(LogEntry{42, "kept as read", std::string("with\0zero", 9)});
  return log;
}

uint32_t Int32At(const std::string& bytes, size_t offset) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[offset + size_t(i)]);
  return value;
}

void SetInt32At(std::string& bytes, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + size_t(i)] = static_cast<char>(value >> (8 * i));
}

std::string Refusal(const std::string& bytes) {
  std::string reason;
  EXPECT_FALSE(ParseUninstallLog(bytes, &reason).has_value());
  EXPECT_FALSE(reason.empty());
  return reason;
}

TEST(UninstallLogFormat, BytesFollowTheLayoutExactly) {
  const std::string bytes = SerializeUninstallLog(SampleLog());
  EXPECT_EQ(Int32At(bytes, 0), 292u);
  EXPECT_EQ(std::memcmp(bytes.data() + 4, "Zorvex\xA7UninstallScript\0\0\0\0\0\0", 28), 0);
  EXPECT_EQ(Int32At(bytes, 32), 0x3F800000u);
  EXPECT_EQ(Int32At(bytes, 36), 5u);
  EXPECT_EQ(std::string(bytes.data() + 40), "Zorvex - Ombrix v1.0e");
  EXPECT_EQ(bytes.substr(40 + 21, 256 - 21), std::string(256 - 21, '\0'));
  // First entry at 296: kind 1, text A with its length and no terminator, empty text B.
  EXPECT_EQ(Int32At(bytes, 296), 1u);
  EXPECT_EQ(Int32At(bytes, 300), 11u);
  EXPECT_EQ(bytes.substr(304, 11), "/opt/ombrix");
  EXPECT_EQ(Int32At(bytes, 315), 0u);
  EXPECT_EQ(Int32At(bytes, 319), 0u);  // the next entry's kind (RemoveFile)
}

TEST(UninstallLogFormat, WriteThenReadGivesTheSameLog) {
  ombrix::test::PrivateHome home;
  const std::string path = home.Path("Install.Nui");
  ASSERT_TRUE(WriteUninstallLog(path, SampleLog()));
  std::string reason;
  const std::optional<UninstallLog> read = ReadUninstallLog(path, &reason);
  ASSERT_TRUE(read.has_value()) << reason;
  EXPECT_EQ(*read, SampleLog());
  EXPECT_EQ(EntryText(read->entries[4].b), "with");

  UninstallLog empty;
  empty.name = std::string(300, 'n');  // cut to the field with its terminator
  const std::optional<UninstallLog> cut = ParseUninstallLog(SerializeUninstallLog(empty), &reason);
  ASSERT_TRUE(cut.has_value()) << reason;
  EXPECT_EQ(cut->name, std::string(255, 'n'));
  EXPECT_TRUE(cut->entries.empty());
}

TEST(UninstallLogFormat, HeaderTestsRejectForeignFiles) {
  const std::string good = SerializeUninstallLog(SampleLog());
  for (uint32_t length : {291u, 293u, 0u, 0xFFFFFFFFu}) {
    std::string bytes = good;
    SetInt32At(bytes, 0, length);
    EXPECT_NE(Refusal(bytes).find("header length"), std::string::npos);
  }
  std::string magic = good;
  magic[10] = 'x';
  EXPECT_NE(Refusal(magic).find("magic"), std::string::npos);
  std::string unterminated_magic = good;
  std::memset(unterminated_magic.data() + 4, 'Z', 28);
  Refusal(unterminated_magic);

  std::string version2 = good;
  SetInt32At(version2, 32, 0x40000000);  // 2.0
  EXPECT_NE(Refusal(version2).find("newer version"), std::string::npos);
  std::string version_half = good;
  SetInt32At(version_half, 32, 0x3F000000);  // 0.5 is older, and read
  EXPECT_TRUE(ParseUninstallLog(version_half, nullptr).has_value());

  std::string unterminated_name = good;
  std::memset(unterminated_name.data() + 40, 'n', 256);
  EXPECT_NE(Refusal(unterminated_name).find("name"), std::string::npos);
}

TEST(UninstallLogFormat, CountsAndLengthsThatTheFileCannotBackAreRefused) {
  const std::string good = SerializeUninstallLog(SampleLog());
  std::string negative = good;
  SetInt32At(negative, 36, 0xFFFFFFFF);
  EXPECT_NE(Refusal(negative).find("negative"), std::string::npos);
  // Two billion entries in a file of a few hundred bytes: refused before anything is reserved.
  std::string huge_count = good;
  SetInt32At(huge_count, 36, 0x7FFFFFFF);
  EXPECT_NE(Refusal(huge_count).find("too short"), std::string::npos);
  std::string one_more = good;
  SetInt32At(one_more, 36, 6);
  Refusal(one_more);

  std::string huge_text = good;
  SetInt32At(huge_text, 300, 0x7FFFFFF0);  // a text of two gigabytes
  EXPECT_NE(Refusal(huge_text).find("claims 2147483632 bytes"), std::string::npos);
  std::string negative_text = good;
  SetInt32At(negative_text, 300, 0x80000000);
  EXPECT_NE(Refusal(negative_text).find("negative length"), std::string::npos);

  // Every cut of a valid log short of its last byte is refused; bytes after the entries are not
  // part of the log.
  for (size_t size = 0; size < good.size(); ++size) Refusal(good.substr(0, size));
  const std::optional<UninstallLog> extended = ParseUninstallLog(good + "trailing", nullptr);
  ASSERT_TRUE(extended.has_value());
  EXPECT_EQ(*extended, SampleLog());
}

TEST(UninstallLogFormat, FilesThatCannotBeReadAreRefused) {
  ombrix::test::PrivateHome home;
  std::string reason;
  EXPECT_FALSE(ReadUninstallLog(home.Path("missing.Nui"), &reason).has_value());
  EXPECT_EQ(reason, "the file cannot be read");
  ombrix::test::WriteTextFile(home.Path("empty.Nui"), "");
  EXPECT_FALSE(ReadUninstallLog(home.Path("empty.Nui"), &reason).has_value());
  EXPECT_FALSE(ReadUninstallLog(home.Root(), &reason).has_value());  // a folder
}

}  // namespace
