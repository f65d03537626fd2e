// The sweep: every filter of every staged filter module, with its default parameters, over the
// whole of the generated test picture, compared with a stored digest of the result. The module
// is loaded afresh for each filter, so the random filters start from seed 1.
//
// After an intended change of a filter's result, regenerate the stored digests with
//   OMBRIX_UPDATE_DIGESTS=1 build/release/tests/pic/pic_sweep_test
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/digest_file.h"
#include "tests/support/test_host.h"

namespace {

using namespace ombrix::testing;

const char* const kDigestFile = OMBRIX_SOURCE_DIR "/tests/pic/sweep_digests.txt";

std::unique_ptr<Picture> TestPicture() {
  const std::string path = std::string(OMBRIX_STAGE_DIR) + "/Images/Back.Bmp";
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  auto picture = std::make_unique<Picture>();
  // A bitmap file is a 14-byte file header followed by the packed bitmap.
  if (bytes.size() <= 14 || picture->LoadDib(bytes.data() + 14, bytes.size() - 14) == 0) return nullptr;
  return picture;
}

TEST(Sweep, EveryFilterWithItsDefaultsMatchesItsStoredDigest) {
  auto picture = TestPicture();
  ASSERT_NE(picture, nullptr) << "cannot read the generated test picture Images/Back.Bmp";
  std::vector<std::string> modules;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(OMBRIX_STAGE_DIR) + "/Plugins"))
    if (entry.path().extension() == ".Omp") modules.push_back(entry.path().filename().string());
  std::sort(modules.begin(), modules.end());
  ASSERT_FALSE(modules.empty());

  std::map<std::string, std::string> computed;
  for (const std::string& module : modules) {
    std::vector<std::string> filters;
    {
      TestHost host(module);
      ASSERT_TRUE(host.Loaded()) << host.Error();
      for (int i = 0; i < host.Catalogue().Count(); ++i) filters.emplace_back(host.Catalogue().At(i)->name);
    }
    for (const std::string& filter : filters) {
      TestHost host(module);  // a fresh load: the generator starts at seed 1
      const Outcome out = host.Apply(filter, *picture);
      computed[DigestKey({module, filter})] = ResultDigest(out.result, *out.work);
    }
  }

  ExpectDigests(kDigestFile,
                "module|filter|apply result and digest of WORK after the filter with its defaults on Images/Back.Bmp",
                computed);
}

}  // namespace
