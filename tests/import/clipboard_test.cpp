// Clipboard store: formats as files, emptying, the lock, and who may own the directory.
#include "core/platform/clipboard.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/import/import_test_support.h"

namespace {

using ombrix::platform::Clipboard;
using ombrix::platform::ClipboardDirectory;
using ombrix::platform::kClipboardDib;

class ClipboardStore : public import_test::ImportTest {};

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST_F(ClipboardStore, FormatsAreSetReadReplacedAndEmptiedTogether) {
  Clipboard clipboard;
  ASSERT_TRUE(clipboard.Open());
  EXPECT_EQ(ClipboardDirectory(), clipboard_dir_);
  EXPECT_FALSE(clipboard.Get(kClipboardDib).has_value());
  ASSERT_TRUE(clipboard.Set(kClipboardDib, "first", 5));
  ASSERT_TRUE(clipboard.Set(kClipboardDib, "second", 6));
  ASSERT_TRUE(clipboard.Set("OmbrixTemporaryClipboard", "mine", 4));
  ASSERT_TRUE(clipboard.Set("Empty", nullptr, 0));
  EXPECT_EQ(clipboard.Get(kClipboardDib), Bytes("second"));
  EXPECT_EQ(clipboard.Get("OmbrixTemporaryClipboard"), Bytes("mine"));
  EXPECT_EQ(clipboard.Get("Empty"), Bytes(""));
  EXPECT_TRUE(Clipboard::HasFormat("OmbrixTemporaryClipboard"));

  // Files of our own survive emptying; every format goes.
  const std::string private_file = ombrix::platform::CreatePrivateFile("report");
  ASSERT_FALSE(private_file.empty());
  EXPECT_EQ(private_file.rfind(clipboard_dir_ + "/.report-", 0), 0u);
  ASSERT_TRUE(clipboard.Empty());
  EXPECT_FALSE(Clipboard::HasFormat(kClipboardDib));
  EXPECT_FALSE(Clipboard::HasFormat("OmbrixTemporaryClipboard"));
  EXPECT_FALSE(clipboard.Get("Empty").has_value());
  EXPECT_TRUE(import_test::ReadBytes(private_file).empty());
  struct stat st {};
  ASSERT_EQ(stat(private_file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  ASSERT_TRUE(clipboard.Set("x", "1", 1));
  EXPECT_TRUE(clipboard.Remove("x"));
  EXPECT_TRUE(clipboard.Remove("x"));
  EXPECT_FALSE(Clipboard::HasFormat("x"));
}

TEST_F(ClipboardStore, ClosedClipboardAndForeignNamesAreRefused) {
  Clipboard clipboard;
  EXPECT_FALSE(clipboard.Set(kClipboardDib, "a", 1));
  EXPECT_FALSE(clipboard.Get(kClipboardDib).has_value());
  EXPECT_FALSE(clipboard.Empty());
  ASSERT_TRUE(clipboard.Open());
  for (const char* name : {"", ".lock", "../outside", "a/b", "a\\b"}) {
    EXPECT_FALSE(clipboard.Set(name, "a", 1)) << name;
    EXPECT_FALSE(clipboard.Get(name).has_value()) << name;
  }
  EXPECT_FALSE(clipboard.Set(std::string(256, 'n').c_str(), "a", 1));
  EXPECT_TRUE(clipboard.Set(std::string(255, 'n').c_str(), "a", 1));
  EXPECT_FALSE(import_test::ReadBytes(dir_ + "/outside").size());
  clipboard.Close();
  EXPECT_FALSE(clipboard.Set(kClipboardDib, "a", 1));
}

TEST_F(ClipboardStore, OnlyOneHolderAtATime) {
  Clipboard first, second;
  ASSERT_TRUE(first.Open());
  EXPECT_FALSE(second.Open());
  first.Close();
  EXPECT_TRUE(second.Open());
  {
    Clipboard scoped;
    EXPECT_FALSE(scoped.Open());
    second.Close();
    EXPECT_TRUE(scoped.Open());
  }
  EXPECT_TRUE(first.Open());  // the scoped holder let go when it ended
}

TEST_F(ClipboardStore, DirectoryMustBePrivateAndOurs) {
  // Made with mode 0700, together with missing parents.
  const std::string nested = dir_ + "/a/b/store";
  setenv("OMBRIX_CLIPBOARD_DIR", nested.c_str(), 1);
  EXPECT_EQ(ClipboardDirectory(), nested);
  struct stat st {};
  ASSERT_EQ(stat(nested.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // An open directory of ours is closed up.
  ASSERT_EQ(chmod(nested.c_str(), 0755), 0);
  EXPECT_EQ(ClipboardDirectory(), nested);
  ASSERT_EQ(stat(nested.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // A link, a plain file or somebody else's directory is not used.
  const std::string link = dir_ + "/link";
  ASSERT_EQ(symlink(nested.c_str(), link.c_str()), 0);
  setenv("OMBRIX_CLIPBOARD_DIR", link.c_str(), 1);
  EXPECT_EQ(ClipboardDirectory(), "");
  Clipboard clipboard;
  EXPECT_FALSE(clipboard.Open());
  EXPECT_TRUE(ombrix::platform::CreatePrivateFile("report").empty());

  const std::string file = dir_ + "/file";
  ASSERT_TRUE(import_test::WriteBytes(file, std::string("x")));
  setenv("OMBRIX_CLIPBOARD_DIR", file.c_str(), 1);
  EXPECT_EQ(ClipboardDirectory(), "");

  if (geteuid() == 0) {
    const std::string foreign = dir_ + "/foreign";
    ASSERT_EQ(mkdir(foreign.c_str(), 0700), 0);
    ASSERT_EQ(chown(foreign.c_str(), 4321, 4321), 0);
    setenv("OMBRIX_CLIPBOARD_DIR", foreign.c_str(), 1);
    EXPECT_EQ(ClipboardDirectory(), "");
  }

  // Without a chosen directory the store lives in the runtime directory.
  unsetenv("OMBRIX_CLIPBOARD_DIR");
  const std::string runtime = dir_ + "/runtime";
  ASSERT_EQ(mkdir(runtime.c_str(), 0700), 0);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  EXPECT_EQ(ClipboardDirectory(), runtime + "/zorvex-clipboard");
}

}  // namespace
