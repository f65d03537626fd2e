// Stored digests of filter results: a digest of a picture's pixels and the text files that keep
// "key|result digest" lines, for the tests that pin every filter's bytes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

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

}  // namespace ombrix::testing
