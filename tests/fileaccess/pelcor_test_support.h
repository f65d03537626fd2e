// A private folder for each test of the file-access library (HOME, XDG_* and the registry point
// into it), a fixed time zone, and the module started with a table of eight handles.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "fileaccess/pelcor.h"
#include "tests/support/private_folder.h"

namespace pelcor_test {

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::string& path, const std::string& data) {
  std::ofstream(path, std::ios::binary) << data;
}

// Whether the folder's file system keeps the extended attribute that holds system and archive.
inline bool TakesExtendedAttributes(const std::string& folder) {
  const std::string probe = folder + "/.xattr-probe";
  WriteBytes(probe, "");
  const bool taken = setxattr(probe.c_str(), "user.zorvex.probe", "1", 1, 0) == 0;
  unlink(probe.c_str());
  return taken;
}

class PelcorFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    cwd_ = cwd;
    ASSERT_TRUE(bWF_InitModule(8));
  }
  void TearDown() override {
    while (WF_FinModule() > 0) {
    }
    bWF_ShareCompat(0);
    ASSERT_EQ(chdir(cwd_.c_str()), 0);
  }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::string MakeFile(const std::string& name, const std::string& data = "") const {
    WriteBytes(Path(name), data);
    return Path(name);
  }
  std::string MakeDir(const std::string& name) const {
    EXPECT_EQ(mkdir(Path(name).c_str(), 0777), 0);
    return Path(name);
  }
  // Opens or creates and expects success; returns the handle.
  uint16_t Open(const std::string& path, uint16_t mode) {
    uint16_t handle = 0;
    EXPECT_TRUE(bWF_CreateFile(path.c_str(), mode, &handle)) << path << " error " << lWF_GetLastError();
    return handle;
  }

  test_support::PrivateFolder folder_{"pelcor"};
  const std::string& dir_ = folder_.path();
  std::string cwd_;
};

}  // namespace pelcor_test
