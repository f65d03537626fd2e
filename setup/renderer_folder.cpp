// The renderer's folder and its search.
#include "setup/renderer_folder.h"

#include <algorithm>

#include "core/platform/directory_entries.h"
#include "core/platform/environment.h"
#include "core/platform/files.h"
#include "core/platform/paths.h"
#include "core/text/ascii.h"

namespace ombrix::setup {
namespace {

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(text::AsciiLower(a[i]));
    const auto y = static_cast<unsigned char>(text::AsciiLower(b[i]));
    if (x != y) return x < y;
  }
  return a.size() < b.size() || (a.size() == b.size() && a < b);
}

bool HoldsConfigFile(const std::string& folder) {
  const std::string found = platform::FindEntryIgnoringCase(folder, kRendererConfigFile);
  return !found.empty() && !platform::IsDirectory(found);
}

// True when the search is over: found (result set) or stopped.
bool Search(const std::string& folder, int depth, const SearchProgress& progress, std::string& result) {
  if (progress && !progress(folder)) return true;
  platform::OneFileSystemListing listing = platform::ListOnOneFileSystem(folder);
  for (const std::string& name : listing.files) {
    if (text::EqualsIgnoringCase(name, kRendererConfigFile)) {
      result = folder;
      return true;
    }
  }
  if (depth >= kMaxSearchDepth) return false;
  std::sort(listing.subdirectories.begin(), listing.subdirectories.end(), LessIgnoringCase);
  for (const std::string& name : listing.subdirectories) {
    if (name.starts_with('.')) continue;
    if (Search(platform::JoinPath(folder, name), depth + 1, progress, result)) return true;
  }
  return false;
}

}  // namespace

std::optional<std::string> AcceptRendererFolder(const std::string& folder) {
  if (folder.empty()) return std::nullopt;
  if (HoldsConfigFile(folder)) return folder;
  const std::string programs = platform::FindEntryIgnoringCase(folder, "Programs");
  // The folder as it is spelled, so that the path names it on a file system that tells cases apart.
  if (!programs.empty() && HoldsConfigFile(programs)) return programs;
  return std::nullopt;
}

std::vector<std::string> RendererSearchRoots() {
  std::vector<std::string> roots;
  const std::string home = platform::GetEnvironment("HOME");
  if (!home.empty()) roots.push_back(home);
  roots.push_back("/opt");
  roots.push_back("/usr/local");
  return roots;
}

std::string FindRendererFolder(const std::vector<std::string>& roots, const SearchProgress& progress) {
  for (const std::string& root : roots) {
    if (!platform::DirectoryExists(root.c_str())) continue;
    std::string result;
    if (Search(root, 0, progress, result)) return result;
  }
  return {};
}

}  // namespace ombrix::setup
