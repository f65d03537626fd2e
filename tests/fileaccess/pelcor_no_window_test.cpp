// The selection window of the file-access library in a program without windows: no handler is
// exported, so the call fails at once with every output emptied.
#include <cstring>

#include "tests/fileaccess/pelcor_test_support.h"

namespace {

using PelcorWithoutWindows = pelcor_test::PelcorFolder;

TEST_F(PelcorWithoutWindows, SelectFileFailsWithEveryOutputEmptied) {
  char directory[PELCOR_MAX_PATH] = "/start", name[PELCOR_MAX_PATH] = "pic", extension[PELCOR_MAX_PATH] = "bmp",
       path[PELCOR_MAX_PATH] = "old";
  EXPECT_FALSE(bWF_SelectFile(nullptr, directory, "Bitmaps\n*.bmp\n", name, "Open", extension, 0x20, path));
  for (const char* output : {directory, name, extension, path}) EXPECT_STREQ(output, "");
  EXPECT_EQ(lWF_GetLastError(), 0);
  // Null outputs are skipped.
  EXPECT_FALSE(bWF_SelectFile(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr));
  EXPECT_EQ(pelcor_test::ReadBytes(dir_ + "/XDG_STATE_HOME/zorvex/resfile.err"), "");
}

}  // namespace
