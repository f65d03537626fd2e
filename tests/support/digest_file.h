// Stored digests of filter results: a digest of a picture's pixels and the text files that keep
// "key|result digest" lines, for the tests that pin every filter's bytes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/picture/picture.h"

namespace ombrix::testing {

// FNV-1a over the pixel bytes of every row, top row first.
inline std::string PictureDigest(const Picture& picture) {
  uint64_t hash = 1469598103934665603ull;
  for (int y = 0; y < picture.Height(); ++y) {
    const uint8_t* row = picture.Row(y);
    for (int i = 0; i < 3 * picture.Width(); ++i) hash = (hash ^ row[i]) * 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// The stored form of one filter result: the apply result and the digest of WORK.
inline std::string ResultDigest(int32_t result, const Picture& work) {
  std::string text = std::to_string(result);
  text += ' ';
  text += PictureDigest(work);
  return text;
}

// A key of a digest file: its parts joined with bars ("ZvPic.Omp|Twirl|defaults").
inline std::string DigestKey(std::initializer_list<std::string_view> parts) {
  std::string key;
  for (const std::string_view part : parts) {
    if (!key.empty()) key += '|';
    key += part;
  }
  return key;
}

// "key" -> "value" from the lines "key|value"; the key is everything before the last bar.
// Blank lines and lines starting with '#' are skipped; a missing file gives nothing.
inline std::map<std::string, std::string> ReadDigestFile(const char* path) {
  std::map<std::string, std::string> digests;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) {
    const size_t bar = line.rfind('|');
    if (!line.empty() && line[0] != '#' && bar != std::string::npos)
      digests[line.substr(0, bar)] = line.substr(bar + 1);
  }
  return digests;
}

// OMBRIX_UPDATE_DIGESTS=1 asks the digest tests to write their files instead of comparing.
inline bool UpdatingDigests() {
  const char* update = std::getenv("OMBRIX_UPDATE_DIGESTS");
  return update != nullptr && std::string(update) == "1";
}

inline void WriteDigestFile(const char* path, const std::string& heading,
                            const std::map<std::string, std::string>& digests) {
  std::ofstream file(path, std::ios::trunc);
  file << "# " << heading << "\n";
  for (const auto& [key, value] : digests) file << key << "|" << value << "\n";
}

// Every digest test ends here: the computed "key -> result" must equal the stored file exactly.
// A key the file lacks, a key only the file has, another result, and a missing or empty file
// each fail the test (the first few of each kind are listed). With OMBRIX_UPDATE_DIGESTS=1 the
// file is written from the computed results instead and the test is skipped.
inline void ExpectDigests(const char* path, const std::string& heading,
                          const std::map<std::string, std::string>& computed) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string hint =
      std::string("\nIf the change is intended, rerun with OMBRIX_UPDATE_DIGESTS=1") +
      (test != nullptr ? std::string(" --gtest_filter=") + test->test_suite_name() + "." + test->name()
                       : std::string()) +
      " and commit " + path;
  if (UpdatingDigests()) {
    WriteDigestFile(path, heading, computed);
    GTEST_SKIP() << "digests written to " << path;
  }
  ASSERT_FALSE(computed.empty()) << "the test computed no digests";
  const std::map<std::string, std::string> stored = ReadDigestFile(path);
  ASSERT_FALSE(stored.empty()) << "no digests in " << path << hint;

  constexpr size_t kListed = 20;
  std::vector<std::string> missing, extra, differing;
  for (const auto& [key, value] : computed) {
    const auto found = stored.find(key);
    if (found == stored.end()) {
      missing.push_back(key + " (" + value + ")");
    } else if (found->second != value) {
      differing.push_back(key + ": " + value + ", stored " + found->second);
    }
  }
  for (const auto& [key, value] : stored)
    if (computed.count(key) == 0) extra.push_back(key);
  const auto report = [&](const std::vector<std::string>& lines, const char* what) {
    if (lines.empty()) return;
    std::string text = std::to_string(lines.size()) + " " + what + ":";
    for (size_t i = 0; i < lines.size() && i < kListed; ++i) text += "\n  " + lines[i];
    if (lines.size() > kListed) text += "\n  ...";
    ADD_FAILURE() << text << hint;
  };
  report(missing, "results without a stored digest");
  report(extra, "stored digests of nothing the test computed");
  report(differing, "results other than stored");
}

}  // namespace ombrix::testing
