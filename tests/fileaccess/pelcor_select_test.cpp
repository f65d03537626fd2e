// The selection window of the file-access library, answered by a scripted handler that this
// test program exports the way a GUI program does: the request built from the call, the
// outputs of a chosen path, cancel and failure.
#include <cstring>
#include <string>

#include "core/platform/file_select.h"
#include "tests/fileaccess/pelcor_test_support.h"

namespace {

// What the scripted window answers, and what it was asked.
struct Script {
  int32_t answer = 1;  // 1 chosen, 0 cancelled or failed
  int32_t error = 0;
  std::string chosen;
  int calls = 0;
  int32_t options = 0;
  int32_t filter_index = 0;
  std::string title, directory, filter, initial_name;
  int32_t notify_message = 0;
  bool notify_buffer = false;
} g_script;

std::string Pairs(const char* filter) {
  if (filter == nullptr) return "(none)";
  size_t length = 0;
  while (filter[length] != '\0' || filter[length + 1] != '\0') ++length;
  return std::string(filter, length + 2);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int32_t Ombrix_File_Select_Handler(
    const OmbrixFileSelectRequest* request, char* chosen, int32_t size, int32_t* error) {
  Script& s = g_script;
  ++s.calls;
  s.options = request->options;
  s.filter_index = request->filter_index;
  s.title = request->title != nullptr ? request->title : "(null)";
  s.directory = request->directory != nullptr ? request->directory : "(null)";
  s.filter = Pairs(request->filter);
  s.initial_name = request->initial_name != nullptr ? request->initial_name : "(null)";
  s.notify_message = request->notify_message;
  s.notify_buffer = request->notify_buffer != nullptr && request->notify_buffer_size == 260;
  *error = s.error;
  if (s.answer == 1) std::snprintf(chosen, size_t(size), "%s", s.chosen.c_str());
  return s.answer;
}

namespace {

using pelcor_test::PelcorFolder;
using pelcor_test::ReadBytes;

constexpr const char* kFilter = "Texts (*.txt)\n*.txt\nBitmaps (*.bmp)\n*.dib;*.BMP\nAll files\n*.*\n";

class PelcorSelect : public PelcorFolder {
 protected:
  void SetUp() override {
    PelcorFolder::SetUp();
    g_script = Script{};
    std::strcpy(directory_, "/start");
    std::strcpy(name_, "first");
    std::strcpy(extension_, "bmp");
    std::strcpy(path_, "old");
  }
  PelcorBool Select(uint32_t flags, const char* filter = kFilter) {
    return bWF_SelectFile("Caller", directory_, filter, name_, "Choose", extension_, flags, path_);
  }
  void ExpectEmptied() {
    EXPECT_STREQ(directory_, "");
    EXPECT_STREQ(name_, "");
    EXPECT_STREQ(extension_, "");
    EXPECT_STREQ(path_, "");
  }
  char directory_[PELCOR_MAX_PATH], name_[PELCOR_MAX_PATH], extension_[PELCOR_MAX_PATH], path_[PELCOR_MAX_PATH];
};

TEST_F(PelcorSelect, TheAcceptedPathFillsEveryOutput) {
  g_script.chosen = "/pictures/pic.bmp";
  ASSERT_TRUE(Select(0));
  EXPECT_STREQ(path_, "/pictures/pic.bmp");
  EXPECT_STREQ(directory_, "/pictures");
  EXPECT_STREQ(name_, "pic");
  EXPECT_STREQ(extension_, "bmp");
  EXPECT_EQ(lWF_GetLastError(), 0);

  ASSERT_TRUE(Select(0x20));
  EXPECT_STREQ(path_, "pic.bmp");
  ASSERT_TRUE(Select(0x10));
  EXPECT_STREQ(path_, "pic");

  g_script.chosen = "/top.d/archive.tar.gz";
  ASSERT_TRUE(Select(0));
  EXPECT_STREQ(name_, "archive.tar");
  EXPECT_STREQ(extension_, "gz");
  g_script.chosen = "/.profile";
  ASSERT_TRUE(Select(0x20));
  EXPECT_STREQ(directory_, "/");
  EXPECT_STREQ(extension_, "");
  EXPECT_STREQ(path_, ".profile.");
}

TEST_F(PelcorSelect, TheRequestFollowsTheCall) {
  g_script.chosen = "/x";
  MakeDir("real");
  std::strcpy(name_, (dir_ + "/real/kept.bmp").c_str());
  ASSERT_TRUE(Select(0));
  EXPECT_EQ(g_script.title, "Choose");
  EXPECT_EQ(g_script.directory, "/start");
  EXPECT_EQ(g_script.initial_name, dir_ + "/real/kept.bmp");
  static const char kPairs[] = "Texts (*.txt)\0*.txt\0Bitmaps (*.bmp)\0*.dib;*.BMP\0All files\0*.*\0";
  EXPECT_EQ(g_script.filter, std::string(kPairs, sizeof kPairs));
  EXPECT_EQ(g_script.filter_index, 2);  // ".BMP" ends its list: letter case is ignored
  EXPECT_EQ(g_script.options, kFileSelectHideReadOnly | kFileSelectKeepDirectory | kFileSelectPathMustExist);
  EXPECT_EQ(g_script.notify_message, 0);

  // A name in a folder that does not exist keeps only its last part; no extension in any
  // list gives the first pair.
  std::strcpy(name_, "/no/such/folder\\name.png");
  std::strcpy(extension_, "png");
  ASSERT_TRUE(Select(0x04, "One\n*.one;*.png2\nTwo\n*.two"));
  EXPECT_EQ(g_script.initial_name, "name.png");
  EXPECT_EQ(g_script.filter_index, 1);
  static const char kShortPairs[] = "One\0*.one;*.png2\0Two\0*.two\0";
  EXPECT_EQ(g_script.filter, std::string(kShortPairs, sizeof kShortPairs));
  EXPECT_EQ(g_script.options,
            kFileSelectHideReadOnly | kFileSelectKeepDirectory | kFileSelectPathMustExist | kFileSelectAskOverwrite);

  std::strcpy(extension_, "two");
  ASSERT_TRUE(Select(0x02 | 0x04 | 0x01 | 0x08, "One\n*.one;*.png2\nTwo\n*.two"));
  EXPECT_EQ(g_script.filter_index, 2);  // the last list may end without a line feed
  EXPECT_EQ(g_script.options, kFileSelectHideReadOnly | kFileSelectKeepDirectory | kFileSelectFileMustExist |
                                  kFileSelectSave | kFileSelectNotifyChanges);
  EXPECT_EQ(g_script.notify_message, PELCOR_SELECTION_MESSAGE);
  EXPECT_TRUE(g_script.notify_buffer);
  ASSERT_TRUE(Select(0x02, nullptr));
  EXPECT_EQ(g_script.filter, "(none)");
  EXPECT_EQ(g_script.options, kFileSelectHideReadOnly | kFileSelectKeepDirectory);
}

TEST_F(PelcorSelect, CancelAndFailureEmptyEveryOutput) {
  g_script.answer = 0;
  EXPECT_FALSE(Select(0));
  ExpectEmptied();
  EXPECT_EQ(lWF_GetLastError(), 0);
  const std::string log = dir_ + "/XDG_STATE_HOME/zorvex/resfile.err";
  EXPECT_EQ(ReadBytes(log), "");

  // A failing window is noted in the user's state folder, one line each time.
  g_script.error = 12291;
  std::strcpy(path_, "old");
  EXPECT_FALSE(Select(0));
  ExpectEmptied();
  EXPECT_EQ(lWF_GetLastError(), 12291);
  EXPECT_FALSE(Select(0));
  EXPECT_EQ(ReadBytes(log), "Erreur s\xE9lecteur de fichier 12291\nErreur s\xE9lecteur de fichier 12291\n");

  // A result that does not fit the caller's buffers is refused whole.
  g_script = Script{};
  g_script.chosen = "/" + std::string(300, 'n') + ".bmp";
  EXPECT_FALSE(Select(0x20));
  ExpectEmptied();
  EXPECT_EQ(lWF_GetLastError(), PELCOR_ERROR_FILENAME_TOO_LONG);
}

}  // namespace
