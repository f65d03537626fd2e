// A private folder for a test that touches the user's files: a fresh folder under the test
// output, with HOME, the XDG folders and the registry pointing into it, removed again at the end.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace test_support {

class PrivateFolder {
 public:
  explicit PrivateFolder(const std::string& prefix) {
    std::string pattern = std::string(OMBRIX_TEST_OUTPUT_DIR) + "/" + prefix + ".XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make " << pattern;
    path_ = pattern;
    for (const char* name : {"HOME", "XDG_STATE_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
      setenv(name, (path_ + "/" + name).c_str(), 1);
    setenv("OMBRIX_REGISTRY_DIR", (path_ + "/registry").c_str(), 1);
  }
  ~PrivateFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace test_support
